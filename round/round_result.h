// How a round of synchronisation ended: its outcome, its rows, and what it means for automatic
// mode and its exit code.
#pragma once

#include <vector>

#include "log_rows.h"

enum class RoundOutcome {
    Set,          // the clock was set
    Refused,      // the clock refused the time
    NoAnswer,     // no server gave a usable time
    NoServers,    // there was none to ask
    Held,         // the correction was too large and nobody confirmed it
    NoAgreement,  // answers came, but no two agreed
    TooFew,       // together: one source answered where two must agree, and nobody disagreed
};

struct RoundResult {
    RoundOutcome outcome = RoundOutcome::NoAnswer;
    bool lacksRight = false;   // refused because the process may not set the clock
    bool keyExchangeFailed = false;  // an NTS server's key exchange failed on the way
    std::vector<LogRow> rows;  // one for every server asked, and the clock's row

    // How automatic mode ends after this round, and its exit code for the Task Scheduler.
    AutomaticEnd EndOfAutomaticMode() const;
    int ExitCode() const { return AutomaticEndExitCode(EndOfAutomaticMode()); }
};
