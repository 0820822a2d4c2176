// Path-delay arithmetic on 100 ns ticks: precise enough for a clock set to the millisecond, and
// wide enough for any date the platform can set.
#include "path_delay.h"

#include <ctime>

#include "ntp_timestamp.h"

namespace {

constexpr int64_t kTicks = static_cast<int64_t>(kTicksPerSecond);

// Units of 2^-32 s as ticks, truncated.
int64_t FractionToTicks(uint64_t fraction)
{
    return static_cast<int64_t>((fraction * kTicksPerSecond) >> 32);
}

}  // namespace

int64_t NtpToUnixTicks(NtpTimestamp timestamp)
{
    return NtpToUnixSeconds(timestamp.seconds) * kTicks + FractionToTicks(timestamp.fraction);
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

int64_t TravelTicks(int64_t roundTripTicks, int64_t holdTicks)
{
    // A server that says it held the request longer than the whole round trip is not believed
    // into a negative delay.
    const int64_t travelled = roundTripTicks - holdTicks;
    return travelled > 0 ? travelled : 0;
}

int64_t CounterToTicks(int64_t counts, int64_t frequency)
{
    if (frequency <= 0) {
        return 0;
    }
    return counts / frequency * kTicks + counts % frequency * kTicks / frequency;
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
