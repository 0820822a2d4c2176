// One main window per user session: a named mutex, and the way a second start finds the first
// window and brings it forward (Win32). Automatic mode and the service never ask.
#pragma once

#include <windows.h>

// Takes the session's instance; false when another process holds it.
bool ClaimSingleInstance();
// Gives it up, for a new process of this program that is to take over (a restart elevated).
void ReleaseSingleInstance();

// Marks the window as the instance's, so that a second start can find it.
void MarkInstanceWindow(HWND window);
// The message the marked window gets when a second start wants it shown.
UINT ShowInstanceMessage();
// Asks the marked window to show itself; it may still be being made, so it is looked for a while.
void ShowFirstInstance();
