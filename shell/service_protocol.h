// The time service's pipe, free of pipes: the two requests a user may send, the answers, and the
// limit on SYNC. No request carries a server, a time or an offset: a user can ask for the right
// time, never for another time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sync/log_rows.h"

constexpr char kServicePipeName[] = "\\\\.\\pipe\\Tempivo";
constexpr size_t kMaxServiceRequestBytes = 64;
constexpr uint64_t kSyncRequestGapMs = 10000;  // at most one SYNC round a client asks for per 10 s

enum class ServiceRequest {
    Sync,    // "SYNC": a round now; answered when it ends
    Status,  // "STATUS": the last round and when the next is due
    Invalid, // anything else, a request over 64 bytes, or one that was not a single message
};

ServiceRequest ParseServiceRequest(const std::string& message, bool wholeMessage);

// "DONE <exit code>" and the round's rows; "BUSY"; "STATUS <seconds to the next round> <exit code
// of the last round, -1 before the first>" and its rows; "ERROR". Each row a line of four fields
// separated by tabs.
std::string RoundAnswer(int exitCode, const std::vector<LogRow>& rows);
std::string StatusAnswer(int64_t secondsToNextRound, int lastExitCode, const std::vector<LogRow>& rows);
std::string BusyAnswer();
std::string ErrorAnswer();

struct ServiceAnswer {
    enum class Kind { Done, Busy, Status, Error };
    Kind kind = Kind::Error;
    int exitCode = -1;
    int64_t secondsToNextRound = 0;
    std::vector<LogRow> rows;
};

// False for a text that is none of the answers above.
bool ParseServiceAnswer(const std::string& text, ServiceAnswer* answer);

// SYNC at most once per gap; the first is always allowed.
class SyncRequestLimit {
public:
    bool Allow(uint64_t nowMs);

private:
    bool m_asked = false;
    uint64_t m_lastMs = 0;
};
