// The texts of a log row for every outcome of a synchronisation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/calendar_time.h"
#include "clock_outcome.h"
#include "query/query_status.h"

struct LogRow {
    std::string server;      // the provider name of the server asked
    std::string serverTime;  // the time the clock was set to, or what went wrong
    std::string localTime;   // the local clock at that moment, or empty
    std::string status;
    std::string correction = "";  // server time minus the local clock ("+0.044 秒"); empty without a time
};

// The row's texts in the order horavo.log and the list show them: the correction comes last, so
// that lines written before it existed read the same.
std::vector<std::string> LogLineFields(const LogRow& row);

// What became of a row in a word, for the tray tip and the service's line: its status, or for a
// failure (which has no local time) its reason, which says more than "エラー".
std::string RowOutcome(const LogRow& row);

// The row of a query that ended without a usable reply; Waiting and Answered give no row (false).
bool FailureRow(const std::string& server, QueryStatus status, LogRow* row);

// The row of a reply: the corrected time with the offset, the clock as it was, and whether it was set
// (and whether from an NTS-authenticated reply).
LogRow ClockRow(const std::string& server, const CalendarTime& corrected, int32_t offsetSeconds,
                const CalendarTime& clockBefore, ClockOutcome outcome, bool authenticated = false);

// The same two times with another status: a reply not set (held back, disagreeing, or agreeing
// with the one set).
LogRow TimeRow(const std::string& server, const CalendarTime& corrected, int32_t offsetSeconds,
               const CalendarTime& clockBefore, const char* status);

// Automatic mode's exit codes, for the Task Scheduler: the clock was set, it was refused, no ticked
// server gave a usable reply (or none is ticked), or the program was told to end before a result.
constexpr int kExitClockSet = 0;
constexpr int kExitClockRefused = 1;
constexpr int kExitNoAnswer = 3;
constexpr int kExitStopped = 4;
constexpr int kExitHeld = 5;  // a correction larger than MAXSTEP that no second server confirmed

// The exit code for a clock outcome.
int AutomaticExitCode(ClockOutcome outcome);

// Why automatic mode ended. Every end leaves one line in horavo.log saying so.
enum class AutomaticEnd {
    Set,
    Refused,
    NoAnswer,
    NoneTicked,
    NoServerList,  // "server.data" is missing or could not be read
    Stopped,       // closed, the session ended, or the exit command, before a result
    FolderTooLong, // the program's folder leaves no room for its files' names
    Held,          // the correction was larger than MAXSTEP and no second server agreed
    NoAgreement,   // several servers answered, and no two of them agreed
    TooFew,        // several were asked together, and one source alone answered
};

int AutomaticEndExitCode(AutomaticEnd why);

// The end an exit code stands for, as the time service's answer gives it.
AutomaticEnd AutomaticEndOfExitCode(int exitCode);

// ("自動モード", why, "", "終了コード N").
LogRow AutomaticEndRow(AutomaticEnd why);

// The row of a clock this process may not set, when the time service takes the round over: it says
// so instead of 権限エラー, and the service's own rows follow it. Any other row as it is.
LogRow HandedToService(LogRow row);
