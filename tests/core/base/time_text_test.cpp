// The log row's time texts: four-digit milliseconds, or the offset in brackets with its sign.
#include "base/time_text.h"

#include <gtest/gtest.h>

#include "../calendar_at.h"

namespace {

struct ServerTextCase {
    CalendarTime time;
    int32_t offset;
    const char* text;
};

const ServerTextCase kServerTextCases[] = {
    {At(2007, 1, 1, 0, 5, 0, 250), 360, "2007/01/01 00:05:00 [+360]"},
    {At(2004, 2, 29, 23, 57, 0, 0), -360, "2004/02/29 23:57:00 [-360]"},
    {At(2026, 12, 8, 9, 3, 7, 7), 0, "2026/12/08 09:03:07.0007"},
    {At(2026, 12, 8, 9, 3, 7, 999), 0, "2026/12/08 09:03:07.0999"},
    {At(2026, 12, 8, 9, 3, 7, 0), 0, "2026/12/08 09:03:07.0000"},
    {At(2026, 12, 8, 9, 3, 7, 500), 5, "2026/12/08 09:03:07 [+05]"},
    {At(2026, 12, 8, 9, 3, 7, 500), 1, "2026/12/08 09:03:07 [+01]"},
    {At(2026, 12, 8, 9, 3, 7, 500), 30, "2026/12/08 09:03:07 [+30]"},
    {At(2026, 12, 8, 9, 3, 7, 500), -5, "2026/12/08 09:03:07 [-5]"},
    {At(2026, 12, 8, 9, 3, 7, 500), -1, "2026/12/08 09:03:07 [-1]"},
    {At(2026, 12, 8, 9, 3, 7, 500), -10, "2026/12/08 09:03:07 [-10]"},
    {At(2104, 2, 26, 18, 42, 23, 999), 0, "2104/02/26 18:42:23.0999"},
};

TEST(FormatServerTime, ShowsMillisecondsOrTheOffset)
{
    for (const ServerTextCase& c : kServerTextCases) {
        EXPECT_EQ(c.text, FormatServerTime(c.time, c.offset));
    }
}

TEST(FormatLocalTime, AlwaysShowsMilliseconds)
{
    EXPECT_EQ("2006/12/24 05:25:57.0040", FormatLocalTime(At(2006, 12, 24, 5, 25, 57, 40)));
    EXPECT_EQ("0999/01/02 03:04:05.0006", FormatLocalTime(At(999, 1, 2, 3, 4, 5, 6)));
}

TEST(FormatCorrection, SignedSecondsToTheMillisecondAcrossDays)
{
    const struct {
        CalendarTime server;
        CalendarTime local;
        const char* text;
    } cases[] = {
        {At(2026, 12, 8, 9, 3, 7, 44), At(2026, 12, 8, 9, 3, 7, 0), "+0.044 秒"},
        {At(2026, 12, 8, 9, 3, 7, 0), At(2026, 12, 8, 9, 3, 7, 0), "+0.000 秒"},
        {At(2026, 12, 8, 9, 3, 7, 0), At(2026, 12, 8, 9, 3, 7, 1), "-0.001 秒"},
        {At(2026, 12, 8, 8, 3, 6, 880), At(2026, 12, 8, 9, 3, 7, 0), "-3600.120 秒"},
        {At(2027, 1, 1, 0, 0, 0, 5), At(2026, 12, 31, 23, 59, 59, 995), "+0.010 秒"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, FormatCorrection(c.server, c.local));
    }
}

}  // namespace
