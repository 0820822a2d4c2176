// Fixed test zones, counting whole years and months: slow, plainly right, and sharing no code with the core.
#include "fixed_zones.h"

namespace {

bool IsLeapYear(int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int64_t DaysInMonth(int64_t year, int month)  // month 0..11
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDays[month] + (month == 1 && IsLeapYear(year) ? 1 : 0);
}

std::tm BrokenDown(int64_t seconds)  // seconds >= 0 since 1970
{
    int64_t days = seconds / 86400;
    const int64_t secondOfDay = seconds % 86400;
    int64_t year = 1970;
    while (days >= (IsLeapYear(year) ? 366 : 365)) {
        days -= IsLeapYear(year) ? 366 : 365;
        ++year;
    }
    int month = 0;
    while (days >= DaysInMonth(year, month)) {
        days -= DaysInMonth(year, month);
        ++month;
    }
    std::tm t{};
    t.tm_year = static_cast<int>(year - 1900);
    t.tm_mon = month;
    t.tm_mday = static_cast<int>(days + 1);
    t.tm_hour = static_cast<int>(secondOfDay / 3600);
    t.tm_min = static_cast<int>(secondOfDay / 60 % 60);
    t.tm_sec = static_cast<int>(secondOfDay % 60);
    return t;
}

int64_t SecondsAt(int64_t year, int month, int day, int hour)  // UTC, month 0..11
{
    int64_t days = 0;
    for (int64_t y = 1970; y < year; ++y) {
        days += IsLeapYear(y) ? 366 : 365;
    }
    for (int m = 0; m < month; ++m) {
        days += DaysInMonth(year, m);
    }
    return (days + day - 1) * 86400 + hour * 3600;
}

int64_t LastSundayOneAmUtc(int64_t year, int month)
{
    const int lastDay = static_cast<int>(DaysInMonth(year, month));
    const int64_t dayNumber = SecondsAt(year, month, lastDay, 0) / 86400;
    const int weekday = static_cast<int>((dayNumber + 4) % 7);  // 1970-01-01 was a Thursday
    return SecondsAt(year, month, lastDay - weekday, 1);
}

}  // namespace

bool UtcZone(int64_t unixSeconds, std::tm* local)
{
    *local = BrokenDown(unixSeconds);
    return true;
}

bool TokyoZone(int64_t unixSeconds, std::tm* local)
{
    *local = BrokenDown(unixSeconds + 9 * 3600);
    return true;
}

bool BerlinZone(int64_t unixSeconds, std::tm* local)
{
    const int64_t year = BrokenDown(unixSeconds).tm_year + 1900;
    const bool summer = unixSeconds >= LastSundayOneAmUtc(year, 2) && unixSeconds < LastSundayOneAmUtc(year, 9);
    *local = BrokenDown(unixSeconds + (summer ? 2 : 1) * 3600);
    local->tm_isdst = summer ? 1 : 0;
    return true;
}
