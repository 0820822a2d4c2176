// Parsing log-row time texts in the tests (Win32).
#include "log_texts.h"

#include <windows.h>

#include <cstdio>

double TimeTextSeconds(const std::string& text)
{
    SYSTEMTIME t{};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, milliseconds = 0;
    char rest = 0;
    const int fields = std::sscanf(text.c_str(), "%4d/%2d/%2d %2d:%2d:%2d%c%4d", &year, &month, &day, &hour, &minute,
                                   &second, &rest, &milliseconds);
    if (fields < 6) {
        return -1;
    }
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    FILETIME ticks;
    if (!SystemTimeToFileTime(&t, &ticks)) {
        return -1;
    }
    const double seconds = (static_cast<double>(ticks.dwHighDateTime) * 4294967296.0 + ticks.dwLowDateTime) / 1e7;
    return seconds + (rest == '.' ? milliseconds / 1000.0 : 0);
}

bool IsMillisecondTimeText(const std::string& text)
{
    char format[] = "0000/00/00 00:00:00.0000";
    if (text.size() != sizeof format - 1) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if ((format[i] == '0') != digit || (!digit && text[i] != format[i])) {
            return false;
        }
    }
    return TimeTextSeconds(text) > 0;
}

bool IsOffsetTimeText(const std::string& text, int offset)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, offset > 0 ? " [+%02d]" : " [%02d]", offset);
    const std::string tail = suffix;
    return text.size() == 19 + tail.size() && text.compare(19, std::string::npos, tail) == 0 &&
           IsMillisecondTimeText(text.substr(0, 19) + ".0000");
}
