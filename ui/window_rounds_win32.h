// The main window's rounds: which servers a round asks (the rotation over the ticked rows, or the
// row the 同期 button asks), the 同期 button while it runs, the question before a large correction,
// the round's rows and end, and the time service asked when the clock may not be set here (Win32).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "round/log_rows.h"
#include "round/sync_host_win32.h"
#include "round/sync_schedule.h"
#include "servers/server_list_pane_win32.h"

// What the rounds need of the window they run in.
class RoundWindow {
public:
    virtual RoundRules RulesNow(bool userStarted) const = 0;
    // The log list, "horavo.log" and the tray tip.
    virtual void AddLogRow(const LogRow& row) = 0;
    virtual void WriteHeldLogLines() = 0;
    // Normal mode after a round: the tray's word, and the first 権限エラー explained.
    virtual void TellRoundEnd(RoundOutcome outcome, bool lacksRight) = 0;
    virtual void EndAutomaticMode(AutomaticEnd why) = 0;

protected:
    ~RoundWindow() = default;
};

class WindowRounds final : private RoundLog, private StepConfirmer {
public:
    WindowRounds(RoundWindow& window, ScheduleState& schedule, const ServerListPane& servers, bool autoMode);
    WindowRounds(const WindowRounds&) = delete;
    WindowRounds& operator=(const WindowRounds&) = delete;

    // The dialog: the step question's owner, the 同期 button's, and the time service's answers' window.
    void Attach(HWND dialog);

    // A due round: the ticked rows from the rotation cursor on, each once, the interval counted from
    // now. One the user started (the tray's 今すぐ同期) asks before a large correction.
    void RunDue(bool userStarted);
    // The rotation alone: the next ticked server made current and the cursor moved past it.
    bool SelectNextServer();
    // The selected row alone: a failure asks no other, and the rotation is left as it is.
    void SyncSelected();
    void AskServer(const std::string& name, const std::string& address);
    // Ends a round under way without a result.
    void Stop() { m_sync.Stop(); }
    bool Running() const { return m_sync.Running(); }

    // The time service's answer came in, or none can come.
    void OnServiceAnswer();
    // The elevated install command ended well: the service does the user's round.
    void AskServiceAfterInstall();

    // The row of the user's last round; -1: the ticked servers.
    int UserRoundRow() const { return m_userRoundRow; }
    bool UserStarted() const { return m_userStarted; }
    const SyncHost& Sync() const { return m_sync; }
    const ServerRow& CurrentServer() const { return m_currentServer; }

private:
    void StartRound(std::vector<RoundServer> servers, bool movesCursor, bool userStarted);
    void ShowAsking(bool asking);
    void AddServiceSilentRow();
    void OnAsking(const RoundServer& server) override;
    void AddRow(const LogRow& row) override;
    void OnRoundEnded(const RoundResult& result) override;
    bool ConfirmStep(const LargeStep& step) override;

    RoundWindow& m_window;
    ScheduleState& m_schedule;
    const ServerListPane& m_servers;
    const bool m_autoMode;
    HWND m_dialog = nullptr;
    std::string m_syncButtonText;  // the 同期 button's own words, back after 問い合わせ中...
    bool m_movesCursor = false;    // a round of the rotation, not of the 同期 button
    bool m_userStarted = false;    // the round under way was started by the user
    int m_userRoundRow = -1;
    bool m_askingService = false;     // a request to the time service is under way
    bool m_serviceStandsBy = false;   // the time service ran when this round began: it takes a refusal over
    ServerRow m_currentServer{};      // the server of the round's query under way or last asked
    SyncHost m_sync;
};
