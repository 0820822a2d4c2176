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

std::string TextOf(HWND edit)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(edit, &text[0], static_cast<int>(text.size()))));
    return text;
}

// What the file can keep of a field: a row with a longer one would be dropped at the next start.
// A double-byte character is never cut in half.
std::string ReadField(HWND edit)
{
    std::string field = StorableField(TextOf(edit));
    size_t kept = 0;
    while (kept < field.size()) {
        const size_t next = kept + (IsDBCSLeadByte(static_cast<BYTE>(field[kept])) ? 2 : 1);
        if (next > kMaxFieldBytes) {
            break;
        }
        kept = next;
    }
    field.resize(kept < field.size() ? kept : field.size());
    return field;
}

}  // namespace

bool ServerEntryDialog::Run()
{
    return RunDialogFor(this, IDD_SERVER_ENTRY, GetActiveWindow()) == IDOK;
}

bool ServerEntryDialog::HandleMessage(HWND /*window*/, UINT message, WPARAM wParam, LPARAM /*lParam*/,
                                      LRESULT* result, DWORD /*mapId*/)
{
    *result = 0;
    if (message == WM_INITDIALOG) {
        m_nameEdit = GetDlgItem(m_hWnd, IDC_ENTRY_NAME);
        m_addressEdit = GetDlgItem(m_hWnd, IDC_ENTRY_ADDRESS);
        SendMessageA(m_nameEdit, EM_LIMITTEXT, kMaxFieldBytes, 0);
        SendMessageA(m_addressEdit, EM_LIMITTEXT, kMaxFieldBytes, 0);
        CentreWindow(m_hWnd, GetParent(m_hWnd));
        SetWindowTextA(m_nameEdit, m_texts.name.c_str());
        SetWindowTextA(m_addressEdit, m_texts.address.c_str());  // its change notice sets the NTS check box
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
        m_texts = {ReadField(m_nameEdit), ReadField(m_addressEdit)};
        EndDialog(m_hWnd, IDOK);
        return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(m_hWnd, IDCANCEL);
        return true;
    }
    return false;
}
