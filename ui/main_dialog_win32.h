// The main window: the controls and the state the program's parts share, and the handlers that
// wire them together: the server list, the schedule, the synchronisation engine, the files and the
// tray icon (Win32).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "shell/dialog_base_win32.h"
#include "shell/message_loop_win32.h"
#include "tray/tray_icon_win32.h"
#include "store/server_list.h"
#include "store/server_list_file.h"
#include "store/settings.h"
#include "round/sync_host_win32.h"
#include "round/sync_schedule.h"
#include "service/service_line_win32.h"
#include "tray/tray_notice.h"
#include "unsaved_files.h"
#include "window_layout.h"

// The log list keeps the newest rows only; the log file keeps them all.
constexpr int kMaxLogRows = 1000;
// The log list's pictures: a set clock, and a row that did not set it.
constexpr int kLogImageSet = 0;
constexpr int kLogImageTrouble = 1;

class MainDialog final : public CDialogBase,
                         public CMessagePreFilter,
                         public CIdleTask,
                         private RoundLog,
                         private StepConfirmer {
public:
    // Builds the settings path; the window comes later.
    explicit MainDialog(bool autoMode = false);
    ~MainDialog();  // ends a round still under way
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                       DWORD mapId) override;
    bool FilterMessage(MSG* message) override;  // the platform's dialog keys for this window
    bool RunIdleTask() override;

    // The schedule: one step per timer tick, and what a due synchronisation does: a round over the
    // ticked servers from the rotation cursor, the interval counted from now. The tray's 今すぐ同期
    // is one the user started: a large correction is then the user's to confirm.
    void TimerTick();
    void RunDueSynchronisation(bool userStarted = false);
    // The rotation alone: makes the next ticked server current and moves the cursor past it.
    bool SelectNextServer();
    // A round of one server, as the 同期 button asks the selected row.
    void AskServer(const std::string& name, const std::string& address);
    // The round of a window restarted as administrator: row's alone, or the ticked servers' (-1).
    void RetryRound(int row);

    // Appends a row to the log list (the newest selected and in view), horavo.log and the tray tip.
    void AddLogRow(const LogRow& row);

    // The exit command: stops the timer, removes the tray icon, saves both files, ends the loop. In
    // automatic mode it writes nothing and ends with kExitStopped.
    void CloseMainDialog(int exitCode);
    FileResult SaveServerList();

    // What the start-up routine, the benchmarks and the tests look at.
    bool AutoMode() const { return m_autoMode; }
    int Interval() const { return m_nInterval; }
    int Offset() const { return m_nOffset; }
    UINT TaskbarCreatedMessage() const { return m_uTaskbarCreated; }
    bool FolderHoldsFiles() const { return m_folderHoldsFiles; }
    const SyncHost& Sync() const { return m_sync; }
    const ServerQuery& Query() const { return m_sync.Query(); }
    const ServerRow& CurrentServer() const { return m_currentServer; }
    const std::string& ServerFilePath() const { return m_serverFile.Path(); }
    ScheduleState& Schedule() { return m_schedule; }

