// NTP time arithmetic on 100 ns ticks: precise enough for a clock set to the millisecond, and wide
// enough for any date the platform can set.
#include "ntp_time.h"

namespace {

constexpr int64_t kTicks = static_cast<int64_t>(kTicksPerSecond);
constexpr int64_t kEraSeconds = int64_t{1} << 32;  // era 1 began 2036-02-07 06:28:16 UTC

// Units of 2^-32 s as ticks, truncated.
int64_t FractionToTicks(uint64_t fraction)
{
    return static_cast<int64_t>((fraction * kTicksPerSecond) >> 32);
}

}  // namespace

int64_t NtpToUnixSeconds(uint32_t ntpSeconds)
{
    // RFC 4330 section 3: with the top bit set the time lies in 1968..2036 and counts from
    // 1900-01-01 00:00:00 UTC; with it clear it lies in 2036..2104 and counts from 2036-02-07 06:28:16.
    const bool firstEra = (ntpSeconds & 0x80000000u) != 0;
    return static_cast<int64_t>(ntpSeconds) + (firstEra ? 0 : kEraSeconds) - kSecondsFrom1900To1970;
}

uint16_t FractionToMilliseconds(uint32_t fraction)
{
    return static_cast<uint16_t>((static_cast<uint64_t>(fraction) * 1000) >> 32);
}

int64_t NtpToUnixTicks(NtpTimestamp timestamp)
{
    return NtpToUnixSeconds(timestamp.seconds) * kTicks + FractionToTicks(timestamp.fraction);
}

int64_t CounterToTicks(int64_t counts, int64_t frequency)
{
    if (frequency <= 0) {
        return 0;
    }
    return counts / frequency * kTicks + counts % frequency * kTicks / frequency;
}

int64_t HoldTicks(NtpTimestamp receive, NtpTimestamp transmit)
{
    if (receive.IsZero()) {
        return 0;
    }
    // The difference of two 64-bit timestamps is right across an era boundary too.
    const int64_t held = static_cast<int64_t>(transmit.Value() - receive.Value());
    if (held < 0) {
        return 0;
    }
    return (held >> 32) * kTicks + FractionToTicks(static_cast<uint64_t>(held) & 0xFFFFFFFFu);
}

int64_t PathDelayTicks(int64_t roundTripTicks, NtpTimestamp receive, NtpTimestamp transmit)
{
    // A server that says it held the request longer than the whole round trip is not believed
    // into a negative delay.
    const int64_t travelled = roundTripTicks - HoldTicks(receive, transmit);
    return travelled > 0 ? travelled : 0;
}

int64_t ServerTimeAtReceipt(NtpTimestamp transmit, int64_t pathDelayTicks)
{
    return NtpToUnixTicks(transmit) + pathDelayTicks / 2;
}

bool UnixTicksToLocalTime(int64_t unixTicks, LocalTimeConversion toLocal, CalendarTime* out)
{
    if (unixTicks < 0) {
        return false;
    }
    std::tm local{};
    if (!toLocal(unixTicks / kTicks, &local)) {
        return false;
    }
    out->year = static_cast<uint16_t>(local.tm_year + 1900);
    out->month = static_cast<uint16_t>(local.tm_mon + 1);
    out->dayOfWeek = 0;
    out->day = static_cast<uint16_t>(local.tm_mday);
    out->hour = static_cast<uint16_t>(local.tm_hour);
    out->minute = static_cast<uint16_t>(local.tm_min);
    out->second = static_cast<uint16_t>(local.tm_sec);
    out->milliseconds = static_cast<uint16_t>(unixTicks % kTicks / (kTicks / 1000));
    return true;
}

bool ReplyToCalendarTime(uint32_t seconds, uint32_t fraction, LocalTimeConversion toLocal, CalendarTime* out)
{
    return UnixTicksToLocalTime(NtpToUnixTicks({seconds, fraction}), toLocal, out);
}

bool CorrectedLocalTime(int64_t unixTicks, int32_t offsetSeconds, LocalTimeConversion toLocal, CalendarTime* out)
{
    CalendarTime serverTime{};
    if (!UnixTicksToLocalTime(unixTicks, toLocal, &serverTime)) {
        return false;
    }
    *out = AddOffsetSeconds(serverTime, offsetSeconds);
    return true;
}

ServerAnswer AtOffset(const ServerAnswer& answer, int64_t offsetTicks)
{
    ServerAnswer moved = answer;
    moved.unixTicksAtReceipt = answer.clockAtReceipt + offsetTicks;
    return moved;
}

bool TimeToSet(const ServerAnswer& answer, int64_t counterNow, int64_t counterFrequency, int32_t offsetSeconds,
               LocalTimeConversion toLocal, CalendarTime* out)
{
    const int64_t now = answer.unixTicksAtReceipt + CounterToTicks(counterNow - answer.receivedAtCounter, counterFrequency);
    return CorrectedLocalTime(now, offsetSeconds, toLocal, out);
}

bool CorrectedServerTime(const uint8_t* reply, int32_t offsetSeconds, LocalTimeConversion toLocal, CalendarTime* out)
{
    return CorrectedLocalTime(NtpToUnixTicks(ReadTransmitTimestamp(reply)), offsetSeconds, toLocal, out);
}
