// The core's calendar record and the platform's SYSTEMTIME, which have the same eight fields (Win32).
#pragma once

#include <windows.h>

#include <cstring>

#include "sync/calendar_time.h"

static_assert(sizeof(CalendarTime) == sizeof(SYSTEMTIME), "the same eight 16-bit fields");

inline SYSTEMTIME ToSystemTime(const CalendarTime& time)
{
    SYSTEMTIME converted;
    std::memcpy(&converted, &time, sizeof converted);
    return converted;
}

inline CalendarTime FromSystemTime(const SYSTEMTIME& time)
{
    CalendarTime converted;
    std::memcpy(&converted, &time, sizeof converted);
    return converted;
}
