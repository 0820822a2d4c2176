// The choice among several answers: the median, who agrees with it, and when nothing is set; and the
// words that ask before a large step.
#include "round/consensus.h"

#include <gtest/gtest.h>

#include <vector>

#include "round/step_guard.h"

namespace {

constexpr int64_t kMs = 10000;  // 100 ns ticks

// A source per answer, each its own server on 192.0.2.N (stratum 1).
std::vector<AnswerSource> Distinct(size_t count)
{
    std::vector<AnswerSource> sources(count);
    for (size_t i = 0; i < count; ++i) {
        sources[i].address.bytes = {192, 0, 2, static_cast<uint8_t>(i + 1)};
        sources[i].address.port = 123;
    }
    return sources;
}

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
        const Consensus result = ChooseConsensus(offsets, Distinct(offsets.size()), c.oneServer);
        EXPECT_EQ(c.agreed, result.agreed) << c.what;
        EXPECT_EQ(c.agreeing, result.agreeing) << c.what;
        EXPECT_EQ(c.chosen, result.chosen) << c.what;
        if (c.agreed) {
            EXPECT_EQ(c.offsetMs * kMs, result.offsetTicks) << c.what;
        }
    }
    EXPECT_TRUE(TwoAgree({0, 5000 * kMs, 5900 * kMs}, Distinct(3)));
    EXPECT_FALSE(TwoAgree({0, 5000 * kMs, 3000 * kMs}, Distinct(3)));
}

TEST(ChooseConsensus, OneSourceCountsOnceHoweverManyNamesLeadToIt)
{
    // Two answers that agree, from sources related as the case says.
    const std::vector<AnswerSource> base = Distinct(2);
    const struct {
        const char* what;
        void (*relate)(AnswerSource& a, AnswerSource& b);
        bool agreed;
    } cases[] = {
        {"two servers", [](AnswerSource&, AnswerSource&) {}, true},
        {"one address under two names", [](AnswerSource& a, AnswerSource& b) { b.address = a.address; }, false},
        {"one address, another port: another server", [](AnswerSource& a, AnswerSource& b) {
             b.address = a.address;
             b.address.port = 124;
         }, true},
        {"both follow the same server", [](AnswerSource& a, AnswerSource& b) {
             a.namesUpstream = b.namesUpstream = true;
             a.upstream = b.upstream = 0xC6336401;
         }, false},
        {"each follows its own", [](AnswerSource& a, AnswerSource& b) {
             a.namesUpstream = b.namesUpstream = true;
             a.upstream = 0xC6336401;
             b.upstream = 0xC6336402;
         }, true},
        {"one follows the other", [](AnswerSource&, AnswerSource& b) {
             b.namesUpstream = true;
             b.upstream = 0xC0000201;  // 192.0.2.1
         }, false},
        {"a stratum-1 identifier is a clock, not a server", [](AnswerSource& a, AnswerSource& b) {
             a.upstream = b.upstream = 0x47505300;  // "GPS"
         }, true},
    };
    for (const auto& c : cases) {
        std::vector<AnswerSource> sources = base;
        c.relate(sources[0], sources[1]);
        EXPECT_EQ(c.agreed, ChooseConsensus({0, 10 * kMs}, sources, false).agreed) << c.what;
        EXPECT_EQ(c.agreed, TwoAgree({0, 10 * kMs}, sources)) << c.what;
    }
}

TEST(SourceOf, NamesTheUpstreamServerFromStratumTwoOn)
{
    const struct {
        uint8_t stratum;
        bool namesUpstream;
    } cases[] = {{0, false}, {1, false}, {2, true}, {15, true}};
    for (const auto& c : cases) {
        ServerAnswer answer;
        answer.from.bytes = {192, 0, 2, 9};
        answer.stratum = c.stratum;
        answer.referenceId = 0xC0000201;
        const AnswerSource source = SourceOf(answer);
        EXPECT_TRUE(source.address == answer.from) << int{c.stratum};
        EXPECT_EQ(c.namesUpstream, source.namesUpstream) << int{c.stratum};
        EXPECT_EQ(0xC0000201u, source.upstream) << int{c.stratum};
    }
}

TEST(OneSource, IsTrueOnlyWhenEverySourceIsTheFirst)
{
    std::vector<AnswerSource> alias = Distinct(3);
    alias[1].address = alias[0].address;
    alias[2].namesUpstream = true;
    alias[2].upstream = 0xC0000201;  // follows 192.0.2.1, the first
    std::vector<AnswerSource> third = alias;
    third[2].upstream = 0xC0000202;
    EXPECT_TRUE(OneSource({}));
    EXPECT_TRUE(OneSource(Distinct(1)));
    EXPECT_FALSE(OneSource(Distinct(2)));
    EXPECT_TRUE(OneSource(alias)) << "one address under two names, and a server that follows it";
    EXPECT_FALSE(OneSource(third)) << "one that follows another server";
}

TEST(HeldAnswers, AreConfirmedOnlyByAnotherSourceWithinASecond)
{
    const std::vector<AnswerSource> sources = Distinct(2);
    HeldAnswers held;
    EXPECT_TRUE(held.Empty());
    EXPECT_FALSE(held.Confirm(3600 * 1000 * kMs, sources[1])) << "nothing held";
    held.Hold(3600 * 1000 * kMs, sources[0]);
    EXPECT_FALSE(held.Empty());
    const struct {
        const char* what;
        int64_t offsetMs;
        size_t source;
        bool confirmed;
    } cases[] = {
        {"another source, the same hour", 3600 * 1000, 1, true},
        {"a second later still agrees", 3600 * 1000 + 1000, 1, true},
        {"a second and a millisecond do not", 3600 * 1000 + 1001, 1, false},
        {"earlier likewise", 3600 * 1000 - 1000, 1, true},
        {"the same source says nothing new", 3600 * 1000, 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.confirmed, held.Confirm(c.offsetMs * kMs, sources[c.source])) << c.what;
    }
    held.Clear();
    EXPECT_TRUE(held.Empty());
    EXPECT_FALSE(held.Confirm(3600 * 1000 * kMs, sources[1]));
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

TEST(StepGuard, TheQuestionNamesTheServerAndBothTimesAndSuspectsTheTimeZoneOfWholeHours)
{
    constexpr int64_t kSecond = 1000 * kMs;
    const CalendarTime clock{2026, 12, 3, 9, 12, 0, 0, 0};
    const std::string times = "NICT の時刻: 2026/12/09 15:00:30\nこのコンピュータの時計: 2026/12/09 12:00:00\n\n";
    const std::string hint = "ずれがちょうど何時間かに近いので";
    const struct {
        int64_t stepSeconds;
        bool hint;
    } cases[] = {
        {3 * 3600 + 30, true},    // a zone's error and half a minute of the clock's own
        {-9 * 3600 + 119, true},  // nine hours back: the zone of Japan missing
        {3 * 3600 + 121, false},  // more than two minutes from whole hours: the clock itself is off
        {1200, false},            // twenty minutes
    };
    for (const auto& c : cases) {
        const std::string question = LargeStepQuestion({"NICT", clock, {2026, 12, 3, 9, 15, 0, 30, 0}, c.stepSeconds * kSecond});
        EXPECT_EQ(0u, question.find(times)) << question;
        EXPECT_EQ(c.hint, question.find(hint) != std::string::npos) << c.stepSeconds;
        EXPECT_EQ(question.size() - StepQuestion(c.stepSeconds * kSecond).size(),
                  question.rfind(StepQuestion(c.stepSeconds * kSecond)))
            << "the step's line last";
    }
}

}  // namespace
