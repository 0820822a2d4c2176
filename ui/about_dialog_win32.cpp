// The about box and its command (Win32).
#include "about_dialog_win32.h"

#include "res/resource.h"
#include "shell/centre_window_win32.h"

bool AboutDialog::HandleMessage(HWND /*window*/, UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT* result,
                                DWORD /*mapId*/)
{
    *result = 0;
    if (message == WM_INITDIALOG) {
        CentreWindow(m_hWnd, GetParent(m_hWnd));
        *result = TRUE;  // the focus goes to OK
        return true;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(m_hWnd, LOWORD(wParam));
        return true;
    }
    return false;
}

void ShowAbout()
{
    HWND owner = GetActiveWindow();
    AboutDialog about;
    RunDialogFor(&about, IDD_ABOUT, owner);
}
