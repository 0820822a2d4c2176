// Gregorian arithmetic on the tick count, so the offset step gives the same result on every platform.
#include "calendar_time.h"

namespace {

constexpr int64_t kTicksPerDay = 86400 * static_cast<int64_t>(kTicksPerSecond);
constexpr int64_t kDaysFrom1601To1970 = 134774;

// Days since 1970-01-01 of a proleptic Gregorian date (the well-known era-of-400-years method).
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
    int64_t year;
    unsigned month;
    unsigned day;
};

CivilDate CivilFromDays(int64_t days)
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // March = 0
    const unsigned day = static_cast<unsigned>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const unsigned month = static_cast<unsigned>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

}  // namespace

uint64_t CalendarToTicks(const CalendarTime& time)
{
    const int64_t days = DaysFromCivil(time.year, time.month, time.day) + kDaysFrom1601To1970;
    const int64_t seconds = time.hour * 3600 + time.minute * 60 + time.second;
    return static_cast<uint64_t>(days * kTicksPerDay + seconds * static_cast<int64_t>(kTicksPerSecond) +
                                 time.milliseconds * static_cast<int64_t>(kTicksPerSecond / 1000));
}

CalendarTime TicksToCalendar(uint64_t ticks)
{
    const uint64_t days = ticks / kTicksPerDay;
    const uint64_t ticksOfDay = ticks % kTicksPerDay;
    const uint64_t secondOfDay = ticksOfDay / kTicksPerSecond;
    const CivilDate date = CivilFromDays(static_cast<int64_t>(days) - kDaysFrom1601To1970);

    CalendarTime time{};
    time.year = static_cast<uint16_t>(date.year);
    time.month = static_cast<uint16_t>(date.month);
    time.dayOfWeek = static_cast<uint16_t>((days + 1) % 7);  // day 0 was a Monday
    time.day = static_cast<uint16_t>(date.day);
    time.hour = static_cast<uint16_t>(secondOfDay / 3600);
    time.minute = static_cast<uint16_t>(secondOfDay / 60 % 60);
    time.second = static_cast<uint16_t>(secondOfDay % 60);
    time.milliseconds = static_cast<uint16_t>(ticksOfDay % kTicksPerSecond / (kTicksPerSecond / 1000));
    return time;
}

CalendarTime AddOffsetSeconds(const CalendarTime& time, int32_t offsetSeconds)
{
    const int64_t delta = static_cast<int64_t>(offsetSeconds) * static_cast<int64_t>(kTicksPerSecond);
    return TicksToCalendar(CalendarToTicks(time) + static_cast<uint64_t>(delta));
}
