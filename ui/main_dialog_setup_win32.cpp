// Set-up of the main window at WM_INITDIALOG, step by step (Win32).
#include "main_dialog_win32.h"

#include <commctrl.h>

#include "res/message_ids.h"
#include "res/resource.h"
#include "res/texts.h"
#include "shell/app_module_win32.h"
#include "shell/centre_window_win32.h"
#include "base/program_path.h"
#include "store/file_locations.h"
#include "list_columns_win32.h"

namespace {

// The window's icons live as long as the process: shared, so a second request costs nothing.
HICON LoadProgramIcon(int widthMetric, int heightMetric)
{
    return static_cast<HICON>(LoadImageA(g_module.m_hInstResource, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                         LR_DEFAULTCOLOR | LR_SHARED));
}

}  // namespace

BOOL MainDialog::OnInitDialog()
{
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadProgramIcon(SM_CXICON, SM_CYICON)));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadProgramIcon(SM_CXSMICON, SM_CYSMICON)));
    // The thread's loop gives this window its dialog keys.
    if (CMessageLoop* loop = g_module.GetMessageLoop(GetCurrentThreadId())) {
        loop->AddPreFilter(this);
    }

    SetUpServerList();
    m_log.Attach(GetDlgItem(m_hWnd, IDC_LOG_LIST));
    m_rounds.Attach(m_hWnd);
    // Writing the edits parses and clamps the interval and the offset.
    m_settings.Attach(m_hWnd);
    m_settings.Load();
    m_log.SetFilePath(m_settings.WritesLogFile() ? LogFilePathFor(m_settings.Path(), IsAnsiLeadByte) : std::string());
    m_schedule.syncPending = m_settings.SyncsAtStart();
    // The interval counts from now.
    m_schedule.lastSyncTick = GetTickCount();
    // At the size it was left at, centred on the work area; the main window has no owner.
    m_layout.Attach(m_hWnd, m_servers.Control(), m_log.Control(), m_settings.Path());
    m_layout.OpenAtStoredSize();
    FitColumns();
    CentreWindow(m_hWnd, nullptr);

    // Automatic mode synchronises at the first tick and stays out of sight.
    if (m_autoMode) {
        m_schedule.syncPending = true;
        m_schedule.oneRound = true;
    } else {
        m_tray.Add(m_hWnd, g_module.m_hInstResource);
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
    HWND list = GetDlgItem(m_hWnd, IDC_SERVER_LIST);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    InsertListColumn(list, 0, texts::kColumnServer, WidthBesideScrollBar(list));
    InsertListColumn(list, 1, texts::kColumnAddress, 0);
    m_servers.Attach(m_hWnd, list, [this] { FitColumns(); });
}

void MainDialog::FitColumns()
{
    FitMainWindowColumns(m_servers.Control(), m_log.Control(), m_servers.Servers());
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
        AppendMenuA(menu, MF_STRING | (m_settings.ExplainsMissingRight() ? MF_CHECKED : MF_UNCHECKED),
                    IDM_RIGHTS_NOTICE, texts::kMenuRightsNotice);
    }
}
