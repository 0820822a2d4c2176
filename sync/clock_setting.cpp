// The clock is set with SetLocalTime after "SeSystemtimePrivilege" is enabled; only a missing
// right counts as "no right", any other refusal is told apart by its error code (Win32).
#include "clock_setting.h"

#include <windows.h>

#include "sync/system_time.h"

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
    SYSTEMTIME before;
    GetLocalTime(&before);  // the log shows the clock as it was
    const SYSTEMTIME target = ToSystemTime(localTime);
    if (!SetLocalTime(&target)) {
        const DWORD error = GetLastError();
        return {error == ERROR_PRIVILEGE_NOT_HELD ? ClockOutcome::NoRight : ClockOutcome::Failed, error,
                FromSystemTime(before)};
    }
    // The first call converted with the daylight-saving state of the moment before; across a
    // boundary only a second call lands right, as the platform's documentation asks.
    SetLocalTime(&target);
    return {ClockOutcome::Set, 0, FromSystemTime(before)};
}
