// The HTML Help engine, loaded on first use, and the help command (Win32).
#pragma once

#include <windows.h>

// Fills the buffer with the engine's registered path; false when there is none that fits.
bool FindHelpEngineLocation(char (&path)[260]);

class CHelpEngine {
public:
    using HtmlHelpFunction = HWND(WINAPI*)(HWND window, LPCSTR file, UINT command, DWORD_PTR data);

    // Loads the engine and finds its HtmlHelpA entry (ordinal 14) the first time; after a failure
    // it is unavailable for good and never tried again.
    bool Load();
    // HtmlHelpA through the engine; null when the engine is unavailable.
    HWND Invoke(HWND window, LPCSTR file, UINT command, DWORD_PTR data);

    HMODULE m_module = nullptr;  // stays loaded until the process ends
    HtmlHelpFunction m_entry = nullptr;
    bool m_unavailable = false;
};

// The process's engine.
HWND InvokeHtmlHelp(HWND window, LPCSTR file, UINT command, DWORD_PTR data);

// Command 57670: "horavo.chm" at its default topic. COM, which the help viewer needs, is started
// on this thread the first time, not at start-up: most runs never open the help.
void ShowHelp(HWND mainWindow);

// Ends COM on this thread when ShowHelp started it; the process entry calls it last.
void EndComForHelp();
