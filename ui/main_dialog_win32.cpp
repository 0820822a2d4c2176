// The main window's messages: one switch that hands each message to one small handler, and the
// window's own keys, taken before the dialog manager sees them (Win32).
#include "main_dialog_win32.h"

#include <imm.h>

#include "base/system_forms_win32.h"
#include "base/time_text.h"
#include "res/message_ids.h"
#include "res/resource.h"
#include "res/texts.h"
#include "about_dialog_win32.h"
#include "shell/app_module_win32.h"
#include "shell/help_engine_win32.h"
#include "shell/single_instance_win32.h"
#include "shell/trace.h"
#include "tray/tray_event.h"
#include "tray/tray_menu_win32.h"

MainDialog::MainDialog(bool autoMode) : m_autoMode(autoMode), m_rounds(*this, m_schedule, m_servers, autoMode) {}

MainDialog::~MainDialog()
{
    m_elevated.StopWaiting();
    m_rounds.Stop();
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
        wParam == RESUME_TIMER_ID ? OnResumeTimer() : TimerTick();
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
        m_layout.LimitTracking(reinterpret_cast<MINMAXINFO*>(lParam));
        return true;
    case WM_DPICHANGED:
        m_layout.OnDpiChanged(LOWORD(wParam));
        return false;  // the dialog manager scales the window and its controls
    case WM_SYSCOMMAND:
        return OnSystemCommand(wParam & 0xFFF0);
    case WM_HELP:  // F1 anywhere in the window
        ShowHelp(m_hWnd);
        *result = TRUE;
        return true;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    default:
        return OnOwnMessage(message, wParam, lParam);
    }
}

bool MainDialog::OnOwnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DPISCALED:
        m_layout.OnDpiScaled();
        FitColumns();
        return true;
    case WM_TRAYICON:
        OnTrayIcon(wParam, lParam);
        return true;
    case WM_SERVICEANSWER:
        m_rounds.OnServiceAnswer();
        return true;
    case WM_ELEVATEDENDED:
        OnElevatedEnded();
        return true;
    case WM_SERVICESTATUS:
        m_serviceLine.OnAnswer();
        m_tray.OnServiceLine(m_serviceLine);
        return true;
    default:
        if (m_tray.OnTaskbarMessage(message)) {
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
    case IDC_SYNC:
        m_rounds.SyncSelected();
        return true;
    case IDC_MOVE_UP:
    case IDC_MOVE_DOWN:
        m_servers.MoveSelected(id == IDC_MOVE_UP ? -1 : +1);
        return true;
    case IDC_ADD:
        m_servers.Add();
        return true;
    case IDC_DELETE:
        m_servers.DeleteSelected();
        return true;
    case IDCANCEL:
    case IDM_TRAY_EXIT:
        CloseMainDialog(IDCANCEL);
        return true;
    case IDM_TRAY_SYNC:
        m_rounds.RunDue(true);
        return true;
    case IDM_TRAY_SHOW:
        RestoreFromTray();
        return true;
    case IDC_HELP_BUTTON:
    case IDM_TRAY_HELP:
        ShowHelp(m_hWnd);
        return true;
    case IDC_ABOUT_BUTTON:
    case IDM_TRAY_ABOUT:
        ShowAbout();
        return true;
    case IDC_OFFSET_EDIT:
    case IDC_INTERVAL_EDIT:
        if (code == EN_CHANGE) {
            m_settings.OnEditChange(GetDlgItem(m_hWnd, id));
        } else if (code == EN_SETFOCUS) {
            // Numbers need no composition: keys go straight to the edit, even with the IME on.
            ImmAssociateContext(GetDlgItem(m_hWnd, id), nullptr);
        }
        return code == EN_CHANGE || code == EN_SETFOCUS;
    default:
        return false;
    }
}

