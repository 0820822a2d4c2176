// TrackPopupMenu for a notification-area icon, with the two steps its documentation asks for (Win32).
#include "tray_menu_win32.h"

#include "res/resource.h"

HMENU LoadTrayMenu(HINSTANCE instance)
{
    HMENU bar = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_TRAY_MENU));
    if (bar == nullptr) {
        return nullptr;
    }
    // The popup is taken out of its bar, so that it outlives it and is destroyed on its own.
    HMENU menu = GetSubMenu(bar, 0);
    RemoveMenu(bar, 0, MF_BYPOSITION);
    DestroyMenu(bar);
    SetMenuDefaultItem(menu, IDM_TRAY_SHOW, FALSE);
    return menu;
}

void ShowTrayMenu(HWND window, HINSTANCE instance)
{
    HMENU menu = LoadTrayMenu(instance);
    if (menu == nullptr) {
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    // Without the foreground the menu would stay open after a click elsewhere...
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, cursor.x, cursor.y, 0, window, nullptr);
    // ...and without a message after it, a second right-click would close it at once.
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
}
