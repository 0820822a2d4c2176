// The two time texts of a log row.
#pragma once

#include <cstdint>
#include <string>

#include "calendar_time.h"

// "2007/01/01 00:05:00.0250" at offset 0; "... [+05]", "... [+360]", "... [-5]" otherwise.
std::string FormatServerTime(const CalendarTime& corrected, int32_t offsetSeconds);

// "2006/12/24 05:25:57.0040": the local clock read before it was set.
std::string FormatLocalTime(const CalendarTime& localClock);

// The correction a row shows: the server-time minus the local clock, in seconds to the millisecond
// with its sign: "+0.044 秒", "-3600.120 秒".
std::string FormatCorrection(const CalendarTime& corrected, const CalendarTime& localClock);

// "2026/12/08 14:35:02": a moment to the second, for the log file and the tray tip.
std::string FormatSecondsTime(const CalendarTime& time);
