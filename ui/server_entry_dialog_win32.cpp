// The server entry dialog: two edits, OK and キャンセル (Win32).
#include "server_entry_dialog_win32.h"

#include <string>

#include "res/resource.h"
#include "shell/centre_window_win32.h"
#include "store/server_list_codec.h"

namespace {

constexpr int kEntryLimit = 256;  // the edits take 256; the buffers keep the first 255 bytes

void ReadField(HWND edit, char* buffer)
{
    char text[kEntryLimit] = "";
    GetWindowTextA(edit, text, sizeof text);
    const std::string field = StorableField(text);
    lstrcpynA(buffer, field.c_str(), sizeof text);
}

}  // namespace

INT_PTR ServerEntryDialog::Run()
{
    return RunDialogFor(this, IDD_SERVER_ENTRY, GetActiveWindow());
}

bool ServerEntryDialog::HandleMessage(HWND /*window*/, UINT message, WPARAM wParam, LPARAM /*lParam*/,
                                      LRESULT* result, DWORD /*mapId*/)
{
    *result = 0;
    if (message == WM_INITDIALOG) {
        m_nameEdit = GetDlgItem(m_hWnd, IDC_ENTRY_NAME);
        m_addressEdit = GetDlgItem(m_hWnd, IDC_ENTRY_ADDRESS);
        SendMessageA(m_nameEdit, EM_LIMITTEXT, kEntryLimit, 0);
        SendMessageA(m_addressEdit, EM_LIMITTEXT, kEntryLimit, 0);
        CentreWindow(m_hWnd, GetParent(m_hWnd));
        SetWindowTextA(m_nameEdit, m_pszName);
        SetWindowTextA(m_addressEdit, m_pszAddress);
        *result = TRUE;  // the focus goes to the first edit
        return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        ReadField(m_nameEdit, m_pszName);
        ReadField(m_addressEdit, m_pszAddress);
        EndDialog(m_hWnd, 0);
        return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(m_hWnd, -1);
        return true;
    }
    return false;
}
