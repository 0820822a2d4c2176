// The about box: the program's icon, name and version, centred over the main window (Win32).
#pragma once

#include <windows.h>

#include "shell/dialog_base_win32.h"

class AboutDialog : public CDialogBase {
public:
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                       DWORD mapId) override;
};

// Command 57664: the about box, owned by the active window, until it is closed.
void ShowAbout();
