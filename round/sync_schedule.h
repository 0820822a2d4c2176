// When the one-second tick starts a synchronisation: at the first tick when one is pending, then
// every interval.
#pragma once

#include <cstdint>

// After a resume from sleep the network needs a moment before a synchronisation can reach a server:
// the window and the service alike wait this long.
constexpr unsigned kResumeDelayMs = 10000;

// What the schedule remembers between ticks.
struct ScheduleState {
    bool syncPending = false;   // at the next tick: the start-up option, or automatic mode
    uint32_t lastSyncTick = 0;  // the tick count of the last timer-driven start
    int nextServer = 0;         // the rotation cursor: the row where the next choice starts looking
    bool oneRound = false;      // automatic mode: the first round only, whatever the interval says
    bool resumePending = false; // a resume's delayed synchronisation is due: nothing starts before it
};

enum class SyncDue {
    No,
    Pending,   // the start-up option or automatic mode: at the first tick
    Interval,  // more than the interval has passed since the last timer-driven start
};

// Tick counts are milliseconds that wrap after 49.7 days; the difference is taken modulo 2^32, so
// the wrap neither starts nor holds back a synchronisation. An interval of 0 turns them off.
SyncDue DecideSync(bool syncPending, int32_t intervalMinutes, uint32_t nowTick, uint32_t lastSyncTick);

// What the one-second tick does. After a resume the network may not be back yet: nothing starts
// before the delayed synchronisation, which counts as the interval's start.
enum class TickAction {
    Nothing,
    StartRound,  // a synchronisation is due: a round from the rotation cursor
    SkipRound,   // one is due while a round still runs (long silences): that round goes on, each of its
                 // servers asked once, and the due one counts as done
};
TickAction DecideTick(const ScheduleState& schedule, int32_t intervalMinutes, uint32_t nowTick, bool roundRunning);
