// A round's course against scripted queries and a scripted clock: which servers are asked, the rows,
// the end and the exit code, one by one and together, with the step limit and the kisses.
#include "round/sync_round.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int64_t kSecond = 10000000;
constexpr int64_t kClock = 17650000000000000;  // the local clock at every receipt, in 2025

// How a scripted server behaves: the status its query starts with (Waiting, or an immediate
// failure), the status it later ends with, and how far its time is from the local clock.
struct ScriptedServer {
    QueryStatus atStart;
    QueryStatus atEnd;
    int64_t offsetSeconds = 0;
    bool nts = false;  // its answer verified with NTS
    std::string sameAddressAs = "";  // another name of that server
    QueryStatus whenCut = QueryStatus::NoAnswer;  // ended at once while it waits: samples in, or none
};

class ScriptedWorld : public RoundQueries, public RoundClock, public RoundLog {
public:
    QueryStatus StartQuery(int slot, const std::string& address) override
    {
        asked.push_back(address);
        slots[slot] = address;
        return servers.at(address).atStart;
    }
    // How the query in the slot ends: with the scripted server's time when it is answered.
    QueryResult Ended(int slot, QueryStatus status) const
    {
        if (status != QueryStatus::Answered) {
            return {status, {}};
        }
        const ScriptedServer& server = servers.at(slots.at(slot));
        ServerAnswer answer;
        answer.unixTicksAtReceipt = kClock + server.offsetSeconds * kSecond;
        answer.clockAtReceipt = kClock;
        answer.authenticated = server.nts;
        // Each server its own address, unless the script makes it another's.
        const std::string& source = server.sameAddressAs.empty() ? slots.at(slot) : server.sameAddressAs;
        answer.from.bytes = {192, 0, 2, static_cast<uint8_t>(std::distance(servers.begin(), servers.find(source)))};
        answer.stratum = 1;
        return {status, answer};
    }
    void EndQuery(int slot) override { ended.push_back(slot); }
    QueryResult CutQuery(int slot) override
    {
        ended.push_back(slot);
        return Ended(slot, servers.at(slots.at(slot)).whenCut);
    }
    void StartRoundWait(unsigned milliseconds) override { roundWaitMs = milliseconds; }
    void StopRoundWait() override { roundWaitMs = 0; }

    AppliedTime SetClockFrom(const ServerAnswer& answer, int32_t offsetSeconds) override
    {
        setOffsets.push_back((answer.unixTicksAtReceipt - kClock) / kSecond + offsetSeconds);
        return ReadClockFor(answer, offsetSeconds);
    }
    AppliedTime ReadClockFor(const ServerAnswer&, int32_t) override
    {
        return {converts, {2026, 12, 2, 8, 14, 35, 2, 7}, {clock, clock == ClockOutcome::Set ? 0u : 1314u, {}}};
    }
    bool ConfirmStep(const LargeStep& step) override
    {
        questions.push_back(step.stepTicks / kSecond);
        askedAbout.push_back(step.server);
        return userSaysYes;
    }

    void OnAsking(const RoundServer& server) override { rowsAsked.push_back(server.row); }
    // "name status", and for a failure "name what-went-wrong status".
    void AddRow(const LogRow& row) override
    {
        rows.push_back(row.server + " " + (row.localTime.empty() ? row.serverTime + " " : "") + row.status);
    }
    void OnRoundEnded(const RoundResult& result) override { ends.push_back(result); }

    // Runs a round over the named servers, ending each waiting query as scripted, slot by slot.
    void Run(SyncRound& round, const std::vector<std::string>& addresses, RoundRules rules = RoundRules())
    {
        std::vector<RoundServer> list;
        for (size_t i = 0; i < addresses.size(); ++i) {
            list.push_back({static_cast<int>(i), addresses[i], addresses[i]});
        }
        round.Start(list, rules);
        for (int turn = 0; round.Running() && turn < 40; ++turn) {
            for (int slot = 0; slot < kMaxServersTogether && round.Running(); ++slot) {
                if (slots.count(slot) != 0 && servers.at(slots[slot]).atEnd != QueryStatus::Waiting) {
                    round.OnQueryEnded(slot, Ended(slot, servers.at(slots[slot]).atEnd));
                }
            }
            if (round.Running() && roundWaitMs != 0) {
                round.OnRoundWaitOver();
            }
        }
    }

