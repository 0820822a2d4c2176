// The floor for start-up time: the main window's own dialog template, from horavo.exe's compiled
// resources (its manifest and its common controls included), shown and run, and nothing else; what
// horavo.exe takes beyond this is the work it does of its own (Win32).
#include <windows.h>
#include <commctrl.h>

#include "res/resource.h"

namespace {

INT_PTR CALLBACK MinimalProc(HWND window, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        DestroyWindow(window);
        PostQuitMessage(2);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand)
{
    INITCOMMONCONTROLSEX classes{sizeof classes,
                                 ICC_COOL_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MinimalProc, 0);
    ShowWindow(window, showCommand);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
