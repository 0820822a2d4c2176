// The time service as a source of the Windows Application log (Win32): registered with its message
// table (in horavo.exe) when the service is installed, removed with it.
#pragma once

#include <string>

constexpr char kEventSourceKey[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Tempivo";

void RegisterServiceEventSource(const std::string& programPath);
void UnregisterServiceEventSource();
