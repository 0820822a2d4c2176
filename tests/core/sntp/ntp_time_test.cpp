// NTP time: the era rule of NTP seconds and the millisecond truncation of the fraction, the hold
// and the path delay, the server's transmit timestamp in fixed local zones across the NTP era
// boundaries and DST changes, and an answer's offset.
#include "sntp/ntp_time.h"

#include <gtest/gtest.h>

#include "../fixed_zones.h"

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

namespace {

struct ZoneCase {
    const char* what;
    LocalTimeConversion zone;
    uint32_t seconds;
    uint32_t fraction;
    int year, month, day, hour, minute, second, milliseconds;
};

constexpr uint32_t kNtp2026_03_29_0100Utc = 3983734800u;  // last Sunday of March 2026, 01:00 UTC
constexpr uint32_t kNtp2026_10_25_0100Utc = 4001878800u;  // last Sunday of October 2026, 01:00 UTC
constexpr uint32_t kNtp2040_07_01_1200Utc = 138778304u;   // era 1

const ZoneCase kZoneCases[] = {
    {"Unix epoch", UtcZone, 2208988800u, 0, 1970, 1, 1, 0, 0, 0, 0},
    {"Unix epoch in Tokyo", TokyoZone, 2208988800u, 0, 1970, 1, 1, 9, 0, 0, 0},
    {"zero timestamp is era 1", UtcZone, 0, 0, 2036, 2, 7, 6, 28, 16, 0},
    {"last second of era 0", UtcZone, 4294967295u, 0, 2036, 2, 7, 6, 28, 15, 0},
    {"era 1 in Tokyo", TokyoZone, 0, 0x80000000u, 2036, 2, 7, 15, 28, 16, 500},
    {"past 2038", UtcZone, 61505152u, 0, 2038, 1, 19, 3, 14, 8, 0},
    {"last second of the rule", TokyoZone, 0x7FFFFFFFu, 0xFFFFFFFFu, 2104, 2, 26, 18, 42, 23, 999},
    {"before summer time", BerlinZone, kNtp2026_03_29_0100Utc - 1, 0, 2026, 3, 29, 1, 59, 59, 0},
    {"summer time begins", BerlinZone, kNtp2026_03_29_0100Utc, 0, 2026, 3, 29, 3, 0, 0, 0},
    {"last summer second", BerlinZone, kNtp2026_10_25_0100Utc - 1, 0, 2026, 10, 25, 2, 59, 59, 0},
    {"summer time ends", BerlinZone, kNtp2026_10_25_0100Utc, 0, 2026, 10, 25, 2, 0, 0, 0},
    {"summer of era 1", BerlinZone, kNtp2040_07_01_1200Utc, 0x40000000u, 2040, 7, 1, 14, 0, 0, 250},
};

TEST(ReplyToCalendarTime, ConvertsInTheGivenZone)
{
    for (const ZoneCase& c : kZoneCases) {
        SCOPED_TRACE(c.what);
        CalendarTime t{};
        ASSERT_TRUE(ReplyToCalendarTime(c.seconds, c.fraction, c.zone, &t));
        EXPECT_EQ(c.year, t.year);
        EXPECT_EQ(c.month, t.month);
        EXPECT_EQ(c.day, t.day);
        EXPECT_EQ(c.hour, t.hour);
        EXPECT_EQ(c.minute, t.minute);
        EXPECT_EQ(c.second, t.second);
        EXPECT_EQ(c.milliseconds, t.milliseconds);
    }
}

int g_conversions = 0;

bool CountingZone(int64_t unixSeconds, std::tm* local)
{
    ++g_conversions;
    return UtcZone(unixSeconds, local);
}

bool NoAnswerZone(int64_t, std::tm*)
{
    return false;
}

TEST(ReplyToCalendarTime, TimesBefore1970HaveNoConversion)
{
    const uint32_t kBefore1970[] = {0x80000000u, 2200000000u, 2208988799u};
    for (uint32_t seconds : kBefore1970) {
        g_conversions = 0;
        CalendarTime t{};
        t.year = 1234;
        EXPECT_FALSE(ReplyToCalendarTime(seconds, 0, CountingZone, &t)) << seconds;
        EXPECT_EQ(0, g_conversions) << "the host conversion is never asked about a negative count";
        EXPECT_EQ(1234, t.year) << "nothing is written";
    }
}

TEST(ReplyToCalendarTime, AConversionWithoutAnswerGivesNone)
{
    CalendarTime t{};
    EXPECT_FALSE(ReplyToCalendarTime(3983734800u, 0, NoAnswerZone, &t));
}

}  // namespace

