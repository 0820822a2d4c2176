// The main window's line about the time service (Win32): asked with STATUS when the window opens,
// after each of the window's own rounds and once a minute, on a worker thread; shown only while the
// service is installed.
#pragma once

#include <windows.h>

#include <string>

#include "service_line.h"

class ServiceLine {
public:
    // The label it writes, and the window the answer's message comes to.
    void Attach(HWND label, HWND window, UINT answerMessage);
    // Asks again; nothing while an answer is still awaited.
    void Refresh();
    // One second of the window's timer: a refresh once a minute.
    void Tick();
    // The answer came: the label shows the line, or hides when the service is not installed.
    void OnAnswer();
    // The tray tip with the line under the window's own.
    std::string Tip(const std::string& ownTip) const;

private:
    void Show(ServiceState state, bool answered, const ServiceAnswer& status);

    HWND m_label = nullptr;
    HWND m_window = nullptr;
    UINT m_answerMessage = 0;
    bool m_asking = false;
    int m_seconds = 0;
    ServiceView m_view;
};
