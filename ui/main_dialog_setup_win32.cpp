// Set-up of the main window at WM_INITDIALOG, step by step (Win32).
#include "main_dialog_win32.h"

#include "res/resource.h"
#include "res/texts.h"
#include "shell/app_module_win32.h"
#include "shell/centre_window_win32.h"
#include "shell/window_dpi_win32.h"
#include "ui/server_list_view_win32.h"

namespace {

// The window's icons live as long as the process: shared, so a second request costs nothing.
HICON LoadProgramIcon(int widthMetric, int heightMetric)
{
    return static_cast<HICON>(LoadImageA(g_module.m_hInstResource, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                         LR_DEFAULTCOLOR | LR_SHARED));
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

// A column wide enough for its widest expected text under the list's own font, whatever the DPI: the
// list pads each cell by a few pixels on both sides.
int ColumnWidthFor(HWND list, const char* widestText, const char* title)
{
    const int padding = 2 * ScaleForWindow(list, 8);
    const int text = static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(widestText)));
    const int heading =
        static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(title)));
    return (text > heading ? text : heading) + padding;
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
    // Centred on the work area; the main window has no owner.
    CentreWindow(m_hWnd, nullptr);
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadProgramIcon(SM_CXICON, SM_CYICON)));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadProgramIcon(SM_CXSMICON, SM_CYSMICON)));
    // The thread's loop gives this window its dialog keys.
    if (CMessageLoop* loop = g_module.GetMessageLoop(GetCurrentThreadId())) {
        loop->AddPreFilter(this);
        loop->AddIdleTask(this);
    }

    SetUpServerList();
    SetUpLogList();
    SetUpNumberEdits();
    // The interval counts from now.
    m_schedule.lastSyncTick = GetTickCount();
    m_minimizeCheck = GetDlgItem(m_hWnd, IDC_MINIMIZE_CHECK);
    m_syncAtStartCheck = GetDlgItem(m_hWnd, IDC_SYNC_AT_START_CHECK);
    m_consensusCheck = GetDlgItem(m_hWnd, IDC_CONSENSUS_CHECK);
    // Writing the edits parses and clamps the interval and the offset.
    LoadSettings();

    // Automatic mode synchronises at the first tick and stays out of sight.
    if (m_autoMode) {
        m_schedule.syncPending = true;
        m_schedule.oneRound = true;
    } else {
        SetUpTrayIcon();
        SetUpSystemMenu();
        // The service's line, when one is installed: asked now, then as the window goes on.
        m_serviceLine.Attach(GetDlgItem(m_hWnd, IDC_SERVICE_LINE), m_hWnd, WM_SERVICESTATUS);
        m_serviceLine.Refresh();
    }
    m_schedule.nextServer = 0;
    SetTimer(m_hWnd, SYNC_TIMER_ID, kSyncTimerPeriodMs, nullptr);
    // The dialog manager focuses the first control that takes it: the server list.
    return TRUE;
}

void MainDialog::SetUpServerList()
{
    // Check boxes, the visible name column and the hidden address column, then the file's rows.
    m_serverList = GetDlgItem(m_hWnd, IDC_SERVER_LIST);
    SendMessageA(m_serverList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    AttachServerListControl(m_serverList);
    InsertColumn(m_serverList, 0, texts::kColumnServer, WidthBesideScrollBar(m_serverList));
    InsertColumn(m_serverList, 1, texts::kColumnAddress, 0);
    LoadServerList();
    SelectServerRow(m_serverList, 0);
}

void MainDialog::SetUpLogList()
{
    // Five columns: the times, the status and the correction as wide as their texts under the list's
    // font at this DPI, the server's name the rest of the width.
    m_logList = GetDlgItem(m_hWnd, IDC_LOG_LIST);
    SendMessageA(m_logList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    const int timeWidth = ColumnWidthFor(m_logList, texts::kWidestTimeText, texts::kColumnLocalTime);
    const int statusWidth = ColumnWidthFor(m_logList, texts::kWidestStatusText, texts::kColumnStatus);
    const int correctionWidth = ColumnWidthFor(m_logList, texts::kWidestCorrectionText, texts::kColumnCorrection);
    const int rest = WidthBesideScrollBar(m_logList) - 2 * timeWidth - statusWidth - correctionWidth;
    const int minimumNameWidth = ColumnWidthFor(m_logList, texts::kColumnProvider, texts::kColumnProvider);
    InsertColumn(m_logList, 0, texts::kColumnProvider, rest > minimumNameWidth ? rest : minimumNameWidth);
    InsertColumn(m_logList, 1, texts::kColumnServerTime, timeWidth);
    InsertColumn(m_logList, 2, texts::kColumnLocalTime, timeWidth);
    InsertColumn(m_logList, 3, texts::kColumnStatus, statusWidth);
    InsertColumn(m_logList, 4, texts::kColumnCorrection, correctionWidth);

    // The small image. The list owns the image list; the icon is copied into it.
    HIMAGELIST images = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR8, 2, 1);
    ImageList_SetBkColor(images, RGB(255, 255, 255));
    if (auto logIcon = static_cast<HICON>(LoadImageA(g_module.m_hInstResource, MAKEINTRESOURCEA(IDI_LOG_ROW),
                                                     IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR))) {
        ImageList_ReplaceIcon(images, -1, logIcon);
        DestroyIcon(logIcon);
    }
    SendMessageA(m_logList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

void MainDialog::SetUpNumberEdits()
{
    // The handles must be in place before the settings arrive, or their texts go unparsed.
    m_offsetEdit = GetDlgItem(m_hWnd, IDC_OFFSET_EDIT);
    m_intervalEdit = GetDlgItem(m_hWnd, IDC_INTERVAL_EDIT);
    SendDlgItemMessageA(m_hWnd, IDC_OFFSET_SPIN, UDM_SETRANGE, 0, MAKELPARAM(360, -360));
    SendDlgItemMessageA(m_hWnd, IDC_INTERVAL_SPIN, UDM_SETRANGE, 0, MAKELPARAM(360, 0));
}

void MainDialog::SetUpSystemMenu()
{
    // The service is installed from the window once, through its system menu.
    if (HMENU menu = GetSystemMenu(m_hWnd, FALSE)) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, IDM_INSTALL_SERVICE, texts::kMenuInstallService);
        AppendMenuA(menu, MF_STRING, IDM_UNINSTALL_SERVICE, texts::kMenuUninstallService);
    }
}

void MainDialog::SetUpTrayIcon()
{
    // Added again whenever the taskbar is made anew.
    m_trayIcon.Add(m_hWnd, g_module.m_hInstResource, WM_TRAYICON);
    m_uTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    AllowTrayMessages(m_hWnd, m_uTaskbarCreated);
}
