// Gregorian tick arithmetic and the offset step, at month, year, century and leap-day boundaries.
#include "base/calendar_time.h"

#include <gtest/gtest.h>

#include "../calendar_at.h"

namespace {

void ExpectSameTime(const CalendarTime& expected, const CalendarTime& actual)
{
    EXPECT_EQ(expected.year, actual.year);
    EXPECT_EQ(expected.month, actual.month);
    EXPECT_EQ(expected.dayOfWeek, actual.dayOfWeek);
    EXPECT_EQ(expected.day, actual.day);
    EXPECT_EQ(expected.hour, actual.hour);
    EXPECT_EQ(expected.minute, actual.minute);
    EXPECT_EQ(expected.second, actual.second);
    EXPECT_EQ(expected.milliseconds, actual.milliseconds);
}

CalendarTime WithDayOfWeek(CalendarTime t, int dayOfWeek)
{
    t.dayOfWeek = static_cast<uint16_t>(dayOfWeek);
    return t;
}

struct TickCase {
    CalendarTime time;
    uint64_t ticks;
    int dayOfWeek;
};

// Tick counts and weekdays worked out independently (the platform's FILETIME epoch is 1601-01-01).
const TickCase kTickCases[] = {
    {At(1601, 1, 1), 0, 1},
    {At(1900, 2, 28), 94404960000000000, 3},
    {At(1900, 3, 1), 94405824000000000, 4},  // 1900 is no leap year
    {At(1970, 1, 1), 116444736000000000, 4},
    {At(2000, 2, 29), 125962560000000000, 2},  // 2000 is one
    {At(2036, 2, 7), 137304288000000000, 4},
    {At(2100, 2, 28), 157519296000000000, 0},
    {At(2100, 3, 1), 157520160000000000, 1},
    {At(2104, 2, 26), 158779008000000000, 2},
    {At(30827, 12, 31, 23, 59, 59, 999), 9223149887999990000u, 5},  // the platform's last day
};

TEST(CalendarTicks, MatchKnownTickCounts)
{
    for (const TickCase& c : kTickCases) {
        SCOPED_TRACE(c.ticks);
        EXPECT_EQ(c.ticks, CalendarToTicks(c.time));
        ExpectSameTime(WithDayOfWeek(c.time, c.dayOfWeek), TicksToCalendar(c.ticks));
    }
}

TEST(CalendarTicks, IgnoreTheDayOfWeekGiven)
{
    EXPECT_EQ(CalendarToTicks(At(1970, 1, 1)), CalendarToTicks(WithDayOfWeek(At(1970, 1, 1), 6)));
}

TEST(CalendarTicks, DropTicksBelowAMillisecond)
{
    const uint64_t ticks = CalendarToTicks(At(2026, 12, 8, 14, 0, 0, 123)) + 9999;
    EXPECT_EQ(123, TicksToCalendar(ticks).milliseconds);
}

struct OffsetCase {
    const char* what;
    CalendarTime before;
    int32_t offset;
    CalendarTime after;
    int dayOfWeek;
};

const OffsetCase kOffsetCases[] = {
    {"into a new year", At(2006, 12, 31, 23, 59, 0, 250), 360, At(2007, 1, 1, 0, 5, 0, 250), 1},
    {"back over a leap day", At(2004, 3, 1, 0, 3, 0, 0), -360, At(2004, 2, 29, 23, 57, 0, 0), 0},
    {"over the end of February 1900", At(1900, 2, 28, 23, 59, 0), 360, At(1900, 3, 1, 0, 5, 0), 4},
    {"over the end of February 2000", At(2000, 2, 28, 23, 59, 0), 360, At(2000, 2, 29, 0, 5, 0), 2},
    {"over the end of February 2100", At(2100, 2, 28, 23, 59, 0), 360, At(2100, 3, 1, 0, 5, 0), 1},
    {"back into the old year", At(2027, 1, 1, 0, 0, 0, 1), -1, At(2026, 12, 31, 23, 59, 59, 1), 4},
    {"through the end of a 30-day month", At(2026, 4, 30, 23, 59, 30), 30, At(2026, 5, 1, 0, 0, 0), 5},
    {"zero only fills the weekday", At(2026, 12, 8, 14, 42, 7, 999), 0, At(2026, 12, 8, 14, 42, 7, 999), 2},
    {"across the first era's end", At(2036, 2, 7, 6, 28, 15), 1, At(2036, 2, 7, 6, 28, 16), 4},
    {"up to 2104", At(2104, 12, 31, 23, 59, 59), 1, At(2105, 1, 1, 0, 0, 0), 4},
};

TEST(AddOffsetSeconds, CarriesThroughTheCalendar)
{
    for (const OffsetCase& c : kOffsetCases) {
        SCOPED_TRACE(c.what);
        ExpectSameTime(WithDayOfWeek(c.after, c.dayOfWeek), AddOffsetSeconds(c.before, c.offset));
    }
}

TEST(AddOffsetSeconds, EveryOffsetOfTheRangeIsExact)
{
    const CalendarTime start = At(2024, 12, 31, 23, 58, 0, 500);
    for (int32_t offset = -360; offset <= 360; ++offset) {
        const CalendarTime moved = AddOffsetSeconds(start, offset);
        EXPECT_EQ(CalendarToTicks(start) + static_cast<uint64_t>(int64_t{offset} * 10000000), CalendarToTicks(moved));
        EXPECT_EQ(500, moved.milliseconds);
    }
}

}  // namespace
