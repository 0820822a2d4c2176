// The main window's message map: one switch that hands each message to one small handler (Win32).
#include "main_dialog_win32.h"

#include <imm.h>

#include "res/resource.h"
#include "res/texts.h"
#include "shell/about_dialog_win32.h"
#include "shell/app_module_win32.h"
#include "shell/help_engine_win32.h"
#include "shell/single_instance_win32.h"
#include "shell/trace.h"
#include "tray/tray_menu_win32.h"
#include "store/file_locations.h"
#include "base/program_path.h"
#include "store/settings_file.h"
#include "store/number_text.h"
#include "server_list_view_win32.h"

MainDialog::MainDialog(bool autoMode) : m_autoMode(autoMode), m_sync(*this, this)
{
    char path[260];
    BuildIniPath(path);
    m_settingsPath = path;
    m_folderHoldsFiles = FolderHoldsProgramFiles(ProgramFilePath().c_str(), IsAnsiLeadByte);
}

MainDialog::~MainDialog()
{
    StopWaitingForElevated();
    m_sync.Stop();
}

bool MainDialog::HandleMessage(HWND /*window*/, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                               DWORD mapId)
{
    *result = 0;
    if (mapId != 0) {
        Trace("Invalid message map ID (%i)\n", static_cast<int>(mapId));
        return false;
    }
    switch (message) {
    case WM_INITDIALOG:
        *result = OnInitDialog();
        return true;
    case WM_TIMER:
        if (wParam == RESUME_TIMER_ID) {
            OnResumeTimer();
        } else {
            TimerTick();
        }
        return true;
    case WM_POWERBROADCAST:
        OnPowerBroadcast(wParam);
        *result = TRUE;
        return true;
    case WM_QUERYENDSESSION:
        // Nothing to ask the user: the files are written when the session really ends.
        *result = TRUE;
        return true;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        return true;
    case WM_SIZE:
        OnSize(wParam);
        return true;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return true;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam));
        return false;  // the dialog manager scales the window and its controls
    case WM_DPISCALED:
        OnDpiScaled();
        return true;
    case WM_TRAYICON:
        OnTrayIcon(wParam, lParam);
        return true;
    case WM_SERVICEANSWER:
        OnServiceAnswer();
        return true;
    case WM_ELEVATEDENDED:
        OnElevatedEnded();
        return true;
    case WM_SERVICESTATUS:
        m_serviceLine.OnAnswer();
        m_trayIcon.SetTip(m_serviceLine.Tip(m_ownTip).c_str());
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_INSTALL_SERVICE || (wParam & 0xFFF0) == IDM_UPDATE_SERVICE) {
            RunElevated((wParam & 0xFFF0) == IDM_INSTALL_SERVICE ? "-install-service" : "-update-service");
            return true;
        }
        if ((wParam & 0xFFF0) == IDM_RIGHTS_NOTICE) {
            ToggleRightsNotice();
            return true;
        }
        if ((wParam & 0xFFF0) == IDM_UNINSTALL_SERVICE) {
            // Removing is not undone by a click: asked first, No the default.
            if (MessageBoxA(m_hWnd, texts::kUninstallQuestion, texts::kProgramName,
                            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES) {
                RunElevated("-uninstall-service");
            }
            return true;
        }
        return false;
    case WM_HELP:  // F1 anywhere in the window
        ShowHelp(m_hWnd);
        *result = TRUE;
        return true;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    default:
        // The registered message has no fixed number; 0 means it was never registered.
        if (m_uTaskbarCreated != 0 && message == m_uTaskbarCreated) {
            m_trayIcon.Add(m_hWnd, g_module.m_hInstResource, WM_TRAYICON);
            return true;
        }
        if (!m_autoMode && message == ShowInstanceMessage()) {  // the program was started again
            RestoreFromTray();
            return true;
        }
        return false;
    }
}

