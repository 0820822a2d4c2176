// Era and fraction arithmetic of NTP timestamps (RFC 4330 section 3).
#include "ntp_timestamp.h"

namespace {
constexpr int64_t kEraSeconds = int64_t{1} << 32;  // era 1 began 2036-02-07 06:28:16 UTC
}

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
