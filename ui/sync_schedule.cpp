// The schedule and the rotation of automatic synchronisations, free of timers and list controls.
#include "sync_schedule.h"

#include <cstddef>

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

RotationChoice ChooseNextServer(int cursor, const std::vector<bool>& ticked)
{
    const int count = static_cast<int>(ticked.size());
    const int start = cursor >= 0 && cursor < count ? cursor : 0;
    for (int step = 0; step < count; ++step) {
        const int row = (start + step) % count;
        if (ticked[static_cast<std::size_t>(row)]) {
            return {row, row + 1};
        }
    }
    return {-1, start};
}

bool RoundGoesOn(const SyncRound& round)
{
    return round.active && round.tried < round.tickedRows;
}
