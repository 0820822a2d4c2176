// The main window's message map: each message is tested in this order, the first match handles it (Win32).
#include "main_dialog.h"

#include <imm.h>

#include "res/resource.h"
#include "shell/about_dialog.h"
#include "shell/app_module.h"
#include "shell/help_engine.h"
#include "shell/trace.h"
#include "store/settings_file.h"
#include "ui/number_text.h"

MainDialog::MainDialog()
{
    BuildIniPath(m_szIniFile);
}

MainDialog::~MainDialog()
{
    EndQuery();
}

bool MainDialog::HandleMessage(HWND /*window*/, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                               DWORD mapId)
{
    *result = 0;
    if (mapId != 0) {
        Trace("Invalid message map ID (%i)\n", static_cast<int>(mapId));
        return false;
    }
    if (message == WM_LOOKUPDONE) {
        OnLookupDone(reinterpret_cast<HANDLE>(wParam), WSAGETASYNCERROR(lParam));
        return true;
    }
    if (message == WM_SOCKETEVENT) {
        OnSocketEvent(static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
        return true;
    }
    if (message == WM_INITDIALOG) {
        *result = OnInitDialog();
        return true;
    }
    if (message == WM_TIMER) {
        TimerTick();
        return true;
    }
    if (message == WM_SIZE) {
        // Minimised means gone into the tray: no taskbar button, only the icon.
        if (wParam == SIZE_MINIMIZED) {
            ShowWindow(m_hWnd, SW_HIDE);
        }
        return true;
    }
    if (m_uTaskbarCreated != 0 && message == m_uTaskbarCreated) {
        m_trayIcon.Add(m_hWnd, g_module.m_hInstResource, WM_TRAYICON);
        return true;
    }
    if (message == WM_TRAYICON) {
        if (lParam == WM_LBUTTONDBLCLK) {
            ShowWindow(m_hWnd, SW_RESTORE);
            SetForegroundWindow(m_hWnd);
        }
        return true;
    }
    if (message == WM_COMMAND) {
        const WORD id = LOWORD(wParam);
        const WORD code = HIWORD(wParam);
        if (id == IDC_ABOUT_BUTTON) {
            ShowAbout();
            return true;
        }
        if (id == IDC_SYNC) {
            SyncSelectedServer();
            return true;
        }
        if (id == IDC_MOVE_UP) {
            MoveServerUp();
            return true;
        }
        if (id == IDC_MOVE_DOWN) {
            MoveServerDown();
            return true;
        }
        if (id == IDC_ADD) {
            AddServer();
            return true;
        }
        if (id == IDC_DELETE) {
            DeleteServer();
            return true;
        }
        if (id == IDC_HELP_BUTTON) {
            ShowHelp(m_hWnd);
            return true;
        }
        if (id == IDCANCEL) {
            CloseMainDialog(IDCANCEL);
            return true;
        }
        if (code == EN_CHANGE && id == IDC_OFFSET_EDIT) {
            OnNumberEditChange(m_offsetEdit, -360, 360, &m_nOffset);
            return true;
        }
        if (code == EN_CHANGE && id == IDC_INTERVAL_EDIT) {
            OnNumberEditChange(m_intervalEdit, 0, 360, &m_nInterval);
            return true;
        }
        if (code == EN_SETFOCUS && (id == IDC_OFFSET_EDIT || id == IDC_INTERVAL_EDIT)) {
            // Numbers need no composition: keys go straight to the edit, even with the IME on.
            ImmAssociateContext(GetDlgItem(m_hWnd, id), nullptr);
            return true;
        }
    }
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(NM_DBLCLK)) {
        if (reinterpret_cast<const NMHDR*>(lParam)->hwndFrom == m_serverList) {
            EditServer();
        }
        return true;
    }
    return false;
}

bool MainDialog::FilterMessage(MSG* message)
{
    return IsDialogMessageA(m_hWnd, message) != FALSE;
}

bool MainDialog::RunIdleTask()
{
    return false;
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
