// The small dialog "接続先設定" through which a server row's name and address are typed (Win32).
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "shell/dialog_base_win32.h"

// A row's two texts, into the dialog and, after OK, out of it.
struct ServerEntryTexts {
    std::string name;
    std::string address;
};

class ServerEntryDialog : public CDialogBase {
public:
    explicit ServerEntryDialog(ServerEntryTexts texts) : m_texts(std::move(texts)) {}

    // Whether the user pressed OK; owned by the window active now.
    bool Run();
    // After OK: the texts as the list keeps them (no tab or line end, no longer than a field of
    // "server.data" may be).
    const ServerEntryTexts& Texts() const { return m_texts; }

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                       DWORD mapId) override;

private:
    ServerEntryTexts m_texts;
    HWND m_nameEdit = nullptr;
    HWND m_addressEdit = nullptr;
};
