// Rewrites a numeric edit whose text is not a number in range, keeping the caret where it was (Win32).
#include "main_dialog_win32.h"

#include "store/number_text.h"

void MainDialog::NormalizeNumberEdit(HWND edit, int minimum, int maximum)
{
    char text[kNumberEditReadBytes + 1];
    GetWindowTextA(edit, text, sizeof text);
    const NumberEditChange change = NormalizeNumberText(text, minimum, maximum);
    if (!change.rewrite) {
        return;
    }
    if (!change.restoreCaret) {
        SetWindowTextA(edit, change.text.c_str());
        return;
    }
    DWORD selectionEnd = 0;
    SendMessageA(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selectionEnd));
    SetWindowTextA(edit, change.text.c_str());
    SendMessageA(edit, EM_SETSEL, selectionEnd, selectionEnd);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}
