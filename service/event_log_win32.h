// The Windows event log as the time service's event sink (Win32): the Application log, source
// "Tempivo", the texts from horavo.exe's message table.
#pragma once

#include <windows.h>

#include "service_events.h"

class WindowsEventLog final : public ServiceEventSink {
public:
    WindowsEventLog();
    ~WindowsEventLog();
    WindowsEventLog(const WindowsEventLog&) = delete;
    WindowsEventLog& operator=(const WindowsEventLog&) = delete;

    void Report(const ServiceEvent& event) override;

private:
    HANDLE m_source;
};
