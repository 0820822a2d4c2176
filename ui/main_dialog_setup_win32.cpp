// Set-up of the main window at WM_INITDIALOG, step by step (Win32).
#include "main_dialog_win32.h"

#include "res/resource.h"
#include "res/texts.h"
#include "shell/app_module_win32.h"
#include "shell/centre_window_win32.h"
#include "shell/window_dpi_win32.h"
#include "server_list_view_win32.h"

#include <initializer_list>

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

int TextWidth(HWND list, const char* text)
{
    return static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
}

// A column wide enough for the widest of its texts and its title under the list's own font, whatever
// the DPI: the list pads each cell by a few pixels on both sides, and a row's picture takes its own.
int ColumnWidthFor(HWND list, std::initializer_list<const char*> texts, const char* title, int picture = 0)
{
    int widest = TextWidth(list, title);
    for (const char* text : texts) {
        const int width = TextWidth(list, text) + picture;
        widest = width > widest ? width : widest;
    }
    return widest + 2 * ScaleForWindow(list, 8);
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
    char syncText[64] = "";
    GetDlgItemTextA(m_hWnd, IDC_SYNC, syncText, sizeof syncText);
    m_syncButtonText = syncText;
    // Writing the edits parses and clamps the interval and the offset.
    LoadSettings();
    // At the size it was left at, centred on the work area; the main window has no owner.
    SetUpLayout();
    OpenAtStoredSize();
    FitColumns();
    CentreWindow(m_hWnd, nullptr);

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

void MainDialog::FitColumns()
{
    // The name columns take the width the others leave, and never less than the longest name (the
    // list then scrolls sideways); the rest are as wide as their widest text.
    int widestName = 0;
    for (int row = 0; row < m_servers.Count(); ++row) {
        const int width = TextWidth(m_serverList, m_servers.Row(row).name.c_str());
        widestName = width > widestName ? width : widestName;
    }
    const int padding = 2 * ScaleForWindow(m_serverList, 8);
    const int checkBox = GetSystemMetrics(SM_CXSMICON) + ScaleForWindow(m_serverList, 4);
    const int serverRest = WidthBesideScrollBar(m_serverList);
    const int serverName = widestName + checkBox + padding;
    SendMessageA(m_serverList, LVM_SETCOLUMNWIDTH, 0, serverName > serverRest ? serverName : serverRest);

    const int picture = ScaleForWindow(m_logList, 16 + 4);
    const int timeWidth = ColumnWidthFor(m_logList, {texts::kWidestTimeText}, texts::kColumnLocalTime);
    const int statusWidth =
        ColumnWidthFor(m_logList,
                       {texts::kStatusSynced, texts::kStatusSyncedNts, texts::kStatusNoRight, texts::kStatusError,
                        texts::kStatusHeld, texts::kStatusDisagreed, texts::kStatusUnconfirmed, texts::kStatusAgreed},
                       texts::kColumnStatus);
    const int correctionWidth = ColumnWidthFor(m_logList, {texts::kWidestCorrectionText}, texts::kColumnCorrection);
    const int rest = WidthBesideScrollBar(m_logList) - 2 * timeWidth - statusWidth - correctionWidth;
    const int logName = widestName + picture + 2 * ScaleForWindow(m_logList, 8);
    const int minimumName = ColumnWidthFor(m_logList, {}, texts::kColumnProvider, picture);
    int nameWidth = rest > minimumName ? rest : minimumName;
    nameWidth = logName > nameWidth ? logName : nameWidth;
    const int widths[] = {nameWidth, timeWidth, timeWidth, statusWidth, correctionWidth};
    for (int column = 0; column < 5; ++column) {
        SendMessageA(m_logList, LVM_SETCOLUMNWIDTH, column, widths[column]);
    }
}

void MainDialog::SetUpLogList()
{
    // Five columns, sized by FitColumns: the times, the status and the correction as wide as their
    // texts under the list's font at this DPI, the server's name the rest of the width.
    m_logList = GetDlgItem(m_hWnd, IDC_LOG_LIST);
    SendMessageA(m_logList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    InsertColumn(m_logList, 0, texts::kColumnProvider, 0);
    InsertColumn(m_logList, 1, texts::kColumnServerTime, 0);
    InsertColumn(m_logList, 2, texts::kColumnLocalTime, 0);
    InsertColumn(m_logList, 3, texts::kColumnStatus, 0);
    InsertColumn(m_logList, 4, texts::kColumnCorrection, 0);

    // The rows' two pictures at the list's DPI, in the order of kLogImageSet and kLogImageTrouble: a
    // failure carries the tray's warning mark. The list owns the image list; the icons are copied.
    const int size = ScaleForWindow(m_logList, 16);
    HIMAGELIST images = ImageList_Create(size, size, ILC_MASK | ILC_COLOR32, 2, 1);
    for (const int icon : {IDI_LOG_ROW, IDI_TRAY_TROUBLE}) {
        if (auto loaded = static_cast<HICON>(LoadImageA(g_module.m_hInstResource, MAKEINTRESOURCEA(icon), IMAGE_ICON,
                                                        size, size, LR_DEFAULTCOLOR))) {
            ImageList_ReplaceIcon(images, -1, loaded);
            DestroyIcon(loaded);
        }
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
        // The service keeps its own copy of the list and settings; this hands it the window's.
        AppendMenuA(menu, MF_STRING, IDM_UPDATE_SERVICE, texts::kMenuUpdateService);
        AppendMenuA(menu, MF_STRING, IDM_UNINSTALL_SERVICE, texts::kMenuUninstallService);
        // 今後表示しない is undone here, not only in the INI.
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING | (m_rightsNoticeSetting != "0" ? MF_CHECKED : MF_UNCHECKED), IDM_RIGHTS_NOTICE,
                    texts::kMenuRightsNotice);
    }
}

void MainDialog::SetUpTrayIcon()
{
    // Added again whenever the taskbar is made anew.
    m_trayIcon.Add(m_hWnd, g_module.m_hInstResource, WM_TRAYICON);
    m_uTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    AllowTrayMessages(m_hWnd, m_uTaskbarCreated);
}
