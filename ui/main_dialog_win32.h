// The main window: its panes (the server list, the settings, the log), its rounds and its tray icon
// put together, and the messages that reach them (Win32).
#pragma once

#include <windows.h>

#include <string>

#include "round/sync_schedule.h"
#include "service/service_line_win32.h"
#include "servers/server_list_pane_win32.h"
#include "shell/dialog_base_win32.h"
#include "shell/message_loop_win32.h"
#include "tray/main_tray_win32.h"
#include "rights/elevated_command_win32.h"
#include "log_pane_win32.h"
#include "main_window_layout_win32.h"
#include "settings_pane_win32.h"
#include "unsaved_files.h"
#include "window_rounds_win32.h"

class MainDialog final : public CDialogBase, public CMessagePreFilter, private RoundWindow {
public:
    // Builds the settings path; the window comes later.
    explicit MainDialog(bool autoMode = false);
    ~MainDialog();  // ends a round still under way
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                       DWORD mapId) override;
    bool FilterMessage(MSG* message) override;  // the platform's dialog keys for this window

    // The schedule: one step per timer tick; a due synchronisation is WindowRounds::RunDue.
    void TimerTick();
    bool SelectNextServer() { return m_rounds.SelectNextServer(); }
    // A round of one server, as the 同期 button asks the selected row.
    void AskServer(const std::string& name, const std::string& address) { m_rounds.AskServer(name, address); }
    // The round of a window restarted as administrator: row's alone, or the ticked servers' (-1).
    void RetryRound(int row);

    // Appends a row to the log list (the newest selected and in view), horavo.log and the tray tip.
    void AddLogRow(const LogRow& row) override;

    // The exit command: stops the timer, removes the tray icon, saves both files, ends the loop. In
    // automatic mode it writes nothing and ends with kExitStopped.
    void CloseMainDialog(int exitCode);
    FileResult SaveServerList() { return m_servers.Save(); }

    // What the start-up routine, the benchmarks and the tests look at.
    bool AutoMode() const { return m_autoMode; }
    bool StartsMinimised() const { return m_settings.StartsMinimised(); }
    int Interval() const { return m_settings.Interval(); }
    int Offset() const { return m_settings.Offset(); }
    UINT TaskbarCreatedMessage() const { return m_tray.TaskbarCreatedMessage(); }
    bool FolderHoldsFiles() const { return m_servers.FolderHoldsFiles(); }
    const SyncHost& Sync() const { return m_rounds.Sync(); }
    const ServerQuery& Query() const { return m_rounds.Sync().Query(); }
    const ServerRow& CurrentServer() const { return m_rounds.CurrentServer(); }
    ScheduleState& Schedule() { return m_schedule; }

private:
    // Messages, each handed to one handler.
    BOOL OnInitDialog();
    bool OnCommand(WORD id, WORD code);  // whether the command was this window's
    bool OnSystemCommand(WPARAM command);
    // The program's own messages, and the two registered ones (the taskbar's, a second start's).
    bool OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnNotify(const NMHDR* header);
    bool OnKey(HWND focus, WPARAM key);  // a key with a meaning of its own here, before the dialog manager
    void OnSize(WPARAM kind);
    void OnTrayIcon(WPARAM wParam, LPARAM lParam);
    void OnPowerBroadcast(WPARAM event);
    void OnResumeTimer();
    void OnEndSession(bool ending);
    void RestoreFromTray();
    void FitColumns();
    void SetUpServerList();
    void SetUpSystemMenu();

    // What the rounds ask of the window.
    RoundRules RulesNow(bool userStarted) const override { return m_settings.Rules(userStarted); }
    void WriteHeldLogLines() override { m_log.WriteHeldLines(); }
    void TellRoundEnd(RoundOutcome outcome, bool lacksRight) override;
    void EndAutomaticMode(AutomaticEnd why) override;

    // The way past 権限エラー: the notice, and its remedies.
    void ExplainMissingRight();
    void SetExplainsMissingRight(bool explains);
    // The command in this program started elevated; watched, its end comes as WM_ELEVATEDENDED.
    bool RunElevated(const char* arguments, bool watched = false);  // false when it did not start
    void InstallServiceThenRetry();
    void OnElevatedEnded();
    void RestartElevated();

    // What the exit command and the end of the session share: the timer, the round and the tray
    // icon stopped, both files written; the files that could not be written and whose changes are lost.
    std::vector<UnsavedFile> StopAndSave();
    FileResult SaveSettings();  // the INI, and the window's size in it

    const bool m_autoMode;
    SettingsPane m_settings;
    ServerListPane m_servers;
    LogPane m_log;
    ScheduleState m_schedule;
    WindowRounds m_rounds;
    MainWindowLayout m_layout;
    MainTray m_tray;
    ServiceLine m_serviceLine;
    ElevatedCommand m_elevated;     // the install command the rights notice started
    bool m_rightsNoticeShown = false;  // once a run at most
    bool m_rightsNoticeOpen = false;   // no balloon while the notice is open
};