private:
    // Messages, each handed to one handler.
    BOOL OnInitDialog();
    void OnSize(WPARAM kind);
    void OnTrayIcon(WPARAM wParam, LPARAM lParam);
    bool OnCommand(WORD id, WORD code);  // whether the command was this window's
    bool OnNotify(const NMHDR* header);
    void OnPowerBroadcast(WPARAM event);
    void OnResumeTimer();
    void OnEndSession(bool ending);
    void RestoreFromTray();
    void OnNumberEditChange(HWND edit, int minimum, int maximum, int* value);
    // A key the window gives a meaning of its own, before the dialog manager; whether it was one.
    bool OnKey(HWND focus, WPARAM key);
    void ApplyNumberEdit(HWND edit);  // the box shows the value it holds
    // Keeps a numeric edit's text a number within its range.
    void NormalizeNumberEdit(HWND edit, int minimum, int maximum);

    // Set-up steps.
    void SetUpServerList();
    void SetUpLogList();
    void SetUpNumberEdits();
    void SetUpTrayIcon();
    void SetUpSystemMenu();

    // The window's size: the controls' places in the template, following a new size, the minimum,
    // the size it opens at and the size kept in the INI; the columns fitted to the lists' widths.
    void SetUpLayout();
    void CaptureLayout();
    void OpenAtStoredSize();
    void OnDpiChanged(int dpi);  // before Windows scales the window to the new DPI
    void OnDpiScaled();          // after
    void FollowSize();
    void OnGetMinMaxInfo(MINMAXINFO* limits) const;
    WindowSize NormalSize() const;
    void SaveWindowSize() const;
    void FitColumns();

    // Synchronisation: the 同期 button, a round, and the round's course as the engine reports it.
    void SyncSelectedServer();
    void StartRound(std::vector<RoundServer> servers, bool movesCursor, bool userStarted);
    void ShowAsking(bool asking);  // the 同期 button while a round or the service's answer is awaited
    void OnAsking(const RoundServer& server) override;
    void AddRow(const LogRow& row) override;
    void AddServiceSilentRow();
    void OnRoundEnded(const RoundResult& result) override;
    // The time service's rows after the window's own setting was refused for lack of the right.
    void OnServiceAnswer();
    // The system menu's two items and the notice's remedies: the same program started elevated;
    // its process handle (INVALID_HANDLE_VALUE: started, without one), or null when it did not start
    // (declined, say).
    HANDLE StartElevated(const char* arguments);
    bool RunElevated(const char* arguments);  // false when it did not start
    void InstallServiceThenRetry();
    void OnElevatedEnded();
    void StopWaitingForElevated();
    bool ConfirmStep(const LargeStep& step) override;
    // The row's line in "horavo.log" (held while a round runs), and the tray tip.
    void RecordSynchronisation(const LogRow& row);
    void WriteLogLines();
    void EndAutomaticMode(AutomaticEnd why);
    // After a round in normal mode: the tray's icon and balloon, and the first 権限エラー explained.
    void TellRoundEnd(RoundOutcome outcome, bool lacksRight);
    void ExplainMissingRight();
    void ToggleRightsNotice();  // the system menu's check item
    void RestartElevated();

    // The two files, and what the exit command and the end of the session share: the timer, the
    // round and the tray icon stopped, both files written; the files that could not be written
    // and whose changes are lost.
    void LoadSettings();
    SavedSettings CurrentSettings() const;
    FileResult SaveSettings();
    void LoadServerList();
    std::vector<UnsavedFile> StopAndSave();

    // The server list's commands, each on the model first, then shown.
    void AddServer();
    void EditServer();
    void DeleteServer();
    void MoveServer(int direction);
    void OnServerListChanged(const NMLISTVIEW* change);

    const bool m_autoMode;
    std::string m_settingsPath;
    SavedSettings m_settingsAsRead{};  // what writing them at once would write
    bool m_folderHoldsFiles = true;    // the program's folder has room for its files' names
    ServerListFile m_serverFile;
    ServerList m_servers;
    std::string m_logFilePath;      // empty: no log file
    std::vector<std::string> m_unwrittenLogLines;
    std::string m_logFileSetting = "1";  // SETTING/LOGFILE as read, written back at exit
    std::string m_maxStepSetting = "900";  // SETTING/MAXSTEP likewise
    std::string m_samplesSetting = "4";    // SETTING/SAMPLES likewise
    std::string m_rightsNoticeSetting;     // SETTING/RIGHTSNOTICE likewise; "0": 今後表示しない
    bool m_rightsNoticeShown = false;      // once a run at most
    bool m_roundUserStarted = false;       // the round under way was started by the user
    int m_userRoundRow = -1;               // the row of the user's last round; -1: the ticked servers
    bool m_rightsNoticeOpen = false;       // no balloon while the notice is open
    HANDLE m_elevatedWait = nullptr;       // the wait for the elevated install command to end
    HANDLE m_elevatedProcess = nullptr;
    TrayNotices m_trayNotices;
    ScheduleState m_schedule;
    bool m_roundMovesCursor = false;  // a round of the rotation, not of the 同期 button
    bool m_askingService = false;     // a request to the time service is under way
    bool m_serviceStandsBy = false;   // the time service ran when this round began: it takes a refusal over
    ServerRow m_currentServer{};      // the server of the round's query under way or last asked
    SyncHost m_sync;
    UINT m_uTaskbarCreated = 0;
    int m_nInterval = 0;  // minutes, 0..360; always the parsed text of its edit
    int m_nOffset = 0;    // seconds, -360..360; likewise
    HWND m_serverList = nullptr;
    HWND m_logList = nullptr;
    HWND m_offsetEdit = nullptr;
    HWND m_intervalEdit = nullptr;
    HWND m_minimizeCheck = nullptr;
    HWND m_syncAtStartCheck = nullptr;
    HWND m_consensusCheck = nullptr;
    std::string m_syncButtonText;  // the 同期 button's own words, back after 問い合わせ中...
    CTrayIcon m_trayIcon;
    std::string m_ownTip = "Tempivo";  // the tip's part about the window's own rounds
    std::string m_lastSyncLine;        // its line about the last row, which a balloon opens with
    ServiceLine m_serviceLine;

    struct PlacedControl {
        HWND window;
        Box place;  // in the template's client area
        Anchor anchor;
    };
    std::vector<PlacedControl> m_layout;
    bool m_layoutReady = false;
    WindowSize m_templateClient{0, 0};
    WindowSize m_minimumSize{0, 0};  // the template's outer size, at the window's DPI
    WindowSize m_storedSize{0, 0};   // SETTING/WIDTH and HEIGHT as read (pixels at 96 DPI)
    WindowSize m_openedSize{0, 0};   // what the window opened at: a size unchanged is not written
    int m_layoutDpi = 96;            // the DPI the sizes above are at
};
