// What the tray says after a round: the warning icon while the last round did not set the clock,
// and a balloon the first time a kind of failure comes, not at every round that repeats it.
#pragma once

#include <string>

#include "round/sync_round.h"

struct TrayNotice {
    bool trouble = false;  // the icon with the warning mark
    std::string balloon;   // the balloon's text; empty, none
};

class TrayNotices {
public:
    // A round that asked nobody (no ticked server) changes nothing. The balloon opens with the
    // round's last line as the tip shows it ("前回の同期: 12:00:05 接続先不明"), which names the
    // reason the kind's own text can only summarise.
    TrayNotice AfterRound(RoundOutcome outcome, bool lacksRight, const std::string& lastSyncLine = "");

private:
    int m_lastFailure = 0;  // the kind of the failures in a row so far; 0 after a good round
};
