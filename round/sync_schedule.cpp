// The schedule of automatic synchronisations, free of timers.
#include "sync_schedule.h"

SyncDue DecideSync(bool syncPending, int32_t intervalMinutes, uint32_t nowTick, uint32_t lastSyncTick)
{
    if (syncPending) {
        return SyncDue::Pending;
    }
    if (intervalMinutes == 0) {
        return SyncDue::No;
    }
    const uint32_t elapsed = nowTick - lastSyncTick;
    const uint32_t interval = static_cast<uint32_t>(intervalMinutes) * 60u * 1000u;
    return elapsed > interval ? SyncDue::Interval : SyncDue::No;
}

TickAction DecideTick(const ScheduleState& schedule, int32_t intervalMinutes, uint32_t nowTick, bool roundRunning)
{
    if (schedule.resumePending || (schedule.oneRound && !schedule.syncPending) ||
        DecideSync(schedule.syncPending, intervalMinutes, nowTick, schedule.lastSyncTick) == SyncDue::No) {
        return TickAction::Nothing;
    }
    return roundRunning ? TickAction::SkipRound : TickAction::StartRound;
}
