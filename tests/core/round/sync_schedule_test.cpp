// The timer's decisions with injected tick counts, and the round robin over ticked rows.
#include "store/server_list.h"
#include "round/sync_schedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct DueCase {
    const char* what;
    bool pending;
    int32_t interval;
    uint32_t now;
    uint32_t last;
    SyncDue due;
};

const DueCase kDueCases[] = {
    {"pending goes first", true, 0, 1000, 1000, SyncDue::Pending},
    {"pending even before the interval", true, 60, 1000, 0, SyncDue::Pending},
    {"interval 0 never starts one", false, 0, 0xFFFFFFFFu, 0, SyncDue::No},
    {"exactly one minute is not more", false, 1, 60000, 0, SyncDue::No},
    {"one millisecond more is", false, 1, 60001, 0, SyncDue::Interval},
    {"six hours", false, 360, 21600001, 0, SyncDue::Interval},
    {"just before six hours", false, 360, 21600000, 0, SyncDue::No},
    {"the counter wraps: 40 s elapsed", false, 1, 20000, 0xFFFFFFFFu - 19999, SyncDue::No},
    {"the counter wraps: 61 s elapsed", false, 1, 41000, 0xFFFFFFFFu - 19999, SyncDue::Interval},
    {"the last start just before the wrap", false, 1, 0, 0xFFFFFFFFu, SyncDue::No},
};

TEST(DecideSync, TimesTheSynchronisations)
{
    for (const DueCase& c : kDueCases) {
        EXPECT_EQ(c.due, DecideSync(c.pending, c.interval, c.now, c.last)) << c.what;
    }
}

TEST(DecideTick, ARoundThatOutlastsTheIntervalIsNotStartedAgain)
{
    ScheduleState schedule;
    schedule.lastSyncTick = 0;
    EXPECT_EQ(TickAction::StartRound, DecideTick(schedule, 1, 60001, false));
    EXPECT_EQ(TickAction::SkipRound, DecideTick(schedule, 1, 60001, true));
    EXPECT_EQ(TickAction::Nothing, DecideTick(schedule, 1, 60000, true));
    schedule.syncPending = true;
    EXPECT_EQ(TickAction::SkipRound, DecideTick(schedule, 0, 10, true));
}

TEST(DecideTick, AutomaticModeMakesOneRoundAndAResumeHoldsTheSchedule)
{
    const struct {
        const char* what;
        bool pending, oneRound, resumePending;
        TickAction action;
    } cases[] = {
        {"automatic mode's first tick", true, true, false, TickAction::StartRound},
        {"automatic mode after its round, the interval long past", false, true, false, TickAction::Nothing},
        {"the window, the interval long past", false, false, false, TickAction::StartRound},
        {"a resume's synchronisation is due", false, false, true, TickAction::Nothing},
        {"even a pending one waits for it", true, false, true, TickAction::Nothing},
    };
    for (const auto& c : cases) {
        ScheduleState schedule;
        schedule.syncPending = c.pending;
        schedule.oneRound = c.oneRound;
        schedule.resumePending = c.resumePending;
        EXPECT_EQ(c.action, DecideTick(schedule, 1, 3600000, false)) << c.what;
    }
}

// The rows chosen by successive calls, starting from a cursor.
std::vector<int> Choices(int cursor, const std::vector<bool>& ticked, int calls)
{
    std::vector<int> rows;
    for (int i = 0; i < calls; ++i) {
        const RotationChoice choice = ChooseNextServer(cursor, ticked);
        rows.push_back(choice.row);
        cursor = choice.nextCursor;
    }
    return rows;
}

TEST(ChooseNextServer, GoesRoundTheTickedRows)
{
    const struct {
        const char* what;
        int cursor;
        std::vector<bool> ticked;
        std::vector<int> rows;
    } cases[] = {
        {"A, C, A, C", 0, {true, false, true}, {0, 2, 0, 2}},
        {"every row ticked", 0, {true, true, true}, {0, 1, 2, 0}},
        {"only the last one", 0, {false, false, true}, {2, 2, 2}},
        {"cursor past the end after deletions", 7, {true, true}, {0, 1, 0}},
        {"cursor in the middle", 2, {true, true, true, true}, {2, 3, 0}},
        {"no ticked row", 1, {false, false, false}, {-1, -1}},
        {"an empty list", 0, {}, {-1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.rows, Choices(c.cursor, c.ticked, static_cast<int>(c.rows.size()))) << c.what;
    }
}

TEST(ChooseNextServer, WithoutATickedRowLeavesTheCursorInRange)
{
    EXPECT_EQ(1, ChooseNextServer(1, {false, false}).nextCursor);
    EXPECT_EQ(0, ChooseNextServer(5, {false, false}).nextCursor);
}

}  // namespace
