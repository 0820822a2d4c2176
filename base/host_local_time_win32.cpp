// The system's own conversion from UTC to local time, through the active time zone (Win32). The C
// runtime's would follow a TZ variable in the environment, which SetLocalTime knows nothing of.
#include "host_local_time.h"

#include <windows.h>

#include "calendar_time.h"

bool HostLocalTime(int64_t unixSeconds, std::tm* local)
{
    if (unixSeconds < 0) {
        return false;
    }
    const uint64_t ticks = (static_cast<uint64_t>(unixSeconds) + kSecondsFrom1601To1970) * kTicksPerSecond;
    const FILETIME utcTicks{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc;
    SYSTEMTIME converted;
    // A null zone is the one active now, read at every call: a zone the user changed while the
    // program sat in the tray is the one the clock is set in.
    if (!FileTimeToSystemTime(&utcTicks, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &converted)) {
        return false;
    }
    *local = std::tm{};
    local->tm_year = converted.wYear - 1900;
    local->tm_mon = converted.wMonth - 1;
    local->tm_mday = converted.wDay;
    local->tm_hour = converted.wHour;
    local->tm_min = converted.wMinute;
    local->tm_sec = converted.wSecond;
    local->tm_wday = converted.wDayOfWeek;
    return true;
}
