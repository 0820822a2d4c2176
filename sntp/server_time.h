// The server's transmit timestamp as a local calendar time.
#pragma once

#include <cstdint>
#include <ctime>

#include "base/calendar_time.h"
#include "base/net_address.h"
#include "sntp_message.h"

// The host's local-time conversion, passed in so the arithmetic runs anywhere: seconds since
// 1970-01-01 00:00:00 UTC to local tm_year (since 1900), tm_mon (0..11), tm_mday, tm_hour, tm_min and
// tm_sec; false when the time has no conversion. Never called with a negative count.
using LocalTimeConversion = bool (*)(int64_t unixSeconds, std::tm* local);

// Fills every field but the day of week (the offset step sets it). False, with *out untouched, when
// the time falls before 1970 or the conversion has no answer for it.
bool ReplyToCalendarTime(uint32_t seconds, uint32_t fraction, LocalTimeConversion toLocal, CalendarTime* out);

// The time the clock is set to: a server time (100 ns ticks since 1970 UTC) in local time plus the
// offset, all eight fields set. False when the time has no local conversion.
bool CorrectedLocalTime(int64_t unixTicks, int32_t offsetSeconds, LocalTimeConversion toLocal, CalendarTime* out);

// The server's time when its answer arrived, and the performance counter at that moment: the clock
// is set to the first plus what the counter has run since.
struct ServerAnswer {
    int64_t unixTicksAtReceipt = 0;  // 100 ns ticks since 1970 UTC
    int64_t receivedAtCounter = 0;
    int64_t clockAtReceipt = 0;      // the system clock then, likewise: the answer's offset is the difference
    bool authenticated = false;      // NTS: the reply verified with the server's key
    // Who answered: the address, and the reply's stratum and reference identifier (for a server of
    // stratum 2 or more, the server it follows), so that one source counts once toward agreement.
    NetAddress from{};
    uint8_t stratum = 0;
    uint32_t referenceId = 0;
};

// The local time to set the clock to now: the answer's time carried forward by the counter to the
// moment of setting, the offset added, converted to local time once. False when it has no local
// conversion.
bool TimeToSet(const ServerAnswer& answer, int64_t counterNow, int64_t counterFrequency, int32_t offsetSeconds,
               LocalTimeConversion toLocal, CalendarTime* out);

// The same for a reply's transmit timestamp as it stands, from the reply's bytes (at least 48).
bool CorrectedServerTime(const uint8_t* reply, int32_t offsetSeconds, LocalTimeConversion toLocal, CalendarTime* out);
