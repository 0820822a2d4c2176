// The dialog base class: routes a dialog window's messages to its object's HandleMessage (Win32).
#pragma once

#include <windows.h>

#include "app_module_win32.h"

class CDialogBase {
public:
    // Whether the message was handled; the result goes into *result. Map ids other than 0 are not used.
    virtual bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                               DWORD mapId) = 0;
    // The procedure that routes messages to HandleMessage once the window is the object's.
    virtual DLGPROC RoutingProc();
    // Called after WM_NCDESTROY, when the object has let go of its window.
    virtual void AfterLastMessage(HWND window);

    HWND m_hWnd = nullptr;
    CreationRecord m_creationRecord{};
    DLGPROC m_dialogProc = nullptr;

protected:
    ~CDialogBase() = default;
};

// The dialog procedure every dialog is created with: at the first message it binds the window to
// the object whose creation record the creating thread added, then hands the message on.
INT_PTR CALLBACK DialogStartProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A modeless dialog from the module's resources; null when it cannot be created.
HWND CreateDialogFor(CDialogBase* dialog, int resourceId, HWND owner);

// A modal dialog from the module's resources; returns what EndDialog was given, or -1.
INT_PTR RunDialogFor(CDialogBase* dialog, int resourceId, HWND owner);
