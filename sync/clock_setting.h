// Setting the system clock to a local calendar time, with the right to do so enabled first (Win32).
#pragma once

#include <cstdint>

#include "sync/calendar_time.h"
#include "sync/clock_outcome.h"

struct ClockResult {
    ClockOutcome outcome;
    uint32_t error;            // the platform's error code when the clock was not set, else 0
    CalendarTime clockBefore;  // the local clock read just before it was set
};

ClockResult SetClock(const CalendarTime& localTime);
