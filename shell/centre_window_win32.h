// Centres a dialog over a reference window, or over the work area, keeping it inside the work area (Win32).
#pragma once

#include <windows.h>

// The reference counts only while it is visible and not minimised; null means the work area.
void CentreWindow(HWND dialog, HWND reference);
