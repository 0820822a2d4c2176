// The main window: the state every part of the program shares, its set-up and its message map (Win32).
#pragma once

#include <windows.h>
#include <winsock.h>
#include <commctrl.h>

#include "shell/dialog_base.h"
#include "shell/message_loop.h"
#include "shell/tray_icon.h"

#include "sync/calendar_time.h"

constexpr UINT_PTR SYNC_TIMER_ID = 3524;
constexpr UINT kSyncTimerPeriodMs = 1000;

// The socket layer's two reports to the main window.
constexpr UINT WM_LOOKUPDONE = 3124;   // wParam: the lookup handle; high word of lParam: the error
constexpr UINT WM_SOCKETEVENT = 3224;  // wParam: the socket; lParam: the event, and the error above it

class MainDialog final : public CDialogBase, public CMessagePreFilter, public CIdleTask {
public:
    MainDialog();  // builds m_szIniFile; the window comes later
    ~MainDialog();  // ends a query still under way

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                       DWORD mapId) override;
    bool FilterMessage(MSG* message) override;  // the platform's dialog keys for this window
    bool RunIdleTask() override;

    // Set-up, at WM_INITDIALOG.
    BOOL OnInitDialog();
    // Keeps a numeric edit's text a number within its range.
    void NormalizeNumberEdit(HWND edit, int minimum, int maximum);
    // Exit command: saves both files, destroys the window, ends the loop with the exit code.
    void CloseMainDialog(int exitCode);

    // Settings file.
    void LoadSettings();
    void SaveSettings();
    // The server list's commands.
    void AddServer();
    void EditServer();
    void DeleteServer();
    void MoveServerUp();
    void MoveServerDown();

    // The schedule: one step per timer tick, the round robin, and the 同期 button.
    void TimerTick();
    bool SelectNextServer();
    void SyncSelectedServer();

    // One query to the server in m_szServerName / m_szServerAddr.
    void StartQuery();
    void SendRequest();
    void ReceiveReply();
    void EndQuery();
    void OnLookupDone(HANDLE lookup, int error);
    void OnSocketEvent(SOCKET socket, int event, int error);

    // Setting the clock, and the log row of every outcome.
    void ApplyServerTime(const CalendarTime& corrected);
    void AddLogRow(const char* server, const char* serverTime, const char* localTime, const char* status);

    // Server list file.
    bool BuildServerDataPath();
    bool LoadServerList(const char* path);
    bool SaveServerList(const char* path);

    // Members, in this order.
    SOCKET m_socket = INVALID_SOCKET;
    ULONG m_ipAddr = 0;
    int m_nPort = 0;
    sockaddr_in m_sockAddr{};
    char m_szServerFile[256] = "";
    char m_szServerAddr[512] = "";
    char m_szServerName[512] = "";
    int m_nNextServer = 0;
    bool m_bSyncPending = false;
    bool m_bAutoMode = false;
    UINT m_uTaskbarCreated = 0;
    DWORD m_dwLastSyncTick = 0;
    int m_nInterval = 0;
    int m_nOffset = 0;
    char m_hostEnt[MAXGETHOSTSTRUCT] = {};
    HANDLE m_hLookup = nullptr;
    HWND m_serverList = nullptr;
    HWND m_logList = nullptr;
    HIMAGELIST m_logImages = nullptr;
    HWND m_offsetEdit = nullptr;
    HWND m_intervalEdit = nullptr;
    HWND m_offsetSpin = nullptr;
    HWND m_intervalSpin = nullptr;
    HWND m_minimizeCheck = nullptr;
    HWND m_syncAtStartCheck = nullptr;
    char m_szIniFile[260] = "";
    CTrayIcon m_trayIcon;

private:
    void OnNumberEditChange(HWND edit, int minimum, int maximum, int* value);
    void SwapServerRows(int selected, int neighbour);
};
