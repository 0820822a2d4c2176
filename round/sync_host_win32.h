// The synchronisation engine on a message-only window (Win32): it carries the queries' socket,
// lookup and timer messages, so a round runs with or without a dialog: in the main window, in
// automatic mode and in the service alike. The round's course is SyncRound's; this is the glue.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "query/server_query_win32.h"
#include "sync_round.h"

// Asks the user about a correction larger than the step limit; only rounds the user started ask.
class StepConfirmer {
public:
    virtual bool ConfirmStep(const LargeStep& step) = 0;

protected:
    ~StepConfirmer() = default;
};

class SyncHost : private RoundQueries, private RoundClock {
public:
    // Without a confirmer nobody is asked, and a large correction waits for a second server.
    explicit SyncHost(RoundLog& log, StepConfirmer* confirmer = nullptr)
        : m_confirmer(confirmer), m_round(*this, *this, log)
    {
    }
    ~SyncHost();
    SyncHost(const SyncHost&) = delete;
    SyncHost& operator=(const SyncHost&) = delete;

    // Ends a round under way without a word and starts this one; its rows and its end go to the log.
    void StartRound(std::vector<RoundServer> servers, const RoundRules& rules);
    // Ends the round under way without a result.
    void Stop() { m_round.Stop(); }
    bool Running() const { return m_round.Running(); }

    // The window the socket layer reports to: made at the first round, so a program that never
    // synchronises never makes it.
    HWND Window() const { return m_window; }
    // The query of the first slot, the only one a round of one server at a time uses.
    const ServerQuery& Query() const { return Slot(0); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void MakeWindow();
    ServerQuery& Slot(int slot) const;

    QueryStatus StartQuery(int slot, const std::string& address) override;
    void EndQuery(int slot) override { Slot(slot).End(); }
    QueryResult CutQuery(int slot) override { return Slot(slot).Cut(); }
    void StartRoundWait(unsigned milliseconds) override { m_roundWait.Start(m_window, milliseconds); }
    void StopRoundWait() override { m_roundWait.Stop(); }
    AppliedTime SetClockFrom(const ServerAnswer& answer, int32_t offsetSeconds) override;
    AppliedTime ReadClockFor(const ServerAnswer& answer, int32_t offsetSeconds) override;
    bool ConfirmStep(const LargeStep& step) override;

    HWND m_window = nullptr;
    WindowWait m_roundWait{ROUND_TIMER_ID};
    StepConfirmer* m_confirmer;
    mutable std::array<std::unique_ptr<ServerQuery>, kMaxServersTogether> m_queries;
    mutable RoundRequests m_requests;  // every slot's, so a server under two names is asked no more often
    int m_samples = kDefaultSamples;
    SyncRound m_round;
};
