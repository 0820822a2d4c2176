// What the tray says after a round: the warning icon while the last round did not set the clock,
// and a balloon the first time a kind of failure comes, not at every round that repeats it.
#pragma once

#include "sync/sync_round.h"

struct TrayNotice {
    bool trouble = false;           // the icon with the warning mark
    const char* balloon = nullptr;  // the balloon's text, or none
};

class TrayNotices {
public:
    // A round that asked nobody (no ticked server) changes nothing.
    TrayNotice AfterRound(RoundOutcome outcome, bool lacksRight);

private:
    int m_lastFailure = 0;  // the kind of the failures in a row so far; 0 after a good round
};
