// The platform's answers to the core's questions about the machine it runs on: the performance
// counter, random numbers, local time in the active zone, the program's own path (Win32).
#include <windows.h>
#include <ntsecapi.h>

#include "calendar_time.h"
#include "host_local_time.h"
#include "performance_counter.h"
#include "program_path.h"
#include "system_random.h"

// The performance counter.
int64_t CounterNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t CounterFrequency()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

uint64_t NowMs()
{
    return CounterToMs(CounterNow(), CounterFrequency());
}

// The system's random source.
uint64_t SystemRandom()
{
    // Only if the system's source fails, the counter: a value another machine still cannot see.
    uint64_t value = 0;
    if (!RtlGenRandom(&value, sizeof value)) {
        value = static_cast<uint64_t>(CounterNow()) * 0x9E3779B97F4A7C15u;
    }
    return value;
}

// Local time through the system's own conversion: the C runtime's would follow a TZ variable in the
// environment, which SetLocalTime knows nothing of.
bool HostLocalTime(int64_t unixSeconds, std::tm* local)
{
    if (unixSeconds < 0) {
        return false;
    }
    const uint64_t ticks = (static_cast<uint64_t>(unixSeconds) + kSecondsFrom1601To1970) * kTicksPerSecond;
    const FILETIME utcTicks{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc;
    SYSTEMTIME converted;
    // A null zone is the one active now, read at every call: a zone the user changed while the
    // program sat in the tray is the one the clock is set in.
    if (!FileTimeToSystemTime(&utcTicks, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &converted)) {
        return false;
    }
    *local = std::tm{};
    local->tm_year = converted.wYear - 1900;
    local->tm_mon = converted.wMonth - 1;
    local->tm_mday = converted.wDay;
    local->tm_hour = converted.wHour;
    local->tm_min = converted.wMinute;
    local->tm_sec = converted.wSecond;
    local->tm_wday = converted.wDayOfWeek;
    return true;
}

// The program file's path as the module knows it.
std::string ProgramFilePath()
{
    char path[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A full buffer means a cut path: better no files than files under a wrong name.
    if (length == 0 || length >= sizeof path) {
        return std::string();
    }
    return std::string(path, length);
}

std::string ProgramFilePathAsGiven()
{
    char path[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

bool IsAnsiLeadByte(unsigned char lead)
{
    return IsDBCSLeadByte(lead) != FALSE;
}
