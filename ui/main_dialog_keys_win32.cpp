// The main window's own keys, taken before the dialog manager sees them: F1 anywhere, Enter and F2 on
// a server row, Enter in a number box (Win32).
#include "main_dialog_win32.h"

#include <string>

#include "store/number_text.h"

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
    if (focus == m_serverList && (key == VK_RETURN || key == VK_F2)) {
        EditServer();
        return true;
    }
    // Enter after typing a number is taken as "done with this box", never as 終了: ending the program
    // would end every scheduled synchronisation with it.
    if (key == VK_RETURN && (focus == m_intervalEdit || focus == m_offsetEdit)) {
        ApplyNumberEdit(focus);
        SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, FALSE);
        return true;
    }
    return false;
}

void MainDialog::ApplyNumberEdit(HWND edit)
{
    // A lone "-" stands while the offset is typed; once left, the box shows the value it holds.
    const int value = edit == m_intervalEdit ? m_nInterval : m_nOffset;
    char text[kNumberEditReadBytes + 1];
    GetWindowTextA(edit, text, sizeof text);
    if (std::to_string(value) != text) {
        SetWindowTextA(edit, std::to_string(value).c_str());
    }
}
