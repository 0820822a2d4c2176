// NTP timestamp fields as Unix seconds and milliseconds (RFC 4330 section 3).
#pragma once

#include <cstdint>

constexpr int64_t kSecondsFrom1900To1970 = 2208988800;

// Seconds of an NTP timestamp as seconds since 1970-01-01 00:00:00 UTC, by the era rule of RFC 4330:
// 1968..2036 when the top bit is set, 2036..2104 when it is clear. Negative for 1968..1969.
int64_t NtpToUnixSeconds(uint32_t ntpSeconds);

// Fraction of a second in units of 2^-32 s as milliseconds 0..999, truncated.
uint16_t FractionToMilliseconds(uint32_t fraction);
