// The server entry dialog: two edits, the NTS check box, OK and キャンセル (Win32).
#include "server_entry_dialog_win32.h"

#include <string>

#include "res/resource.h"
#include "res/texts.h"
#include "shell/centre_window_win32.h"
#include "store/server_list_codec.h"
#include "query/server_address.h"
#include "server_entry.h"

namespace {

constexpr int kEntryLimit = 256;  // the edits take 256; the buffers keep the first 255 bytes

std::string TextOf(HWND edit)
{
    char text[kEntryLimit] = "";
    GetWindowTextA(edit, text, sizeof text);
    return text;
}

void ReadField(HWND edit, char* buffer)
{
    const std::string field = StorableField(TextOf(edit));
    lstrcpynA(buffer, field.c_str(), kEntryLimit);
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
        SetWindowTextA(m_addressEdit, m_pszAddress);  // its change notice sets the NTS check box
        *result = TRUE;  // the focus goes to the first edit
        return true;
    }
    // The check box and the prefix say the same at all times: the box writes or removes "nts:" in
    // the address, and an address typed with or without it sets the box.
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_ENTRY_NTS && HIWORD(wParam) == BN_CLICKED) {
        const bool nts = IsDlgButtonChecked(m_hWnd, IDC_ENTRY_NTS) == BST_CHECKED;
        const std::string address = WithNtsPrefix(TextOf(m_addressEdit), nts);
        SetWindowTextA(m_addressEdit, address.c_str());
        SendMessageA(m_addressEdit, EM_SETSEL, address.size(), address.size());
        return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_ENTRY_ADDRESS && HIWORD(wParam) == EN_CHANGE) {
        CheckDlgButton(m_hWnd, IDC_ENTRY_NTS, HasNtsPrefix(TextOf(m_addressEdit)) ? BST_CHECKED : BST_UNCHECKED);
        return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        if (!EntryHasAddress(TextOf(m_addressEdit))) {
            MessageBoxA(m_hWnd, texts::kEntryNeedsAddress, texts::kProgramName, MB_OK | MB_ICONWARNING);
            SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_addressEdit), TRUE);
            return true;  // the dialog stays open, with what was typed
        }
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
