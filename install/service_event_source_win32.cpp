// The event source's registry key (Win32).
#include "service_event_source_win32.h"

#include <windows.h>

void RegisterServiceEventSource(const std::string& programPath)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kEventSourceKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return;  // the service runs as well without: its events then show without their texts
    }
    RegSetValueExA(key, "EventMessageFile", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(programPath.c_str()),
                   static_cast<DWORD>(programPath.size() + 1));
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    RegSetValueExA(key, "TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types), sizeof types);
    RegCloseKey(key);
}

void UnregisterServiceEventSource()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kEventSourceKey);
}
