// The core against the platform it stands in for: code page, calendar ticks, wsprintfA and local time.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/calendar_time.h"
#include "round/clock_setting.h"
#include "base/host_local_time.h"
#include "base/system_forms_win32.h"
#include "base/time_text.h"

namespace {

uint64_t FileTimeValue(const FILETIME& f)
{
    return static_cast<uint64_t>(f.dwHighDateTime) << 32 | f.dwLowDateTime;
}

FILETIME MakeFileTime(uint64_t ticks)
{
    FILETIME f;
    f.dwLowDateTime = static_cast<DWORD>(ticks);
    f.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return f;
}

std::string Fields(const CalendarTime& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d-%d-%d(%d) %d:%d:%d.%d", t.year, t.month, t.day, t.dayOfWeek, t.hour,
                  t.minute, t.second, t.milliseconds);
    return text;
}

TEST(Platform, RunsWithTheJapaneseAnsiCodePage)
{
    EXPECT_EQ(932u, GetACP());
}

TEST(Platform, NarrowTextsAreShiftJis)
{
    EXPECT_STREQ("\x93\xAF\x8A\xFA\x90\xAC\x8C\xF7", "同期成功");
    EXPECT_STREQ("\x8C\xA0\x8C\xC0\x83\x47\x83\x89\x81\x5B", "権限エラー");
}

// Every 37th day from 1601 to 2200 at a changing time of day, through both conversions.
TEST(CalendarTicks, AgreeWithTheFileTimeConversions)
{
    const uint64_t kTicksPerDay = 864000000000ULL;
    int checked = 0;
    for (uint64_t day = 0; day < 219000; day += 37) {
        const uint64_t ticks = day * kTicksPerDay + (day * 7919 % 86400000) * 10000;
        SYSTEMTIME platform;
        const FILETIME f = MakeFileTime(ticks);
        ASSERT_TRUE(FileTimeToSystemTime(&f, &platform));
        const CalendarTime ours = TicksToCalendar(ticks);
        ASSERT_EQ(Fields(FromSystemTime(platform)), Fields(ours));

        FILETIME back;
        const SYSTEMTIME s = ToSystemTime(ours);
        ASSERT_TRUE(SystemTimeToFileTime(&s, &back));
        ASSERT_EQ(FileTimeValue(back), CalendarToTicks(ours));
        ++checked;
    }
    EXPECT_GT(checked, 5000);
}

// The offset step done the platform's way: SystemTimeToFileTime, add, FileTimeToSystemTime.
TEST(AddOffsetSeconds, AgreesWithThePlatformsWay)
{
    const CalendarTime starts[] = {
        {2006, 12, 0, 31, 23, 59, 0, 250}, {2004, 3, 0, 1, 0, 3, 0, 0}, {2100, 2, 0, 28, 23, 57, 30, 999},
        {2036, 2, 0, 7, 6, 25, 0, 1},      {2026, 10, 0, 25, 2, 59, 59, 0},
    };
    for (const CalendarTime& start : starts) {
        for (int32_t offset = -360; offset <= 360; offset += 7) {
            FILETIME f;
            const SYSTEMTIME s = ToSystemTime(start);
            ASSERT_TRUE(SystemTimeToFileTime(&s, &f));
            const FILETIME moved = MakeFileTime(FileTimeValue(f) + static_cast<uint64_t>(int64_t{offset} * 10000000));
            SYSTEMTIME platform;
            ASSERT_TRUE(FileTimeToSystemTime(&moved, &platform));
            ASSERT_EQ(Fields(FromSystemTime(platform)), Fields(AddOffsetSeconds(start, offset))) << offset;
        }
    }
}

