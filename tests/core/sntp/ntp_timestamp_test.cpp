// The era rule of NTP seconds and the millisecond truncation of the fraction.
#include "sntp/ntp_timestamp.h"

#include <gtest/gtest.h>

namespace {

struct EraCase {
    uint32_t ntpSeconds;
    int64_t unixSeconds;
    const char* utc;  // for the reader
};

const EraCase kEraCases[] = {
    {2208988800u, 0, "1970-01-01 00:00:00"},
    {2208988799u, -1, "1969-12-31 23:59:59, no conversion"},
    {0x80000000u, -61505152, "1968-01-20 03:14:08, first second of the top-bit range"},
    {4294967295u, 2085978495, "2036-02-07 06:28:15, last second of era 0"},
    {0u, 2085978496, "2036-02-07 06:28:16, first second of era 1"},
    {61505151u, 2147483647, "2038-01-19 03:14:07, the old signed 32-bit limit"},
    {61505152u, 2147483648, "2038-01-19 03:14:08, which the old rule had no conversion for"},
    {0x7FFFFFFFu, 4233462143, "2104-02-26 09:42:23, last second of the rule"},
};

TEST(NtpToUnixSeconds, FollowsTheEraRule)
{
    for (const EraCase& c : kEraCases) {
        SCOPED_TRACE(c.utc);
        EXPECT_EQ(c.unixSeconds, NtpToUnixSeconds(c.ntpSeconds));
    }
}

TEST(NtpToUnixSeconds, AgreesWithThirtyTwoBitWrapFrom1970To2038)
{
    // The old rule: add 0x7C558180 modulo 2^32 and read as signed. Sampled over its whole range.
    for (uint64_t s = 0; s <= 0xFFFFFFFFu; s += 9973) {
        const uint32_t seconds = static_cast<uint32_t>(s);
        const int32_t old = static_cast<int32_t>(seconds + 0x7C558180u);
        if (old >= 0) {
            ASSERT_EQ(old, NtpToUnixSeconds(seconds)) << seconds;
        }
    }
}

struct FractionCase {
    uint32_t fraction;
    uint16_t milliseconds;
};

const FractionCase kFractionCases[] = {
    {0, 0},
    {4294967u, 0},      // just under 1 ms
    {4294968u, 1},      // just over
    {30064771u, 6},     // 6.99999... ms
    {30064772u, 7},
    {0x40000000u, 250},
    {0x80000000u, 500},
    {0xFFFFFFFFu, 999},  // never 1000
};

TEST(FractionToMilliseconds, Truncates)
{
    for (const FractionCase& c : kFractionCases) {
        EXPECT_EQ(c.milliseconds, FractionToMilliseconds(c.fraction)) << c.fraction;
    }
}

}  // namespace
