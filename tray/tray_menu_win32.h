// The tray icon's right-click menu: 今すぐ同期, 表示 (the default), ヘルプ, バージョン情報 and, apart, 終了
// (Win32).
#pragma once

#include <windows.h>

#include "tray_event.h"

// The menu from the resources, "表示" its default item; the caller destroys it.
HMENU LoadTrayMenu(HINSTANCE instance);

// Shows the menu at the point the event carries (the cursor's when it carries none) as the platform
// asks for tray menus: the window comes to the foreground first, so that a click elsewhere closes
// the menu. The chosen item reaches the window as WM_COMMAND.
void ShowTrayMenu(HWND window, HINSTANCE instance, const TrayEvent& event);