    std::map<std::string, ScriptedServer> servers = {
        {"good", {QueryStatus::Waiting, QueryStatus::Answered}},
        {"good2", {QueryStatus::Waiting, QueryStatus::Answered}},
        {"silent", {QueryStatus::Waiting, QueryStatus::NoAnswer}},
        {"never", {QueryStatus::Waiting, QueryStatus::Waiting}},
        {"sampling", {QueryStatus::Waiting, QueryStatus::Waiting, 0, false, "", QueryStatus::Answered}},
        {"samplingHour", {QueryStatus::Waiting, QueryStatus::Waiting, 3600, false, "", QueryStatus::Answered}},
        {"unknown", {QueryStatus::UnknownServer, QueryStatus::Waiting}},
        {"lookupFails", {QueryStatus::Waiting, QueryStatus::UnknownServer}},
        {"noSocket", {QueryStatus::SocketFailed, QueryStatus::Waiting}},
        {"hour", {QueryStatus::Waiting, QueryStatus::Answered, 3600}},
        {"hour2", {QueryStatus::Waiting, QueryStatus::Answered, 3600}},
        {"hourAlias", {QueryStatus::Waiting, QueryStatus::Answered, 3600, false, "hour"}},
        {"goodAlias", {QueryStatus::Waiting, QueryStatus::Answered, 0, false, "good"}},
        {"twoHours", {QueryStatus::Waiting, QueryStatus::Answered, 7200}},
        {"deny", {QueryStatus::Waiting, QueryStatus::Denied}},
        {"rate", {QueryStatus::Waiting, QueryStatus::RateLimited}},
        {"nts", {QueryStatus::Waiting, QueryStatus::Answered, 0, true}},
        {"ntsKeFails", {QueryStatus::Waiting, QueryStatus::NtsKeyExchangeFailed}},
    };
    ClockOutcome clock = ClockOutcome::Set;
    bool converts = true;
    bool userSaysYes = false;
    unsigned roundWaitMs = 0;
    std::map<int, std::string> slots;
    std::vector<std::string> asked;
    std::vector<int> rowsAsked;
    std::vector<std::string> rows;
    std::vector<RoundResult> ends;
    std::vector<int64_t> setOffsets;  // seconds, the user's offset included
    std::vector<int64_t> questions;   // seconds
    std::vector<std::string> askedAbout;
    std::vector<int> ended;
};

TEST(SyncRound, OneByOneAsksUntilOneAnswersAndEndsWithItsExitCode)
{
    const struct {
        const char* what;
        std::vector<std::string> servers;
        ClockOutcome clock;
        std::vector<std::string> asked;
        std::vector<std::string> rows;
        int exitCode;
    } cases[] = {
        {"the first answers", {"good", "silent"}, ClockOutcome::Set, {"good"}, {"good 同期成功"}, 0},
        {"silence, then an answer", {"silent", "good"}, ClockOutcome::Set, {"silent", "good"},
         {"silent 応答なし エラー", "good 同期成功"}, 0},
        {"immediate failures are passed at once", {"unknown", "noSocket", "good"}, ClockOutcome::Set,
         {"unknown", "noSocket", "good"}, {"unknown 接続先不明 エラー", "noSocket TCP/IPエラー エラー", "good 同期成功"}, 0},
        {"a refused clock ends the round: no server's fault", {"good", "good2"}, ClockOutcome::NoRight, {"good"},
         {"good 権限エラー"}, 1},
        {"another refusal", {"good"}, ClockOutcome::Failed, {"good"}, {"good エラー"}, 1},
        {"NTS: a failed key exchange, then an authenticated answer", {"ntsKeFails", "nts"}, ClockOutcome::Set,
         {"ntsKeFails", "nts"}, {"ntsKeFails NTS 鍵交換失敗 エラー", "nts 同期成功 (NTS)"}, 0},
        {"NTS: an authenticated answer the clock refuses", {"nts"}, ClockOutcome::NoRight, {"nts"}, {"nts 権限エラー"}, 1},
        {"every server fails", {"silent", "lookupFails", "unknown"}, ClockOutcome::Set,
         {"silent", "lookupFails", "unknown"}, {"silent 応答なし エラー", "lookupFails 接続先不明 エラー", "unknown 接続先不明 エラー"}, 3},
        {"nobody to ask", {}, ClockOutcome::Set, {}, {}, 3},
        // The step limit: an hour alone is held, a second server that says the same sets it.
        {"an hour off, alone", {"hour"}, ClockOutcome::Set, {"hour"}, {"hour 未設定 (ずれ過大)"}, 5},
        {"an hour off, then a good one", {"hour", "good"}, ClockOutcome::Set, {"hour", "good"},
         {"hour 未設定 (ずれ過大)", "good 同期成功"}, 0},
        {"two agree on an hour", {"hour", "silent", "hour2"}, ClockOutcome::NoRight, {"hour", "silent", "hour2"},
         {"hour 未設定 (ずれ過大)", "silent 応答なし エラー", "hour2 権限エラー"}, 1},
        {"an hour and two hours disagree", {"hour", "twoHours"}, ClockOutcome::Set, {"hour", "twoHours"},
         {"hour 未設定 (ずれ過大)", "twoHours 未設定 (ずれ過大)"}, 5},
    };
    for (const auto& c : cases) {
        ScriptedWorld world;
        world.clock = c.clock;
        SyncRound round(world, world, world);
        world.Run(round, c.servers);
        EXPECT_EQ(c.asked, world.asked) << c.what;
        EXPECT_EQ(c.rows, world.rows) << c.what;
        ASSERT_EQ(1u, world.ends.size()) << c.what;
        EXPECT_EQ(c.exitCode, world.ends[0].ExitCode()) << c.what;
        EXPECT_EQ(c.rows.size(), world.ends[0].rows.size()) << c.what;
    }
}

