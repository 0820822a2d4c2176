// What became of one attempt to set the clock, and of a server's answer applied to it.
#pragma once

#include <cstdint>

#include "base/calendar_time.h"

enum class ClockOutcome {
    Set,      // the clock shows the new time
    NoRight,  // the account may not change the system time
    Failed,   // refused for another reason (the error code says which)
};

struct ClockResult {
    ClockOutcome outcome;
    uint32_t error;            // the platform's error code when the clock was not set, else 0
    CalendarTime clockBefore;  // the local clock read just before it was set
};

// A server's answer applied to the clock: the local time it was set to (the offset included) and
// what became of it. Not converted: the time had no local conversion, so nothing was set.
struct AppliedTime {
    bool converted;
    CalendarTime target;
    ClockResult clock;
};
