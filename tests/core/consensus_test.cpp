// The choice among several answers: the median, who agrees with it, and when nothing is set; and the
// words that ask before a large step.
#include "sync/consensus.h"

#include <gtest/gtest.h>

#include <vector>

#include "sync/step_guard.h"

namespace {

constexpr int64_t kMs = 10000;  // 100 ns ticks

TEST(ChooseConsensus, TheMedianOfThoseThatAgreeWithTheMedian)
{
    const struct {
        const char* what;
        std::vector<int64_t> offsetsMs;
        bool oneServer;
        bool agreed;
        int64_t offsetMs;
        std::vector<bool> agreeing;
        int chosen;
    } cases[] = {
        {"three agree", {10, 30, 20}, false, true, 20, {true, true, true}, 2},
        {"one an hour off", {5, 3600000, 15}, false, true, 10, {true, false, true}, 0},
        {"ties: the mean of the middle two", {0, 400, 800, 1200}, false, true, 600, {true, true, true, true}, 1},
        {"1 s apart still agree", {0, 1000}, false, true, 500, {true, true}, 0},
        {"over 1 s from the median is out", {0, 1800, 1000, 5000}, false, true, 1400, {false, true, true, false}, 1},
        {"all disagreeing", {0, 5000, 10000}, false, false, 0, {false, true, false}, -1},
        {"two that disagree", {0, 3000}, false, false, 0, {false, false}, -1},
        {"one answer of several asked", {42}, false, false, 0, {true}, -1},
        {"the only server asked", {42}, true, true, 42, {true}, 0},
        {"nothing", {}, false, false, 0, {}, -1},
    };
    for (const auto& c : cases) {
        std::vector<int64_t> offsets;
        for (int64_t ms : c.offsetsMs) {
            offsets.push_back(ms * kMs);
        }
        const Consensus result = ChooseConsensus(offsets, c.oneServer);
        EXPECT_EQ(c.agreed, result.agreed) << c.what;
        EXPECT_EQ(c.agreeing, result.agreeing) << c.what;
        EXPECT_EQ(c.chosen, result.chosen) << c.what;
        if (c.agreed) {
            EXPECT_EQ(c.offsetMs * kMs, result.offsetTicks) << c.what;
        }
    }
    EXPECT_TRUE(TwoAgree({0, 5000 * kMs, 5900 * kMs}));
    EXPECT_FALSE(TwoAgree({0, 5000 * kMs, 3000 * kMs}));
}

TEST(StepGuard, AsksInWordsAboutAStepBeyondTheLimit)
{
    constexpr int64_t kSecond = 1000 * kMs;
    EXPECT_FALSE(StepNeedsSecondOpinion(900 * kSecond, 900));
    EXPECT_TRUE(StepNeedsSecondOpinion(-900 * kSecond - 1, 900));
    EXPECT_FALSE(StepNeedsSecondOpinion(365 * 86400 * kSecond, 0)) << "0 turns the guard off";
    const struct {
        int64_t seconds;
        const char* question;
    } cases[] = {
        {2 * 3600 + 3 * 60 + 14, "時計を 2 時間 3 分 14 秒 進めます。よろしいですか？"},
        {-(3600 + 1), "時計を 1 時間 1 秒 戻します。よろしいですか？"},
        {20 * 60, "時計を 20 分 進めます。よろしいですか？"},
        {366 * 86400 + 7, "時計を 366 日 7 秒 進めます。よろしいですか？"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.question, StepQuestion(c.seconds * kSecond)) << c.seconds;
    }
    EXPECT_EQ("時計を 1 時間 進めます。よろしいですか？", StepQuestion(3600 * kSecond + 4999999)) << "rounded";
}

}  // namespace
