// Setting the system clock: to a local calendar time, or from a server's answer in one call.
#pragma once

#include <cstdint>

#include "clock_outcome.h"
#include "sntp/ntp_time.h"

// Sets the clock with the right to do so enabled first; the clock is read just before.
ClockResult SetClock(const CalendarTime& localTime);

// The server's time carried by the performance counter to this moment, the offset added, converted
// to local time once, and set.
AppliedTime ApplyServerTime(const ServerAnswer& answer, int32_t offsetSeconds);

// The same time and the clock as it is now, for a row that sets nothing (outcome Failed, error 0).
AppliedTime ReadServerTime(const ServerAnswer& answer, int32_t offsetSeconds);
