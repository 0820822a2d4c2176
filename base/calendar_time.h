// The calendar record of a synchronisation and its 100 ns tick count since 1601, with the offset step.
#pragma once

#include <cstdint>

// Same fields, order and widths as the platform's SYSTEMTIME, so the Win32 layer can copy it as it is.
struct CalendarTime {
    uint16_t year;
    uint16_t month;      // 1..12
    uint16_t dayOfWeek;  // 0 = Sunday .. 6 = Saturday
    uint16_t day;        // 1..31
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t milliseconds;
};

constexpr uint64_t kTicksPerSecond = 10000000;  // 100 ns ticks, as in the platform's FILETIME
constexpr uint64_t kSecondsFrom1601To1970 = 11644473600ULL;

// The tick count (FILETIME value) of a calendar time read as an absolute time: no time-zone step.
// The day of week is not read. Valid for the years 1601..30827, as on the platform.
uint64_t CalendarToTicks(const CalendarTime& time);

// The calendar time of a tick count, all eight fields set (1601-01-01 was a Monday).
CalendarTime TicksToCalendar(uint64_t ticks);

// Adds a signed number of seconds through the tick count, carrying through minutes, hours, days,
// months and years of the Gregorian calendar. Runs for offset 0 too, which only fills the day of week.
CalendarTime AddOffsetSeconds(const CalendarTime& time, int32_t offsetSeconds);
