// NTP time on the program's scale: timestamps as Unix time (RFC 4330 section 3), the path delay and
// the server's time carried across it (section 5) and on to the moment the clock is set, its offset
// from the local clock, and its local calendar time. Times are 100 ns ticks; "Unix ticks" count from
// 1970-01-01 00:00:00 UTC.
#pragma once

#include <cstdint>
#include <ctime>

#include "base/calendar_time.h"
#include "base/net_address.h"
#include "sntp_message.h"

constexpr int64_t kSecondsFrom1900To1970 = 2208988800;

// Seconds of an NTP timestamp as seconds since 1970-01-01 00:00:00 UTC, by the era rule of RFC 4330:
// 1968..2036 when the top bit is set, 2036..2104 when it is clear. Negative for 1968..1969.
int64_t NtpToUnixSeconds(uint32_t ntpSeconds);

// Fraction of a second in units of 2^-32 s as milliseconds 0..999, truncated.
uint16_t FractionToMilliseconds(uint32_t fraction);

// An NTP timestamp as Unix ticks, by the same era rule (negative for 1968..1969); the fraction is
// truncated to whole ticks.
int64_t NtpToUnixTicks(NtpTimestamp timestamp);

// A span of the performance counter as ticks, without overflow for spans of years.
int64_t CounterToTicks(int64_t counts, int64_t frequency);

// How long the server held the request: its transmit minus its receive time. Zero when it sent no
// receive time, or one later than its transmit time.
int64_t HoldTicks(NtpTimestamp receive, NtpTimestamp transmit);

// The time on the network both ways: the round trip less the server's hold, never below zero. Of
// several samples, the one with the least is trusted.
int64_t PathDelayTicks(int64_t roundTripTicks, NtpTimestamp receive, NtpTimestamp transmit);

// The server's time when its reply arrived: the transmit time plus the reply's share of the path,
// half of it.
int64_t ServerTimeAtReceipt(NtpTimestamp transmit, int64_t pathDelayTicks);

// The moment a reply arrived, as the performance counter and the system clock read it.
struct Receipt {
    int64_t counter = 0;
    int64_t counterFrequency = 0;
    int64_t clock = 0;  // 100 ns ticks since 1970 UTC
};

// The host's local-time conversion, passed in so the arithmetic runs anywhere: seconds since
// 1970-01-01 00:00:00 UTC to local tm_year (since 1900), tm_mon (0..11), tm_mday, tm_hour, tm_min and
// tm_sec; false when the time has no conversion. Never called with a negative count.
using LocalTimeConversion = bool (*)(int64_t unixSeconds, std::tm* local);

// Unix ticks as local calendar time through the host's conversion, milliseconds truncated; false
// before 1970 or when the conversion has no answer.
bool UnixTicksToLocalTime(int64_t unixTicks, LocalTimeConversion toLocal, CalendarTime* out);

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

    // The server's time less the local clock, both at the receipt.
    int64_t OffsetTicks() const { return unixTicksAtReceipt - clockAtReceipt; }
};

// The same answer with the server's time at this offset from the local clock (several servers'
// agreed offset carried by one of them).
ServerAnswer AtOffset(const ServerAnswer& answer, int64_t offsetTicks);

// The local time to set the clock to now: the answer's time carried forward by the counter to the
// moment of setting, the offset added, converted to local time once. False when it has no local
// conversion.
bool TimeToSet(const ServerAnswer& answer, int64_t counterNow, int64_t counterFrequency, int32_t offsetSeconds,
               LocalTimeConversion toLocal, CalendarTime* out);

// The same for a reply's transmit timestamp as it stands, from the reply's bytes (at least 48).
bool CorrectedServerTime(const uint8_t* reply, int32_t offsetSeconds, LocalTimeConversion toLocal, CalendarTime* out);
