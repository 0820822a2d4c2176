// The clock is set with SetLocalTime after "SeSystemtimePrivilege" is enabled; only a missing
// right counts as "no right", any other refusal is told apart by its error code. A server's answer
// is carried to the moment of setting here, so nothing above redoes the arithmetic (Win32).
#include "clock_setting.h"

#include <windows.h>

#include "base/host_local_time.h"
#include "base/performance_counter.h"
#include "base/system_forms_win32.h"

namespace {

// The right to change the time, if the account holds it; failures show as a refused clock.
void EnableSystemTimePrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    LookupPrivilegeValueA(nullptr, "SeSystemtimePrivilege", &privileges.Privileges[0].Luid);
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
}

}  // namespace

ClockResult SetClock(const CalendarTime& localTime)
{
    EnableSystemTimePrivilege();
    const CalendarTime before = LocalClockNow();  // the log shows the clock as it was
    const SYSTEMTIME target = ToSystemTime(localTime);
    if (!SetLocalTime(&target)) {
        const DWORD error = GetLastError();
        return {error == ERROR_PRIVILEGE_NOT_HELD ? ClockOutcome::NoRight : ClockOutcome::Failed, error,
                before};
    }
    // The first call converted with the daylight-saving state of the moment before; across a
    // boundary only a second call lands right, as the platform's documentation asks.
    SetLocalTime(&target);
    return {ClockOutcome::Set, 0, before};
}

AppliedTime ApplyServerTime(const ServerAnswer& answer, int32_t offsetSeconds)
{
    AppliedTime applied{};
    // The counter is read as late as it can be: the clock is set to the time it is set at.
    applied.converted =
        TimeToSet(answer, CounterNow(), CounterFrequency(), offsetSeconds, HostLocalTime, &applied.target);
    if (applied.converted) {
        applied.clock = SetClock(applied.target);
    }
    return applied;
}

AppliedTime ReadServerTime(const ServerAnswer& answer, int32_t offsetSeconds)
{
    AppliedTime read{};
    read.converted =
        TimeToSet(answer, CounterNow(), CounterFrequency(), offsetSeconds, HostLocalTime, &read.target);
    read.clock = {ClockOutcome::Failed, 0, LocalClockNow()};
    return read;
}