namespace {

TEST(CorrectedServerTime, IsTheTransmitTimeInLocalTimePlusTheOffset)
{
    uint8_t reply[48] = {};
    // 2006-12-31 14:59:00.250 UTC is 23:59:00.250 in Tokyo.
    const uint32_t seconds = 3376565940u;
    for (int i = 0; i < 4; ++i) {
        reply[40 + i] = static_cast<uint8_t>(seconds >> (24 - 8 * i));
    }
    reply[44] = 0x40;  // a quarter of a second
    CalendarTime t{};
    ASSERT_TRUE(CorrectedServerTime(reply, 360, TokyoZone, &t));
    EXPECT_EQ(2007, t.year);
    EXPECT_EQ(1, t.month);
    EXPECT_EQ(1, t.day);
    EXPECT_EQ(1, t.dayOfWeek);
    EXPECT_EQ(0, t.hour);
    EXPECT_EQ(5, t.minute);
    EXPECT_EQ(0, t.second);
    EXPECT_EQ(250, t.milliseconds);
}

TEST(CorrectedServerTime, HasNoneWithoutALocalTime)
{
    uint8_t reply[48] = {};
    reply[40] = 0x80;  // 1968
    CalendarTime t{};
    EXPECT_FALSE(CorrectedServerTime(reply, 0, UtcZone, &t));
}

}  // namespace

namespace {

TEST(HoldTicks, IsRightAcrossTheEraBoundary)
{
    const NtpTimestamp lastOfEra0{0xFFFFFFFFu, 0x80000000u};
    const NtpTimestamp firstOfEra1{0, 0x80000000u};
    EXPECT_EQ(10000000, HoldTicks(lastOfEra0, firstOfEra1));
}

TEST(CounterToTicks, CountsTheCounterWithoutOverflow)
{
    EXPECT_EQ(3 * 10000000LL, CounterToTicks(3 * 3579545LL, 3579545));
    EXPECT_EQ(int64_t{3650} * 86400 * 10000000, CounterToTicks(int64_t{3650} * 86400 * 2400000000LL, 2400000000LL));
}

TEST(PathDelayTicks, IsTheRoundTripLessTheHoldAndNeverBelowZero)
{
    const NtpTimestamp receive{3983734800u, 0};
    const struct {
        const char* what;
        int64_t roundTrip;
        NtpTimestamp receive;
        NtpTimestamp transmit;
        int64_t delay;
    } cases[] = {
        {"no hold", 400000, receive, receive, 400000},
        {"held a second of two", 20000000, receive, {3983734801u, 0}, 10000000},
        {"held longer than the round trip", 10000, receive, {3983734801u, 0}, 0},
        {"no receive time: no hold", 400000, {0, 0}, {3983734801u, 0}, 400000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.delay, PathDelayTicks(c.roundTrip, c.receive, c.transmit)) << c.what;
    }
}

TEST(ServerTimeAtReceipt, IsTheTransmitTimePlusHalfThePath)
{
    const NtpTimestamp transmit{2208988800u + 10, 0x80000000u};  // 10.5 s after 1970
    EXPECT_EQ(105000000, ServerTimeAtReceipt(transmit, 0));
    EXPECT_EQ(105000000 + 200000, ServerTimeAtReceipt(transmit, 400000));
    EXPECT_EQ(105000000 + 1, ServerTimeAtReceipt(transmit, 3)) << "half a tick is truncated";
}

TEST(ServerAnswer, ItsOffsetIsTheServerTimeLessTheClockAndMovesWithAtOffset)
{
    ServerAnswer answer;
    answer.unixTicksAtReceipt = 17650000000000000 + 36000000000;
    answer.clockAtReceipt = 17650000000000000;
    answer.receivedAtCounter = 1234;
    answer.stratum = 2;
    EXPECT_EQ(36000000000, answer.OffsetTicks());
    const ServerAnswer moved = AtOffset(answer, -5000000);
    EXPECT_EQ(-5000000, moved.OffsetTicks());
    EXPECT_EQ(17650000000000000 - 5000000, moved.unixTicksAtReceipt);
    EXPECT_EQ(1234, moved.receivedAtCounter) << "the rest is the answer's";
    EXPECT_EQ(2, moved.stratum);
}

}  // namespace
