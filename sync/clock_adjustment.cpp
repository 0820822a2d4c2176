// Setting the clock from a reply, and the end of automatic mode (Win32).
#include <windows.h>

#include "sync/system_time.h"
#include "sync/time_text.h"
#include "ui/main_dialog.h"

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

void MainDialog::ApplyServerTime(const CalendarTime& corrected)
{
    SYSTEMTIME localClock;
    GetLocalTime(&localClock);  // before the change: the log shows the clock as it was

    EnableSystemTimePrivilege();
    const SYSTEMTIME target = ToSystemTime(corrected);
    const bool set = SetLocalTime(&target) != FALSE;
    if (set) {
        // The first call converted with the daylight-saving state of the moment before; across a
        // boundary only a second call lands right, as the platform's documentation asks.
        SetLocalTime(&target);
    }

    if (m_bAutoMode) {
        // A scheduler reads the exit code: 0 when the clock was set, 1 when it was refused.
        KillTimer(m_hWnd, SYNC_TIMER_ID);
        DestroyWindow(m_hWnd);
        PostQuitMessage(set ? 0 : 1);
        return;
    }
    AddLogRow(m_szServerName, FormatServerTime(corrected, m_nOffset).c_str(),
              FormatLocalTime(FromSystemTime(localClock)).c_str(), set ? "同期成功" : "権限エラー");
}
