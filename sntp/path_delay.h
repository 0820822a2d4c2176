// The server's time carried across the network path to the moment the clock is set (RFC 4330
// section 5): the reply took half of the round trip less the time the server held the request.
// Times are 100 ns ticks; "Unix ticks" count from 1970-01-01 00:00:00 UTC.
#pragma once

#include <cstdint>

#include "base/calendar_time.h"
#include "server_time.h"
#include "sntp_message.h"

// An NTP timestamp as Unix ticks, by the era rule of RFC 4330 (negative for 1968..1969); the
// fraction is truncated to whole ticks.
int64_t NtpToUnixTicks(NtpTimestamp timestamp);

// How long the server held the request: its transmit minus its receive time. Zero when it sent no
// receive time, or one later than its transmit time.
int64_t HoldTicks(NtpTimestamp receive, NtpTimestamp transmit);

// The time on the network both ways: the round trip less the hold time, never below zero. The
// reply's time on the way back is taken as half of it.
int64_t TravelTicks(int64_t roundTripTicks, int64_t holdTicks);

// A span of the performance counter as ticks, without overflow for spans of years.
int64_t CounterToTicks(int64_t counts, int64_t frequency);

// Unix ticks as local calendar time through the host's conversion, milliseconds truncated; false
// before 1970 or when the conversion has no answer.
bool UnixTicksToLocalTime(int64_t unixTicks, LocalTimeConversion toLocal, CalendarTime* out);
