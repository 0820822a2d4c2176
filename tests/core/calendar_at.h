// A calendar time from its fields, for the tests; the day of week is left 0.
#pragma once

#include "base/calendar_time.h"

inline CalendarTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0)
{
    CalendarTime t{};
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    t.milliseconds = static_cast<uint16_t>(ms);
    return t;
}
