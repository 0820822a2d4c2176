// The main window's presence in the notification area: its icon, the tip about the last row and the
// time service, and the warning mark and balloon after a round (Win32).
#pragma once

#include <windows.h>

#include <string>

#include "round/log_rows.h"
#include "service/service_line_win32.h"
#include "tray_icon_win32.h"
#include "tray_notice.h"

class MainTray {
public:
    // Shows the icon; it comes back whenever the taskbar is made anew.
    void Add(HWND window, HINSTANCE instance);
    // Whether the message was the taskbar's "made anew"; the icon is added again then.
    bool OnTaskbarMessage(UINT message);
    UINT TaskbarCreatedMessage() const { return m_taskbarCreated; }
    void Remove() { m_icon.Remove(); }
    // Whether the shell took version 4 of the callbacks (tray/tray_event.h reads them either way).
    bool SpeaksVersion4() const { return m_icon.SpeaksVersion4(); }

    // The tip after a log row written at this moment, and after the service line changed.
    void OnRow(const LogRow& row, const std::string& writtenAt, const ServiceLine& serviceLine);
    void OnServiceLine(const ServiceLine& serviceLine);
    // The warning mark after a round, and its balloon unless something else says more.
    void AfterRound(RoundOutcome outcome, bool lacksRight, bool balloonAllowed);

private:
    CTrayIcon m_icon;
    HWND m_window = nullptr;
    HINSTANCE m_instance = nullptr;
    UINT m_taskbarCreated = 0;  // 0: never registered
    TrayNotices m_notices;
    std::string m_ownTip = "Tempivo";  // the tip's part about the window's own rounds
    std::string m_lastSyncLine;        // its line about the last row, which a balloon opens with
};
