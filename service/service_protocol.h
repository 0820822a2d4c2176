// The time service's pipe, free of pipes: the two requests a user may send and the answers. No
// request carries a server, a time or an offset: a user can ask for the right time, never for
// another time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "round/log_rows.h"

constexpr char kServicePipeName[] = "\\\\.\\pipe\\Tempivo";
constexpr size_t kMaxServiceRequestBytes = 64;

enum class ServiceRequest {
    Sync,    // "SYNC": a round now; answered when it ends
    Status,  // "STATUS": the last round and when the next is due
    Invalid, // anything else, a request over 64 bytes, or one that was not a single message
};

ServiceRequest ParseServiceRequest(const std::string& message, bool wholeMessage);

// "DONE <exit code>" and the round's rows; "STATUS <seconds to the next round> <exit code of the
// last round> <seconds since it ended>" (both -1 before the first) and its rows; "ERROR". Each row
// a line of five fields separated by tabs.
std::string RoundAnswer(int exitCode, const std::vector<LogRow>& rows);
std::string StatusAnswer(int64_t secondsToNextRound, int lastExitCode, int64_t secondsSinceLastRound,
                         const std::vector<LogRow>& rows);
std::string ErrorAnswer();

struct ServiceAnswer {
    enum class Kind { Done, Busy, Status, Error };  // Busy: an older service's refusal of a SYNC
    Kind kind = Kind::Error;
    int exitCode = -1;
    int64_t secondsToNextRound = 0;
    int64_t secondsSinceLastRound = -1;  // -1 before the first round, or from an older service
    std::vector<LogRow> rows;
};

// False for a text that is none of the answers above (nor an older service's).
bool ParseServiceAnswer(const std::string& text, ServiceAnswer* answer);
