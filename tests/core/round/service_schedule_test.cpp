// The time service's schedule over a simulated month: the loop sleeps as the schedule says, rounds
// take the time a script gives them, resumes and SYNCs come when the script says.
#include "round/service_schedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint64_t kMinute = 60000;
constexpr uint64_t kDay = 24 * 60 * kMinute;

// The service's loop as time_service_win32.cpp runs it, with a counter instead of a clock.
struct SimulatedService {
    SimulatedService(uint64_t startMs, int32_t intervalMinutes, uint64_t eachRoundMs)
        : now(startMs), schedule(startMs, intervalMinutes), roundMs(eachRoundMs)
    {
    }

    void RunUntil(uint64_t until, const std::vector<uint64_t>& resumes = {})
    {
        size_t nextResume = 0;
        while (now < until) {
            const uint64_t sleep = schedule.MsToSleep(now, running);
            if (sleep == 0) {
                ASSERT_FALSE(running) << "two rounds at once at " << now;
                schedule.OnRoundStarted(now);
                running = true;
                roundEnd = now + roundMs;
                starts.push_back(now);
                continue;
            }
            ASSERT_LE(sleep, kServiceLongestSleepMs);
            ++wakeUps;
            // The loop wakes when its sleep is over, when the round's messages end it, or at a resume.
            uint64_t wake = now + sleep;
            if (running && roundEnd < wake) {
                wake = roundEnd;
            }
            if (nextResume < resumes.size() && resumes[nextResume] < wake) {
                wake = resumes[nextResume];
            }
            now = wake < until ? wake : until;
            if (running && now >= roundEnd) {
                running = false;
                schedule.OnRoundEnded(now);
                ends.push_back(now);
            }
            if (nextResume < resumes.size() && resumes[nextResume] <= now) {
                schedule.OnResume(now);
                ++nextResume;
            }
        }
    }

    uint64_t now;
    ServiceSchedule schedule;
    uint64_t roundMs;
    bool running = false;
    uint64_t roundEnd = 0;
    std::vector<uint64_t> starts;
    std::vector<uint64_t> ends;
    int wakeUps = 0;
};

TEST(ServiceSchedule, AMonthOfRoundsEveryIntervalWhateverTheCounterSays)
{
    const struct {
        const char* what;
        uint64_t start;
        int32_t interval;
        uint64_t spacing;
    } cases[] = {
        {"every minute", 0, 1, kMinute},
        {"an interval of 0 is an hour for the service", 5000, 0, 60 * kMinute},
        {"six hours", 123, 360, 360 * kMinute},
        // The tick count wraps here; the service's 64-bit counter must go straight on.
        {"across 2^32 ms (49.7 days)", 0xFFFFFFFFull - 7 * kDay, 60, 60 * kMinute},
        {"a machine up for a year", 365 * kDay, 7, 7 * kMinute},
    };
    for (const auto& c : cases) {
        SimulatedService service(c.start, c.interval, 300);
        service.RunUntil(c.start + 31 * kDay);
        ASSERT_FALSE(service.starts.empty()) << c.what;
        EXPECT_EQ(c.start + kServiceFirstRoundMs, service.starts[0]) << c.what;
        for (size_t i = 1; i < service.starts.size(); ++i) {
            ASSERT_EQ(c.spacing, service.starts[i] - service.starts[i - 1]) << c.what << ", round " << i;
        }
        EXPECT_EQ((31 * kDay - kServiceFirstRoundMs) / c.spacing + 1, service.starts.size()) << c.what;
        // Sleeping at most a minute at a time, and no more often than that between rounds.
        EXPECT_LE(service.wakeUps, static_cast<int>(31 * kDay / kMinute + 2 * service.starts.size())) << c.what;
    }
}

TEST(ServiceSchedule, ARoundThatOutlastsItsIntervalIsFollowedAtTheNextDueTimeNotAtOnce)
{
    // Every server silent: 150 s a round against an interval of a minute, for a month.
    SimulatedService service(0, 1, 150000);
    service.RunUntil(31 * kDay);
    ASSERT_GT(service.starts.size(), 100u);
    for (size_t i = 1; i < service.starts.size(); ++i) {
        ASSERT_GE(service.starts[i], service.ends[i - 1]) << "round " << i;
        // The due times that passed during the round count as done: the next is on the minute grid.
        ASSERT_EQ(180000u, service.starts[i] - service.starts[i - 1]) << "round " << i;
    }
    // Asleep through the long rounds, not spinning: a few wake-ups a round.
    EXPECT_LE(service.wakeUps, static_cast<int>(4 * service.starts.size() + 1));
    EXPECT_EQ(kServiceLongestSleepMs, service.schedule.MsToSleep(service.starts.back() + 70000, true))
        << "past its due time, a running round is slept through";
}

TEST(ServiceSchedule, ARoundTenSecondsAfterEveryResumeThenTheIntervalFromThere)
{
    const struct {
        const char* what;
        uint64_t resume;
        uint64_t roundMs;
        uint64_t expectedStart;  // of the round the resume brings
    } cases[] = {
        {"between rounds", 20 * kMinute + 1234, 300, 20 * kMinute + 11234},
        {"a second before a due round", 120 * kMinute + 9000, 300, 120 * kMinute + 19000},
        {"during a short round: the next still comes", 60 * kMinute + 10100, 300, 60 * kMinute + 20100},
        {"during a long round: at its end", 60 * kMinute + 10100, 40000, 60 * kMinute + 50000},
    };
    for (const auto& c : cases) {
        SimulatedService service(0, 60, c.roundMs);
        service.RunUntil(5 * 60 * kMinute, {c.resume});
        size_t after = 0;
        while (after < service.starts.size() && service.starts[after] <= c.resume) {
            ++after;
        }
        ASSERT_LT(after, service.starts.size()) << c.what;
        EXPECT_EQ(c.expectedStart, service.starts[after]) << c.what;
        ASSERT_LT(after + 1, service.starts.size()) << c.what;
        EXPECT_EQ(60 * kMinute, service.starts[after + 1] - service.starts[after]) << c.what;
    }
}

TEST(ServiceSchedule, ASyncAtEveryMomentOfARoundJoinsItAndSoonAfterGetsItsEnd)
{
    ServiceSchedule schedule(0, 60);
    EXPECT_EQ(SyncReply::StartRound, schedule.OnSyncRequest(5000, false)) << "before the first round";
    schedule.OnRoundStarted(10000);
    for (uint64_t t = 10000; t < 13000; ++t) {
        ASSERT_EQ(SyncReply::JoinRound, schedule.OnSyncRequest(t, true)) << t;
    }
    schedule.OnRoundEnded(13000);
    for (uint64_t t = 13000; t < 13000 + kSyncAnswerKeptMs; ++t) {
        ASSERT_EQ(SyncReply::LastRound, schedule.OnSyncRequest(t, false)) << t;
    }
    EXPECT_EQ(SyncReply::StartRound, schedule.OnSyncRequest(13000 + kSyncAnswerKeptMs, false));
    uint64_t since = 0;
    ASSERT_TRUE(schedule.MsSinceLastRound(20000, &since));
    EXPECT_EQ(7000u, since);
    // A SYNC's round counts as a round: the interval runs from it.
    schedule.OnRoundStarted(30000);
    EXPECT_EQ(60 * kMinute, schedule.MsUntilDue(30000));
}

}  // namespace
