// The server's transmit timestamp in fixed local zones, across the NTP era boundaries and DST changes.
#include "sntp/server_time.h"

#include <gtest/gtest.h>

#include "../fixed_zones.h"

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
