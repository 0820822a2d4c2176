// The synchronisation engine on a message-only window (Win32): it carries the query's socket and
// timer messages, so a round runs with or without a dialog: in the main window, in automatic mode
// and in the service alike. The round's course is SyncRound's; this is the glue.
#pragma once

#include <windows.h>

#include <vector>

#include "sync/server_query_win32.h"
#include "sync/sync_round.h"

class SyncHost : private RoundQuery, private RoundClock {
public:
    explicit SyncHost(RoundLog& log) : m_round(*this, *this, log) {}
    ~SyncHost();
    SyncHost(const SyncHost&) = delete;
    SyncHost& operator=(const SyncHost&) = delete;

    // Ends a round under way without a word and starts this one; its rows and its end go to the log.
    void StartRound(std::vector<RoundServer> servers, int32_t offsetSeconds);
    // Ends the round under way without a result.
    void Stop() { m_round.Stop(); }
    bool Running() const { return m_round.Running(); }

    // The window the socket layer reports to: made at the first round, so a program that never
    // synchronises never makes it.
    HWND Window() const { return m_window; }
    const ServerQuery& Query() const { return m_query; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void MakeWindow();

    QueryStatus StartQuery(const std::string& address) override;
    ServerAnswer QueryAnswer() const override { return m_query.Answer(); }
    void EndQuery() override { m_query.End(); }
    AppliedTime SetClockFrom(const ServerAnswer& answer, int32_t offsetSeconds) override;

    HWND m_window = nullptr;
    ServerQuery m_query;
    SyncRound m_round;
};
