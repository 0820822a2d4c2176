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

void ShowTrayMenu(HWND window, HINSTANCE instance, const TrayEvent& event)
{
    HMENU menu = LoadTrayMenu(instance);
    if (menu == nullptr) {
        return;
    }
    // The shell's point is the icon's when the menu key opened it, where the cursor may be anywhere.
    POINT at{event.x, event.y};
    if (!event.anchored) {
        GetCursorPos(&at);
    }
    // Without the foreground the menu would stay open after a click elsewhere...
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, at.x, at.y, 0, window, nullptr);
    // ...and without a message after it, a second right-click would close it at once.
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
}
