// The DPI a window is shown at, on every Windows the program runs on (Win32).
#pragma once

#include <windows.h>

// GetDpiForWindow where the system has it (Windows 10 1607 and later, per monitor), else the
// screen's logical pixels per inch.
int WindowDpi(HWND window);

// A length given at 96 DPI, at the window's DPI.
int ScaleForWindow(HWND window, int pixelsAt96);
