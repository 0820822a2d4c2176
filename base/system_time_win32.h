// The core's calendar record and the platform's SYSTEMTIME, which have the same eight fields, and
// the platform's FILETIME on the core's scale (Win32).
#pragma once

#include <windows.h>

#include <cstring>

#include "calendar_time.h"

static_assert(sizeof(CalendarTime) == sizeof(SYSTEMTIME), "the same eight 16-bit fields");

inline SYSTEMTIME ToSystemTime(const CalendarTime& time)
{
    SYSTEMTIME converted;
    std::memcpy(&converted, &time, sizeof converted);
    return converted;
}

// A FILETIME (100 ns since 1601 UTC) as 100 ns ticks since 1970 UTC.
inline int64_t FileTimeToUnixTicks(const FILETIME& time)
{
    const uint64_t ticks = static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    return static_cast<int64_t>(ticks - kSecondsFrom1601To1970 * kTicksPerSecond);
}

inline CalendarTime FromSystemTime(const SYSTEMTIME& time)
{
    CalendarTime converted;
    std::memcpy(&converted, &time, sizeof converted);
    return converted;
}

// The local clock now, as the log's rows show it.
inline CalendarTime LocalClockNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FromSystemTime(now);
}
