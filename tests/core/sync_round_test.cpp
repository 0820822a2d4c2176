// A round's course against a scripted query and clock: which servers are asked, the rows, the end
// and the exit code, for every way a server can answer or fail.
#include "sync/sync_round.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// How the scripted servers behave: the status their query starts with (Waiting, or an immediate
// failure) and the status it later ends with.
struct ScriptedServer {
    QueryStatus atStart;
    QueryStatus atEnd;
};

class ScriptedWorld : public RoundQuery, public RoundClock, public RoundLog {
public:
    QueryStatus StartQuery(const std::string& address) override
    {
        asked.push_back(address);
        return servers.at(address).atStart;
    }
    ServerAnswer QueryAnswer() const override { return {0, 0}; }
    void EndQuery() override { ++queriesEnded; }
    AppliedTime SetClockFrom(const ServerAnswer&, int32_t offsetSeconds) override
    {
        offsetsSet.push_back(offsetSeconds);
        return {converts, {2026, 12, 2, 8, 14, 35, 2, 7}, {clock, clock == ClockOutcome::Set ? 0u : 1314u, {}}};
    }
    void OnAsking(const RoundServer& server) override { rowsAsked.push_back(server.row); }
    void AddRow(const LogRow& row) override { rows.push_back(row.server + " " + row.serverTime + " " + row.status); }
    void OnRoundEnded(const RoundResult& result) override { ends.push_back(result); }

    // Runs a round over the named servers, ending each waiting query as scripted, in order.
    void Run(SyncRound& round, const std::vector<std::string>& addresses)
    {
        std::vector<RoundServer> list;
        for (size_t i = 0; i < addresses.size(); ++i) {
            list.push_back({static_cast<int>(i), "S" + addresses[i], addresses[i]});
        }
        round.Start(list, 30);
        while (round.Running()) {
            round.OnQueryEnded(servers.at(asked.back()).atEnd);
        }
    }

    std::map<std::string, ScriptedServer> servers = {
        {"good", {QueryStatus::Waiting, QueryStatus::Answered}},
        {"silent", {QueryStatus::Waiting, QueryStatus::NoAnswer}},
        {"unknown", {QueryStatus::UnknownServer, QueryStatus::Waiting}},
        {"lookupFails", {QueryStatus::Waiting, QueryStatus::UnknownServer}},
        {"noSocket", {QueryStatus::SocketFailed, QueryStatus::Waiting}},
    };
    ClockOutcome clock = ClockOutcome::Set;
    bool converts = true;
    std::vector<std::string> asked;
    std::vector<int> rowsAsked;
    std::vector<std::string> rows;
    std::vector<RoundResult> ends;
    std::vector<int32_t> offsetsSet;
    int queriesEnded = 0;
};

TEST(SyncRound, AsksUntilOneAnswersAndEndsWithItsExitCode)
{
    const struct {
        const char* what;
        std::vector<std::string> servers;
        ClockOutcome clock;
        std::vector<std::string> asked;
        std::vector<std::string> rows;
        int exitCode;
    } cases[] = {
        {"the first answers", {"good", "silent"}, ClockOutcome::Set, {"good"},
         {"Sgood 2026/12/08 14:35:02 [+30] 同期成功"}, 0},
        {"silence, then an answer", {"silent", "good"}, ClockOutcome::Set, {"silent", "good"},
         {"Ssilent 応答なし エラー", "Sgood 2026/12/08 14:35:02 [+30] 同期成功"}, 0},
        {"immediate failures are passed at once", {"unknown", "noSocket", "good"}, ClockOutcome::Set,
         {"unknown", "noSocket", "good"},
         {"Sunknown 接続先不明 エラー", "SnoSocket TCP/IPエラー エラー", "Sgood 2026/12/08 14:35:02 [+30] 同期成功"}, 0},
        {"a refused clock ends the round: no server's fault", {"good", "good"}, ClockOutcome::NoRight, {"good"},
         {"Sgood 2026/12/08 14:35:02 [+30] 権限エラー"}, 1},
        {"another refusal", {"good"}, ClockOutcome::Failed, {"good"}, {"Sgood 2026/12/08 14:35:02 [+30] エラー"}, 1},
        {"every server fails", {"silent", "lookupFails", "unknown"}, ClockOutcome::Set,
         {"silent", "lookupFails", "unknown"},
         {"Ssilent 応答なし エラー", "SlookupFails 接続先不明 エラー", "Sunknown 接続先不明 エラー"}, 3},
        {"nobody to ask", {}, ClockOutcome::Set, {}, {}, 3},
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

TEST(SyncRound, TheOffsetGoesToTheClockAndTheRowsNameEachServerAsked)
{
    ScriptedWorld world;
    SyncRound round(world, world, world);
    world.Run(round, {"silent", "silent", "good"});
    EXPECT_EQ((std::vector<int>{0, 1, 2}), world.rowsAsked);
    EXPECT_EQ((std::vector<int32_t>{30}), world.offsetsSet);
}

TEST(SyncRound, ATimeWithoutALocalConversionSetsNothingAndWritesNoRow)
{
    ScriptedWorld world;
    world.converts = false;
    SyncRound round(world, world, world);
    world.Run(round, {"good", "good"});
    EXPECT_EQ((std::vector<std::string>{"good"}), world.asked);
    EXPECT_TRUE(world.rows.empty());
    ASSERT_EQ(1u, world.ends.size());
    EXPECT_EQ(3, world.ends[0].ExitCode());
}

TEST(SyncRound, ANewRoundReplacesTheOneUnderWayWithoutAWord)
{
    ScriptedWorld world;
    SyncRound round(world, world, world);
    round.Start({{0, "A", "silent"}, {1, "B", "silent"}}, 0);
    round.Start({{2, "C", "good"}}, 0);
    EXPECT_EQ(1, world.queriesEnded) << "the first round's query was ended";
    round.OnQueryEnded(QueryStatus::Answered);
    EXPECT_EQ((std::vector<std::string>{"C 2026/12/08 14:35:02.0007 同期成功"}), world.rows);
    EXPECT_EQ(1u, world.ends.size()) << "only the second round ended";
}

TEST(SyncRound, ReportsAfterTheEndOrAStopChangeNothing)
{
    ScriptedWorld world;
    SyncRound round(world, world, world);
    round.Start({{0, "A", "silent"}, {1, "B", "good"}}, 0);
    round.OnQueryEnded(QueryStatus::Waiting);
    round.Stop();
    round.OnQueryEnded(QueryStatus::NoAnswer);
    round.OnQueryEnded(QueryStatus::Answered);
    EXPECT_EQ((std::vector<std::string>{"silent"}), world.asked);
    EXPECT_TRUE(world.rows.empty());
    EXPECT_TRUE(world.ends.empty()) << "a stopped round has no result";
    EXPECT_TRUE(world.offsetsSet.empty());
}

}  // namespace
