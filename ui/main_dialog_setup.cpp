// Set-up of the main window at WM_INITDIALOG, step by step (Win32).
#include "main_dialog.h"

#include "res/resource.h"
#include "shell/app_module.h"
#include "shell/centre_window.h"
#include "ui/server_list_view.h"

namespace {

HICON LoadProgramIcon(int id, int widthMetric, int heightMetric)
{
    return static_cast<HICON>(LoadImageA(g_module.m_hInstResource, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                         LR_DEFAULTCOLOR));
}

void InsertColumn(HWND list, int index, const char* title, int width)
{
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(title);
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

// What is left of a list's width beside a vertical scroll bar and its two 3-D edges.
int WidthBesideScrollBar(HWND list)
{
    RECT outer;
    GetWindowRect(list, &outer);
    return (outer.right - outer.left) - GetSystemMetrics(SM_CXVSCROLL) - 2 * GetSystemMetrics(SM_CXEDGE);
}

}  // namespace

BOOL MainDialog::OnInitDialog()
{
    // 1. Centred on the work area; the main window has no owner.
    CentreWindow(m_hWnd, nullptr);

    // 2. The program icon, large and small.
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadProgramIcon(IDI_PROGRAM, SM_CXICON, SM_CYICON)));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadProgramIcon(IDI_PROGRAM, SM_CXSMICON, SM_CYSMICON)));

    // 3. The thread's loop gives this window its dialog keys.
    if (CMessageLoop* loop = g_module.GetMessageLoop(GetCurrentThreadId())) {
        loop->AddPreFilter(this);
        loop->AddIdleTask(this);
    }

    // 4.-7. The server list: check boxes, its visible name column and hidden address column, the file.
    m_serverList = GetDlgItem(m_hWnd, IDC_SERVER_LIST);
    SendMessageA(m_serverList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    InsertColumn(m_serverList, 0, "サーバ", WidthBesideScrollBar(m_serverList));
    InsertColumn(m_serverList, 1, "アドレス", 0);
    BuildServerDataPath();
    LoadServerList(m_szServerFile);
    if (ServerRowCount(m_serverList) > 0) {
        SelectServerRow(m_serverList, 0);
    }

    // 8. The log list and its four columns; the status column takes the rest of the width.
    m_logList = GetDlgItem(m_hWnd, IDC_LOG_LIST);
    SendMessageA(m_logList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    InsertColumn(m_logList, 0, "接続先", 160);
    InsertColumn(m_logList, 1, "サーバ時刻情報", 155);
    InsertColumn(m_logList, 2, "ローカル時刻情報", 155);
    InsertColumn(m_logList, 3, "ステータス", WidthBesideScrollBar(m_logList) - 470);

    // 9. The log list's small image. The list owns the image list; the icon is copied into it.
    m_logImages = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR8, 2, 1);
    ImageList_SetBkColor(m_logImages, RGB(255, 255, 255));
    if (HICON logIcon = LoadProgramIcon(IDI_LOG_ROW, SM_CXSMICON, SM_CYSMICON)) {
        ImageList_ReplaceIcon(m_logImages, -1, logIcon);
        DestroyIcon(logIcon);
    }
    SendMessageA(m_logList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_logImages));

    // 10. The numeric edits and their spins; the handles must be in place before the settings arrive.
    m_offsetEdit = GetDlgItem(m_hWnd, IDC_OFFSET_EDIT);
    m_intervalEdit = GetDlgItem(m_hWnd, IDC_INTERVAL_EDIT);
    m_offsetSpin = GetDlgItem(m_hWnd, IDC_OFFSET_SPIN);
    m_intervalSpin = GetDlgItem(m_hWnd, IDC_INTERVAL_SPIN);
    SendMessageA(m_offsetSpin, UDM_SETRANGE, 0, MAKELPARAM(360, -360));
    SendMessageA(m_intervalSpin, UDM_SETRANGE, 0, MAKELPARAM(360, 0));

    // 11. The interval counts from now.
    m_dwLastSyncTick = GetTickCount();
    m_minimizeCheck = GetDlgItem(m_hWnd, IDC_MINIMIZE_CHECK);
    m_syncAtStartCheck = GetDlgItem(m_hWnd, IDC_SYNC_AT_START_CHECK);

    // 12. The settings; writing the edits parses and clamps the interval and the offset.
    LoadSettings();

    // 13. Automatic mode synchronises at the first tick and stays out of sight; otherwise the tray
    // icon, and again whenever the taskbar is made anew.
    if (m_bAutoMode) {
        m_bSyncPending = true;
    } else {
        m_trayIcon.Add(m_hWnd, g_module.m_hInstResource, WM_TRAYICON);
        m_uTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
        AllowTrayMessages(m_hWnd, m_uTaskbarCreated);
    }

    // 14.-15. Rotation from the top, and the one-second timer.
    m_nNextServer = 0;
    SetTimer(m_hWnd, SYNC_TIMER_ID, kSyncTimerPeriodMs, nullptr);

    // 16. The dialog manager focuses the first control that takes it: the server list.
    return TRUE;
}