TEST(SyncRound, TogetherSetsFromTheServersThatAgree)
{
    const struct {
        const char* what;
        std::vector<std::string> servers;
        std::vector<std::string> rows;
        std::vector<int64_t> set;  // seconds
        int exitCode;
    } cases[] = {
        // Of equal answers the first is the one set; the others' rows come before its row.
        {"one an hour off is outvoted", {"good", "hour", "good2"}, {"hour 不一致", "good2 一致", "good 同期成功"}, {0}, 0},
        {"a silent one is given its row", {"silent", "good", "good2"}, {"silent 応答なし エラー", "good2 一致", "good 同期成功"},
         {0}, 0},
        {"two agree on an hour: set though large", {"hour", "hour2", "good"}, {"hour2 一致", "good 不一致", "hour 同期成功"},
         {3600}, 0},
        {"no two agree", {"good", "hour", "twoHours"}, {"good 不一致", "hour 不一致", "twoHours 不一致"}, {}, 3},
        {"one answer of two asked is too few, and disagrees with nobody", {"good", "silent"},
         {"silent 応答なし エラー", "good 未設定 (確認なし)"}, {}, 3},
        {"one server under two names is one source", {"good", "goodAlias"},
         {"good 未設定 (確認なし)", "goodAlias 未設定 (確認なし)"}, {}, 3},
        {"one server alone is enough", {"good"}, {"good 同期成功"}, {0}, 0},
        {"but not for an hour", {"hour"}, {"hour 未設定 (ずれ過大)"}, {}, 5},
        {"a server that never ends is cut off once two agree", {"good", "never", "good2"},
         {"never 応答なし エラー", "good2 一致", "good 同期成功"}, {0}, 0},
        {"one still taking samples counts with its best", {"good", "sampling", "good2"},
         {"sampling 一致", "good2 一致", "good 同期成功"}, {0}, 0},
        {"and is outvoted as any", {"good", "samplingHour", "good2"},
         {"samplingHour 不一致", "good2 一致", "good 同期成功"}, {0}, 0},
    };
    for (const auto& c : cases) {
        ScriptedWorld world;
        SyncRound round(world, world, world);
        RoundRules rules;
        rules.together = true;
        world.Run(round, c.servers, rules);
        EXPECT_EQ(c.rows, world.rows) << c.what;
        EXPECT_EQ(c.set, world.setOffsets) << c.what;
        ASSERT_EQ(1u, world.ends.size()) << c.what;
        EXPECT_EQ(c.exitCode, world.ends[0].ExitCode()) << c.what;
    }
}

TEST(SyncRound, TogetherAsksEightAtOnceAndTheNextEightWhileNoTwoAgree)
{
    ScriptedWorld world;
    SyncRound round(world, world, world);
    RoundRules rules;
    rules.together = true;
    world.Run(round, std::vector<std::string>(10, "never"), rules);
    EXPECT_EQ(8u, world.asked.size()) << "eight at once";

    // Twenty ticked, the first eight silent: the round asks on until two agree.
    ScriptedWorld pool;
    SyncRound poolRound(pool, pool, pool);
    std::vector<std::string> list(8, "silent");
    for (const char* more : {"good", "hour", "good2", "good", "good", "good", "good", "good", "good", "good", "good", "good"}) {
        list.push_back(more);
    }
    pool.Run(poolRound, list, rules);
    EXPECT_EQ(16u, pool.asked.size()) << "the second eight, not the rest";
    EXPECT_EQ((std::vector<int64_t>{0}), pool.setOffsets);
    ASSERT_EQ(1u, pool.ends.size());
    EXPECT_EQ(0, pool.ends[0].ExitCode());
}

TEST(SyncRound, AStepIsNotConfirmedByTheSameServerUnderAnotherName)
{
    ScriptedWorld world;
    SyncRound round(world, world, world);
    world.Run(round, {"hour", "hourAlias", "hour2"});
    EXPECT_EQ((std::vector<std::string>{"hour 未設定 (ずれ過大)", "hourAlias 未設定 (ずれ過大)", "hour2 同期成功"}),
              world.rows);
    EXPECT_EQ((std::vector<int64_t>{3600}), world.setOffsets) << "set when another server said the same";
}

