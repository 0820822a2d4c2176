// Which texts stand in a log row: the one table of outcomes, kept apart from the list control.
#include "log_rows.h"

#include "res/texts.h"
#include "base/time_text.h"

std::vector<std::string> LogLineFields(const LogRow& row)
{
    return {row.server, row.serverTime, row.localTime, row.status, row.correction};
}

std::string RowOutcome(const LogRow& row)
{
    return row.localTime.empty() && !row.serverTime.empty() ? row.serverTime : row.status;
}

bool FailureRow(const std::string& server, QueryStatus status, LogRow* row)
{
    const char* failure = nullptr;
    switch (status) {
    case QueryStatus::UnknownServer:
        failure = texts::kFailureUnknownServer;
        break;
    case QueryStatus::SocketFailed:
        failure = texts::kFailureSocket;
        break;
    case QueryStatus::NotifyFailed:
        failure = texts::kFailureNotify;
        break;
    case QueryStatus::NoAnswer:
        failure = texts::kFailureNoAnswer;
        break;
    case QueryStatus::Denied:
        failure = texts::kFailureDenied;
        break;
    case QueryStatus::RateLimited:
        failure = texts::kFailureRateLimited;
        break;
    case QueryStatus::NtsNoConnection:
        failure = texts::kFailureNtsNoConnection;
        break;
    case QueryStatus::NtsCertificateRefused:
        failure = texts::kFailureNtsCertificate;
        break;
    case QueryStatus::NtsKeyExchangeFailed:
        failure = texts::kFailureNtsKeyExchange;
        break;
    case QueryStatus::Waiting:
    case QueryStatus::Answered:
    case QueryStatus::KissedAway:  // it said so in an earlier round, whose row told the user
        return false;
    }
    *row = {server, failure, "", texts::kStatusError};
    return true;
}

LogRow ClockRow(const std::string& server, const CalendarTime& corrected, int32_t offsetSeconds,
                const CalendarTime& clockBefore, ClockOutcome outcome, bool authenticated)
{
    const char* status = texts::kStatusError;
    if (outcome == ClockOutcome::Set) {
        status = authenticated ? texts::kStatusSyncedNts : texts::kStatusSynced;
    } else if (outcome == ClockOutcome::NoRight) {
        status = texts::kStatusNoRight;
    }
    return TimeRow(server, corrected, offsetSeconds, clockBefore, status);
}

LogRow TimeRow(const std::string& server, const CalendarTime& corrected, int32_t offsetSeconds,
               const CalendarTime& clockBefore, const char* status)
{
    return {server, FormatServerTime(corrected, offsetSeconds), FormatLocalTime(clockBefore), status,
            FormatCorrection(corrected, clockBefore)};
}

int AutomaticExitCode(ClockOutcome outcome)
{
    return outcome == ClockOutcome::Set ? kExitClockSet : kExitClockRefused;
}

int AutomaticEndExitCode(AutomaticEnd why)
{
    switch (why) {
    case AutomaticEnd::Set:
        return kExitClockSet;
    case AutomaticEnd::Refused:
        return kExitClockRefused;
    case AutomaticEnd::Stopped:
        return kExitStopped;
    case AutomaticEnd::Held:
        return kExitHeld;
    case AutomaticEnd::NoAgreement:
    case AutomaticEnd::TooFew:
    case AutomaticEnd::NoAnswer:
    case AutomaticEnd::NoneTicked:
    case AutomaticEnd::NoServerList:
    case AutomaticEnd::FolderTooLong:
        break;
    }
    return kExitNoAnswer;
}

AutomaticEnd AutomaticEndOfExitCode(int exitCode)
{
    switch (exitCode) {
    case kExitClockSet:
        return AutomaticEnd::Set;
    case kExitClockRefused:
        return AutomaticEnd::Refused;
    case kExitStopped:
        return AutomaticEnd::Stopped;
    case kExitHeld:
        return AutomaticEnd::Held;
    default:
        return AutomaticEnd::NoAnswer;
    }
}

LogRow AutomaticEndRow(AutomaticEnd why)
{
    const char* reason = texts::kAutoEndNoAnswer;
    switch (why) {
    case AutomaticEnd::Set:
        reason = texts::kAutoEndSet;
        break;
    case AutomaticEnd::Refused:
        reason = texts::kAutoEndRefused;
        break;
    case AutomaticEnd::NoAnswer:
        break;
    case AutomaticEnd::NoneTicked:
        reason = texts::kAutoEndNoneTicked;
        break;
    case AutomaticEnd::NoServerList:
        reason = texts::kAutoEndNoServerList;
        break;
    case AutomaticEnd::Stopped:
        reason = texts::kAutoEndStopped;
        break;
    case AutomaticEnd::FolderTooLong:
        reason = texts::kAutoEndFolderTooLong;
        break;
    case AutomaticEnd::Held:
        reason = texts::kAutoEndHeld;
        break;
    case AutomaticEnd::NoAgreement:
        reason = texts::kAutoEndNoAgreement;
        break;
    case AutomaticEnd::TooFew:
        reason = texts::kAutoEndTooFew;
        break;
    }
    return {texts::kAutoModeName, reason, "", texts::kExitCodeStatus + std::to_string(AutomaticEndExitCode(why))};
}

LogRow HandedToService(LogRow row)
{
    if (row.status == texts::kStatusNoRight) {
        row.status = texts::kStatusByService;
    }
    return row;
}