TEST(TimeTexts, MatchWsprintfA)
{
    const CalendarTime times[] = {{2007, 1, 1, 1, 0, 5, 0, 250}, {2026, 12, 2, 8, 9, 3, 7, 7}, {2104, 2, 2, 26, 18, 42, 23, 999}};
    const int32_t offsets[] = {-360, -10, -5, -1, 0, 1, 5, 30, 99, 100, 360};
    for (const CalendarTime& t : times) {
        char expected[32];
        wsprintfA(expected, "%04d/%02d/%02d %02d:%02d:%02d.%04d", t.year, t.month, t.day, t.hour, t.minute, t.second,
                  t.milliseconds);
        EXPECT_EQ(expected, FormatLocalTime(t));
        for (int32_t offset : offsets) {
            if (offset == 0) {
                wsprintfA(expected, "%04d/%02d/%02d %02d:%02d:%02d.%04d", t.year, t.month, t.day, t.hour, t.minute,
                          t.second, t.milliseconds);
            } else if (offset > 0) {
                wsprintfA(expected, "%04d/%02d/%02d %02d:%02d:%02d [+%02d]", t.year, t.month, t.day, t.hour, t.minute,
                          t.second, offset);
            } else {
                wsprintfA(expected, "%04d/%02d/%02d %02d:%02d:%02d [%02d]", t.year, t.month, t.day, t.hour, t.minute,
                          t.second, offset);
            }
            EXPECT_EQ(expected, FormatServerTime(t, offset)) << offset;
        }
    }
}

// The C runtime's local time against the platform's own zone conversion, in both NTP eras.
TEST(HostLocalTime, AgreesWithTheSystemTimeZone)
{
    const int64_t kTimes[] = {0, 86399, 951782400, 1774746000, 1792890000, 2085978496, 2147483648LL, 2224756800LL, 4233462143LL};
    for (int64_t seconds : kTimes) {
        std::tm local{};
        ASSERT_TRUE(HostLocalTime(seconds, &local)) << seconds;
        const FILETIME utcTicks = MakeFileTime(static_cast<uint64_t>(seconds + 11644473600LL) * 10000000);
        SYSTEMTIME utc;
        SYSTEMTIME platform;
        ASSERT_TRUE(FileTimeToSystemTime(&utcTicks, &utc));
        ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &platform));
        EXPECT_EQ(platform.wYear, local.tm_year + 1900) << seconds;
        EXPECT_EQ(platform.wMonth, local.tm_mon + 1) << seconds;
        EXPECT_EQ(platform.wDay, local.tm_mday) << seconds;
        EXPECT_EQ(platform.wHour, local.tm_hour) << seconds;
        EXPECT_EQ(platform.wMinute, local.tm_min) << seconds;
        EXPECT_EQ(platform.wSecond, local.tm_sec) << seconds;
    }
}

TEST(HostLocalTime, ATzVariableChangesNothing)
{
    // Unix-style tool sets put TZ into the environment; the clock is set in the system's zone, so the
    // conversion must be the system's too, whatever TZ says.
    std::tm withoutTz{};
    ASSERT_TRUE(HostLocalTime(1765200000, &withoutTz));
    for (const char* tz : {"TZ=JST-9", "TZ=EST5EDT", "TZ=UTC0"}) {
        _putenv(tz);
        _tzset();
        std::tm withTz{};
        ASSERT_TRUE(HostLocalTime(1765200000, &withTz)) << tz;
        EXPECT_EQ(withoutTz.tm_hour, withTz.tm_hour) << tz;
        EXPECT_EQ(withoutTz.tm_mday, withTz.tm_mday) << tz;
    }
    _putenv("TZ=");
    _tzset();
}

TEST(HostLocalTime, HasNoAnswerBefore1970)
{
    std::tm local{};
    EXPECT_FALSE(HostLocalTime(-1, &local));
    EXPECT_FALSE(HostLocalTime(-61505152, &local));
}

}  // namespace

namespace {

TEST(SetClock, ARefusalForAnotherReasonIsNotARightsError)
{
    const ClockResult result = SetClock(CalendarTime{2026, 13, 0, 40, 25, 61, 61, 1000});
    EXPECT_EQ(ClockOutcome::Failed, result.outcome);
    EXPECT_EQ(static_cast<uint32_t>(ERROR_INVALID_PARAMETER), result.error);
}

}  // namespace
