// When the one-second timer starts a synchronisation, and which ticked server it asks next.
#pragma once

#include <cstdint>
#include <vector>

// What the schedule remembers between ticks.
struct ScheduleState {
    bool syncPending = false;   // at the next tick: the start-up option, or automatic mode
    uint32_t lastSyncTick = 0;  // the tick count of the last timer-driven start
    int nextServer = 0;         // the rotation cursor: the row where the next choice starts looking
};

// A round of the schedule: the ticked servers are asked one after another until one answers,
// each at most once. The 同期 button asks one row and starts no round.
struct SyncRound {
    bool active = false;
    int tried = 0;       // servers asked in this round
    int tickedRows = 0;  // ticked rows when it began
};

// Whether a round asks one more server after the last one failed to answer.
bool RoundGoesOn(const SyncRound& round);

enum class SyncDue {
    No,
    Pending,   // the start-up option or automatic mode: at the first tick
    Interval,  // more than the interval has passed since the last timer-driven start
};

// Tick counts are milliseconds that wrap after 49.7 days; the difference is taken modulo 2^32, so
// the wrap neither starts nor holds back a synchronisation. An interval of 0 turns them off.
SyncDue DecideSync(bool syncPending, int32_t intervalMinutes, uint32_t nowTick, uint32_t lastSyncTick);

struct RotationChoice {
    int row;         // -1: no row is ticked
    int nextCursor;  // where the next choice starts looking
};

// Round robin over the ticked rows, starting at the cursor (from the top when it is past the end)
// and wrapping once at most.
RotationChoice ChooseNextServer(int cursor, const std::vector<bool>& ticked);
