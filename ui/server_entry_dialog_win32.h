// The small dialog "接続先設定" through which a server row's name and address are typed (Win32).
#pragma once

#include <windows.h>

#include "shell/dialog_base_win32.h"

class ServerEntryDialog : public CDialogBase {
public:
    // The buffers hold the initial texts and, after OK, the results (at most 255 bytes each).
    ServerEntryDialog(char (&name)[512], char (&address)[512]) : m_pszName(name), m_pszAddress(address) {}

    // 0 after OK, -1 after cancel; owned by the window active now.
    INT_PTR Run();

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                       DWORD mapId) override;

    char* m_pszName;
    char* m_pszAddress;
    HWND m_nameEdit = nullptr;
    HWND m_addressEdit = nullptr;
};
