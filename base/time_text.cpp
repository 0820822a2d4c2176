// Log-row time texts, with the formats and padding rules of the platform's wsprintfA.
#include "time_text.h"

#include <cstdio>

#include "res/texts.h"

namespace {

// The longest text is 26 characters; the room beyond it only keeps the compiler's length check quiet.
constexpr size_t kTextBufferSize = 64;

std::string FormatWithMilliseconds(const CalendarTime& t)
{
    char text[kTextBufferSize];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d.%04d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, t.milliseconds);
    return text;
}

}  // namespace

std::string FormatServerTime(const CalendarTime& corrected, int32_t offsetSeconds)
{
    if (offsetSeconds == 0) {
        return FormatWithMilliseconds(corrected);
    }
    // A negative offset brings its own minus sign, which counts toward the width of two.
    const char* format = offsetSeconds > 0 ? "%04d/%02d/%02d %02d:%02d:%02d [+%02d]"
                                           : "%04d/%02d/%02d %02d:%02d:%02d [%02d]";
    char text[kTextBufferSize];
    std::snprintf(text, sizeof text, format, corrected.year, corrected.month, corrected.day, corrected.hour,
                  corrected.minute, corrected.second, static_cast<int>(offsetSeconds));
    return text;
}

std::string FormatLocalTime(const CalendarTime& localClock)
{
    return FormatWithMilliseconds(localClock);
}

std::string FormatSecondsTime(const CalendarTime& time)
{
    char text[kTextBufferSize];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return text;
}

std::string FormatCorrection(const CalendarTime& corrected, const CalendarTime& localClock)
{
    const int64_t ms = (static_cast<int64_t>(CalendarToTicks(corrected)) -
                        static_cast<int64_t>(CalendarToTicks(localClock))) / 10000;
    const int64_t magnitude = ms < 0 ? -ms : ms;
    char text[48];
    std::snprintf(text, sizeof text, "%c%lld.%03lld ", ms < 0 ? '-' : '+', static_cast<long long>(magnitude / 1000),
                  static_cast<long long>(magnitude % 1000));
    return text + std::string(texts::kSecondsUnit);
}