TEST(SyncRound, TheUserConfirmsALargeStepInWords)
{
    for (bool yes : {true, false}) {
        ScriptedWorld world;
        world.userSaysYes = yes;
        SyncRound round(world, world, world);
        RoundRules rules;
        rules.userStarted = true;
        rules.offsetSeconds = 30;
        world.Run(round, {"hour", "good"}, rules);
        EXPECT_EQ((std::vector<int64_t>{3630}), world.questions) << "the step with the offset";
        EXPECT_EQ((std::vector<std::string>{"hour"}), world.askedAbout) << "the server's name in the question";
        EXPECT_EQ((std::vector<std::string>{"hour"}), world.asked) << "no second opinion is sought";
        EXPECT_EQ(yes ? std::vector<int64_t>{3630} : std::vector<int64_t>{}, world.setOffsets);
        EXPECT_EQ((std::vector<std::string>{yes ? "hour 同期成功" : "hour 未設定 (ずれ過大)"}), world.rows);
    }
    ScriptedWorld world;
    SyncRound round(world, world, world);
    RoundRules rules;
    rules.userStarted = true;
    rules.maxStepSeconds = 0;  // the guard off
    world.Run(round, {"twoHours"}, rules);
    EXPECT_TRUE(world.questions.empty());
    EXPECT_EQ((std::vector<int64_t>{7200}), world.setOffsets);
}

TEST(SyncRound, AKissIsRowedOnceAndItsRateHoldIsTheIntervalWhenLonger)
{
    // The queries keep a kissing address away (their own tests show how); the round rows the kiss
    // once, rows nothing for a server its kisses keep away, and goes on.
    ScriptedWorld world;
    KissMemory kisses;
    SyncRound round(world, world, world, kisses);
    RoundRules rules;
    rules.intervalMinutes = 60;  // longer than the 15 minutes a RATE kiss asks at least
    world.Run(round, {"deny", "rate", "good"}, rules);
    EXPECT_EQ((std::vector<std::string>{"deny アクセス拒否 エラー", "rate 要求過多 エラー", "good 同期成功"}), world.rows);
    EXPECT_EQ(60u * 60 * 1000, kisses.RateHoldMs());
    world.rows.clear();
    world.servers["deny"].atEnd = QueryStatus::KissedAway;
    world.servers["rate"].atStart = QueryStatus::KissedAway;
    world.Run(round, {"deny", "rate", "good"}, rules);
    EXPECT_EQ((std::vector<std::string>{"good 同期成功"}), world.rows);
    rules.intervalMinutes = 5;
    world.Run(round, {"good"}, rules);
    EXPECT_EQ(15u * 60 * 1000, kisses.RateHoldMs()) << "at least what RATE asks";
}

TEST(SyncRound, ANewRoundReplacesTheOneUnderWayWithoutAWord)
{
    ScriptedWorld world;
    SyncRound round(world, world, world);
    round.Start({{0, "A", "silent"}, {1, "B", "silent"}}, RoundRules());
    round.Start({{2, "C", "good"}}, RoundRules());
    EXPECT_EQ((std::vector<int>{0}), world.ended) << "the first round's query was ended";
    round.OnQueryEnded(0, world.Ended(0, QueryStatus::Answered));
    EXPECT_EQ((std::vector<std::string>{"C 同期成功"}), world.rows);
    EXPECT_EQ(1u, world.ends.size()) << "only the second round ended";
}

TEST(SyncRound, ReportsAfterTheEndOrAStopChangeNothing)
{
    ScriptedWorld world;
    SyncRound round(world, world, world);
    round.Start({{0, "A", "silent"}, {1, "B", "good"}}, RoundRules());
    round.OnQueryEnded(0, world.Ended(0, QueryStatus::Waiting));
    round.Stop();
    round.OnQueryEnded(0, world.Ended(0, QueryStatus::NoAnswer));
    round.OnQueryEnded(0, world.Ended(0, QueryStatus::Answered));
    EXPECT_EQ((std::vector<std::string>{"silent"}), world.asked);
    EXPECT_TRUE(world.rows.empty());
    EXPECT_TRUE(world.ends.empty()) << "a stopped round has no result";
    EXPECT_TRUE(world.setOffsets.empty());
}

TEST(SyncRound, ATimeWithoutALocalConversionSetsNothingAndWritesNoRow)
{
    ScriptedWorld world;
    world.converts = false;
    SyncRound round(world, world, world);
    world.Run(round, {"good", "good2"});
    EXPECT_EQ((std::vector<std::string>{"good"}), world.asked);
    EXPECT_TRUE(world.rows.empty());
    ASSERT_EQ(1u, world.ends.size());
    EXPECT_EQ(3, world.ends[0].ExitCode());
}

}  // namespace
