// The main window: the state the program's parts share, and the handlers that wire them together:
// the query, the clock, the files, the tray icon and the server list (Win32).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "shell/dialog_base.h"
#include "shell/message_loop.h"
#include "shell/tray_icon.h"
#include "store/server_list_codec.h"
#include "store/server_list_file.h"
#include "sync/server_query.h"
#include "ui/log_rows.h"
#include "ui/sync_schedule.h"

constexpr UINT_PTR SYNC_TIMER_ID = 3524;
constexpr UINT kSyncTimerPeriodMs = 1000;
// After a resume from sleep the network needs a moment before a synchronisation can reach a server.
constexpr UINT_PTR RESUME_TIMER_ID = 3526;
constexpr UINT kResumeDelayMs = 10000;
// The log list keeps the newest rows only; the log file keeps them all.
constexpr int kMaxLogRows = 1000;

class MainDialog final : public CDialogBase, public CMessagePreFilter, public CIdleTask {
public:
    // Builds the settings path; the window comes later.
    explicit MainDialog(bool autoMode = false);
    ~MainDialog();  // ends a query still under way
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                       DWORD mapId) override;
    bool FilterMessage(MSG* message) override;  // the platform's dialog keys for this window
    bool RunIdleTask() override;

    // The schedule: one step per timer tick, the round robin, and the 同期 button.
    void TimerTick();
    bool SelectNextServer();
    void SyncSelectedServer();
    // A round: the next ticked server, and the next after each that fails to answer.
    void StartRound();
    // What a due timer synchronisation does: a round, and the interval counted from now.
    void RunDueSynchronisation();

    // One query to the current server; how it ends becomes a log row (in automatic mode, the end of
    // the program). AskServer makes a server current and asks it, as the schedule does.
    void StartQuery();
    void EndQuery();
    void AskServer(const std::string& name, const std::string& address);

    // Appends a row to the log list; the newest row is selected and in view.
    void AddLogRow(const char* server, const char* serverTime, const char* localTime, const char* status);

    // The exit command: stops the timer, removes the tray icon, saves both files, ends the loop.
    void CloseMainDialog(int exitCode);
    bool SaveServerList(const std::string& path);

    // What the start-up routine, the benchmarks and the tests look at.
    bool AutoMode() const { return m_autoMode; }
    int Interval() const { return m_nInterval; }
    int Offset() const { return m_nOffset; }
    UINT TaskbarCreatedMessage() const { return m_uTaskbarCreated; }
    const ServerQuery& Query() const { return m_query; }
    const ServerRow& CurrentServer() const { return m_currentServer; }
    const std::string& ServerFilePath() const { return m_serverFilePath; }
    ScheduleState& Schedule() { return m_schedule; }

private:
    // Messages, each handed to one handler.
    BOOL OnInitDialog();
    void OnSize(WPARAM kind);
    void OnTaskbarCreated();
    void OnTrayIcon(LPARAM mouseMessage);
    bool OnCommand(WORD id, WORD code);  // whether the command was this window's
    bool OnNotify(const NMHDR* header);
    void OnPowerBroadcast(WPARAM event);
    void OnEndSession(bool ending);
    // What the exit command and the end of the session share: the timer, the query and the tray
    // icon stopped, both files written.
    void StopAndSave();
    void OnResumeTimer();
    void RestoreFromTray();
    void OnLookupDone(HANDLE lookup, int error);
    void OnSocketEvent(SOCKET socket, int event, int error);
    void OnNumberEditChange(HWND edit, int minimum, int maximum, int* value);
    void OnNumberEditFocus(WORD id);

    // Set-up steps.
    void SetUpServerList();
    void SetUpLogList();
    void SetUpNumberEdits();
    void SetUpTrayIcon();

    // A query's end: a row, or the clock set from the server's time.
    void OnQueryTimer();
    void FinishQuery(QueryStatus status);
    void ReportFailure(QueryStatus status);
    void AskRound();
    void EndRoundUnanswered();
    void ApplyServerTime(const ServerAnswer& answer);
    void AddLogRow(const LogRow& row);
    // The row's line in "horavo.log", and the tray tip; also for automatic mode, which has no rows.
    void RecordSynchronisation(const LogRow& row);
    void EndAutomaticMode(int exitCode);

    // Keeps a numeric edit's text a number within its range.
    void NormalizeNumberEdit(HWND edit, int minimum, int maximum);

    // The two files.
    void LoadSettings();
    void SaveSettings();
    bool BuildServerDataPath();
    bool LoadServerList(const std::string& path);
    // A row as asked and saved: the bytes it was read with, unless it was edited.
    ServerRow ServerRowAt(int index) const;
    // The check boxes of the server list, row by row.
    std::vector<bool> TickedRows() const;

    // The server list's commands.
    void AddServer();
    void EditServer();
    void DeleteServer();
    void MoveServerUp();
    void MoveServerDown();
    void SwapServerRows(int selected, int neighbour);

    const bool m_autoMode;
    std::string m_settingsPath;
    std::string m_serverFilePath;
    ServerListFileState m_serverListState = ServerListFileState::Missing;
    bool m_keepServerListBackup = false;  // the file had lines this run could not read
    std::vector<ServerRow> m_keptRows;     // as read; a list row's key is its index here plus one
    std::string m_logFilePath;  // empty: no log file
    int m_logFileSetting = 1;   // SETTING/LOGFILE as read, written back at exit
    bool m_resumePending = false;
    ServerQuery m_query;
    ServerRow m_currentServer{};  // the server of the query under way or last asked
    ScheduleState m_schedule;
    SyncRound m_round;
    UINT m_uTaskbarCreated = 0;
    int m_nInterval = 0;  // minutes, 0..360; always the parsed text of its edit
    int m_nOffset = 0;    // seconds, -360..360; likewise
    HWND m_serverList = nullptr;
    HWND m_logList = nullptr;
    HWND m_offsetEdit = nullptr;
    HWND m_intervalEdit = nullptr;
    HWND m_minimizeCheck = nullptr;
    HWND m_syncAtStartCheck = nullptr;
    CTrayIcon m_trayIcon;
};