bool MainDialog::OnSystemCommand(WPARAM command)
{
    switch (command) {
    case IDM_INSTALL_SERVICE:
        RunElevated("-install-service");
        return true;
    case IDM_UPDATE_SERVICE:
        RunElevated("-update-service");
        return true;
    case IDM_RIGHTS_NOTICE:
        SetExplainsMissingRight(!m_settings.ExplainsMissingRight());
        return true;
    case IDM_UNINSTALL_SERVICE:
        // Removing is not undone by a click: asked first, No the default.
        if (MessageBoxA(m_hWnd, texts::kUninstallQuestion, texts::kProgramName,
                        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES) {
            RunElevated("-uninstall-service");
        }
        return true;
    default:
        return false;
    }
}

bool MainDialog::OnNotify(const NMHDR* header)
{
    if (m_servers.OnNotify(header)) {
        return true;
    }
    // A double-click on the log list is handled too, by doing nothing.
    return header->code == static_cast<UINT>(NM_DBLCLK);
}

bool MainDialog::FilterMessage(MSG* message)
{
    const bool ours = message->hwnd == m_hWnd || IsChild(m_hWnd, message->hwnd);
    if (ours && message->message == WM_KEYDOWN && OnKey(message->hwnd, message->wParam)) {
        return true;
    }
    return IsDialogMessageA(m_hWnd, message) != FALSE;
}

bool MainDialog::OnKey(HWND focus, WPARAM key)
{
    // F1 on any control of the window is the window's help, whichever control has the focus.
    if (key == VK_F1) {
        HELPINFO help{};
        help.cbSize = sizeof help;
        help.iContextType = HELPINFO_WINDOW;
        help.hItemHandle = focus;
        SendMessageA(m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        return true;
    }
    // A row is edited as a file name is renamed; Enter would otherwise press 終了, the default button.
    if (focus == m_servers.Control() && (key == VK_RETURN || key == VK_F2)) {
        m_servers.EditSelected();
        return true;
    }
    // Enter after typing a number is taken as "done with this box", never as 終了: ending the program
    // would end every scheduled synchronisation with it.
    if (key == VK_RETURN && m_settings.IsNumberEdit(focus)) {
        m_settings.ShowHeldValue(focus);
        SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, FALSE);
        return true;
    }
    return false;
}

void MainDialog::OnSize(WPARAM kind)
{
    // Minimised means gone into the tray: no taskbar button, only the icon.
    if (kind == SIZE_MINIMIZED) {
        ShowWindow(m_hWnd, SW_HIDE);
    } else if (m_layout.FollowSize()) {
        FitColumns();
    }
}

void MainDialog::OnTrayIcon(WPARAM wParam, LPARAM lParam)
{
    // The parameters' layout follows the version the shell took for the icon; tray/ decides.
    const bool version4 = m_tray.SpeaksVersion4();
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

void MainDialog::TimerTick()
{
    m_serviceLine.Tick();
    switch (DecideTick(m_schedule, m_settings.Interval(), GetTickCount(), m_rounds.Running())) {
    case TickAction::Nothing:
        break;
    case TickAction::StartRound:
        m_rounds.RunDue(false);
        break;
    case TickAction::SkipRound:
        m_schedule.lastSyncTick = GetTickCount();
        m_schedule.syncPending = false;
        break;
    }
}

void MainDialog::OnPowerBroadcast(WPARAM event)
{
    // The clock drifted while the computer slept; a synchronisation is due once the network is
    // back, when the user synchronises automatically at all. Both resume notices may come for one
    // resume: the second finds one already due.
    if (event != PBT_APMRESUMESUSPEND && event != PBT_APMRESUMEAUTOMATIC) {
        return;
    }
    if (m_settings.SynchronisesAutomatically() && !m_schedule.resumePending) {
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
    m_rounds.RunDue(false);
}

void MainDialog::AddLogRow(const LogRow& row)
{
    const std::string writtenAt = FormatSecondsTime(LocalClockNow());
    m_log.Add(row, writtenAt, m_rounds.Running());
    m_tray.OnRow(row, writtenAt, m_serviceLine);
}
