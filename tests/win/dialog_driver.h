// Acts on a modal dialog or message box of this thread once it is open, from inside its own loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// When a shown window with this title belongs to this thread, and at least delayMs have passed,
// runs the action on it once. Call before the command that opens the window.
void WhenWindowOpens(const std::string& title, std::function<void(HWND window)> action, DWORD delayMs = 0);

// True once the scheduled action has run.
bool DialogActionRan();

// Puts text into a control as a user's typing or pasting would, with its change notification.
void SetControlText(HWND window, int id, const std::string& text);

// Clicks a button of the window by its id.
void ClickButton(HWND window, int id);
