// The program's icon in the notification area (Win32).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "res/message_ids.h"


// Lets the shell's two messages reach the window when the program runs elevated (it needs the right
// to set the clock): a process of lower integrity is otherwise not heard, so the icon would neither
// come back when the taskbar restarts nor answer clicks. Nothing where the platform has no such filter.
void AllowTrayMessages(HWND window, UINT taskbarCreated);

class CTrayIcon {
public:
    // Shows the program icon with its tip ("Tempivo" until SetTip) and asks the shell for version 4
    // of its callbacks, which carry the keyboard's events and the menu's point; the events come back
    // as the callback message (tray/tray_event.h reads them).
    void Add(HWND window, HINSTANCE instance, UINT callbackMessage);
    // Whether the shell took version 4 for the icon shown now; otherwise its callbacks are the
    // mouse messages alone.
    bool SpeaksVersion4() const { return m_version4; }
    // Takes the icon out of the notification area; nothing when none was added.
    void Remove();
    // A new tip, cut to the record's 127 bytes; shown at once when the icon is there, and by every
    // later add.
    void SetTip(const char* tip);
    // The icon with the warning mark while the last round did not set the clock, the program's own
    // otherwise; the shell is told only of a change.
    void ShowTrouble(bool trouble);
    // A balloon with a warning from the icon; nothing when no icon is shown.
    void ShowBalloon(const char* title, const char* text);

    // The shell call, replaceable where the tests need to see what the shell was asked.
    using NotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);
    static NotifyFunction s_notify;

    NOTIFYICONDATAA m_data{};
    HINSTANCE m_instance = nullptr;
    bool m_trouble = false;
    bool m_version4 = false;
    char m_tip[sizeof(NOTIFYICONDATAA::szTip)] = "Tempivo";
};