bool MainDialog::OnCommand(WORD id, WORD code)
{
    // Buttons count whatever their notification code; the edits only for these two.
    switch (id) {
    case IDC_ABOUT_BUTTON:
        ShowAbout();
        return true;
    case IDC_SYNC:
        SyncSelectedServer();
        return true;
    case IDC_MOVE_UP:
        MoveServer(-1);
        return true;
    case IDC_MOVE_DOWN:
        MoveServer(+1);
        return true;
    case IDC_ADD:
        AddServer();
        return true;
    case IDC_DELETE:
        DeleteServer();
        return true;
    case IDC_HELP_BUTTON:
        ShowHelp(m_hWnd);
        return true;
    case IDCANCEL:
    case IDM_TRAY_EXIT:
        CloseMainDialog(IDCANCEL);
        return true;
    case IDM_TRAY_SYNC:
        RunDueSynchronisation(true);
        return true;
    case IDM_TRAY_SHOW:
        RestoreFromTray();
        return true;
    case IDM_TRAY_HELP:
        ShowHelp(m_hWnd);
        return true;
    case IDM_TRAY_ABOUT:
        ShowAbout();
        return true;
    case IDC_OFFSET_EDIT:
    case IDC_INTERVAL_EDIT:
        if (code == EN_CHANGE) {
            if (id == IDC_OFFSET_EDIT) {
                OnNumberEditChange(m_offsetEdit, -360, 360, &m_nOffset);
            } else {
                OnNumberEditChange(m_intervalEdit, 0, 360, &m_nInterval);
            }
            return true;
        }
        if (code == EN_SETFOCUS) {
            // Numbers need no composition: keys go straight to the edit, even with the IME on.
            ImmAssociateContext(GetDlgItem(m_hWnd, id), nullptr);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool MainDialog::OnNotify(const NMHDR* header)
{
    if (header->hwndFrom == m_serverList && header->code == LVN_ITEMCHANGED) {
        OnServerListChanged(reinterpret_cast<const NMLISTVIEW*>(header));
        return true;
    }
    if (header->hwndFrom == m_serverList && header->code == LVN_KEYDOWN &&
        reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey == VK_DELETE) {
        DeleteServer();  // asks first, as the 削除 button does
        return true;
    }
    if (header->hwndFrom == m_serverList && header->code == LVN_GETDISPINFOA) {
        FillServerRow(reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header)), m_servers);
        return true;
    }
    if (header->code != static_cast<UINT>(NM_DBLCLK)) {
        return false;
    }
    // A double-click on the log list is handled too, by doing nothing.
    if (header->hwndFrom == m_serverList) {
        EditServer();
    }
    return true;
}

void MainDialog::ToggleRightsNotice()
{
    // Turned on again, it may come once more in this run too.
    const bool explains = m_rightsNoticeSetting == "0";
    m_rightsNoticeSetting = explains ? "1" : "0";
    if (explains) {
        m_rightsNoticeShown = false;
    }
    CheckMenuItem(GetSystemMenu(m_hWnd, FALSE), IDM_RIGHTS_NOTICE, MF_BYCOMMAND | (explains ? MF_CHECKED : MF_UNCHECKED));
}

void MainDialog::OnSize(WPARAM kind)
{
    // Minimised means gone into the tray: no taskbar button, only the icon.
    if (kind == SIZE_MINIMIZED) {
        ShowWindow(m_hWnd, SW_HIDE);
    } else {
        FollowSize();
    }
}

void MainDialog::OnTrayIcon(WPARAM wParam, LPARAM lParam)
{
    // The parameters' layout follows the version the shell took for the icon; tray/ decides.
    const bool version4 = m_trayIcon.SpeaksVersion4();
    const TrayEvent event = ReadTrayEvent(wParam, static_cast<std::uint64_t>(lParam), version4);
    switch (TrayActionFor(event, version4)) {
    case TrayAction::Restore:
        RestoreFromTray();
        break;
    case TrayAction::Menu:
        ShowTrayMenu(m_hWnd, g_module.m_hInstResource, event);
        break;
    case TrayAction::Nothing:
        break;
    }
}

void MainDialog::RestoreFromTray()
{
    ShowWindow(m_hWnd, SW_RESTORE);
    SetForegroundWindow(m_hWnd);
}

void MainDialog::OnPowerBroadcast(WPARAM event)
{
    // The clock drifted while the computer slept; a synchronisation is due once the network is
    // back, when the user synchronises automatically at all. Both resume notices may come for one
    // resume: the second finds one already due.
    if (event != PBT_APMRESUMESUSPEND && event != PBT_APMRESUMEAUTOMATIC) {
        return;
    }
    const bool synchronisesAutomatically =
        m_nInterval > 0 || SendMessageA(m_syncAtStartCheck, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (synchronisesAutomatically && !m_schedule.resumePending) {
        m_schedule.resumePending = true;
        SetTimer(m_hWnd, RESUME_TIMER_ID, kResumeDelayMs, nullptr);
    }
}

void MainDialog::OnResumeTimer()
{
    KillTimer(m_hWnd, RESUME_TIMER_ID);
    if (!m_schedule.resumePending) {
        return;
    }
    m_schedule.resumePending = false;
    RunDueSynchronisation();
}

void MainDialog::OnNumberEditChange(HWND edit, int minimum, int maximum, int* value)
{
    // Notifications raised before set-up has taken the edit's handle are not ours to handle yet.
    if (!IsWindow(edit)) {
        return;
    }
    NormalizeNumberEdit(edit, minimum, maximum);
    char text[256];
    GetWindowTextA(edit, text, sizeof text);
    *value = NumberEditValue(text);
}

bool MainDialog::RunIdleTask()
{
    return false;
}
