// Synchronisations of horavo.exe as a process against loopback time servers, read from its log list.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "../log_texts.h"
#include "../peers.h"
#include "../program_run.h"

namespace {

const char kSynced[] = "同期成功";
const char kRefused[] = "権限エラー";
const char kError[] = "エラー";
const char kUnknownServer[] = "接続先不明";
const char kNoAnswer[] = "応答なし";

// Runs the program with one server row and optional settings, presses 同期, and returns the rows
// that came within the limit (at most one is waited for).
std::vector<LogRow> SyncOnce(const std::string& name, const std::string& address, const std::string& settings = "",
                             DWORD limitMs = 15000)
{
    ProgramRun run;
    run.WriteFile("server.data", "0\t" + name + "\t" + address + "\r\n");
    if (!settings.empty()) {
        run.WriteFile("horavo.ini", settings);
    }
    EXPECT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    EXPECT_NE(nullptr, window);
    if (window == nullptr) {
        return {};
    }
    SendMessageA(GetDlgItem(window, 1000), BM_CLICK, 0, 0);
    return run.WaitForLogRows(window, 1, limitMs);
}

TEST(SyncEndToEnd, AReplyNearTheRealTimeSetsTheClock)
{
    const std::vector<LogRow> rows = SyncOnce("Good", PeerAddress("good"));
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("Good", rows[0][0]);
    EXPECT_TRUE(IsMillisecondTimeText(rows[0][1])) << rows[0][1];
    EXPECT_TRUE(IsMillisecondTimeText(rows[0][2])) << rows[0][2];
    EXPECT_EQ(kSynced, rows[0][3]);
    EXPECT_NEAR(TimeTextSeconds(rows[0][2]), TimeTextSeconds(rows[0][1]), 0.5)
        << "the server's time is the time of the local clock read before it was set";
}

TEST(SyncEndToEnd, AReplyFarFromTheRealTimeIsRefused)
{
    // The step limit off: the clock itself is what refuses here.
    const std::vector<LogRow> rows = SyncOnce("Far", PeerAddress("far"), "[SETTING]\r\nMAXSTEP=0\r\n");
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(kRefused, rows[0][3]);
    EXPECT_TRUE(IsMillisecondTimeText(rows[0][1])) << rows[0][1];
    EXPECT_TRUE(IsMillisecondTimeText(rows[0][2])) << rows[0][2];
    EXPECT_NEAR(3600, TimeTextSeconds(rows[0][1]) - TimeTextSeconds(rows[0][2]), 1.0);
}

TEST(SyncEndToEnd, TheOffsetIsAddedAndShown)
{
    const struct {
        int offset;
        const char* status;
    } cases[] = {{30, kRefused}, {-360, kRefused}, {5, kRefused}};
    for (const auto& c : cases) {
        const std::string settings = "[SETTING]\r\nOFFSET=" + std::to_string(c.offset) + "\r\n";
        const std::vector<LogRow> rows = SyncOnce("Good", PeerAddress("good"), settings);
        ASSERT_EQ(1u, rows.size()) << c.offset;
        EXPECT_TRUE(IsOffsetTimeText(rows[0][1], c.offset)) << rows[0][1];
        EXPECT_TRUE(IsMillisecondTimeText(rows[0][2])) << rows[0][2];
        EXPECT_NEAR(c.offset, TimeTextSeconds(rows[0][1]) - TimeTextSeconds(rows[0][2]), 1.5) << c.offset;
        EXPECT_EQ(c.status, rows[0][3]) << c.offset;
    }
}

TEST(SyncEndToEnd, AHostNameIsLookedUpFirst)
{
    const std::vector<LogRow> rows = SyncOnce("Localhost", "localhost:" + std::to_string(PeerPort("good")));
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(kSynced, rows[0][3]);
}

TEST(SyncEndToEnd, ANameThatDoesNotResolveIsReported)
{
    const std::vector<LogRow> rows = SyncOnce("Nowhere", "no-such-host.invalid", "", 20000);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ((LogRow{"Nowhere", kUnknownServer, "", kError}), rows[0]);
}

TEST(SyncEndToEnd, AnAddressThatDoesNotFitIsReportedAtOnce)
{
    for (const std::string& address : {std::string(300, 'h'), std::string("localhost:12345678")}) {
        const std::vector<LogRow> rows = SyncOnce("Bad", address);
        ASSERT_EQ(1u, rows.size()) << address;
        EXPECT_EQ((LogRow{"Bad", kUnknownServer, "", kError}), rows[0]) << address;
    }
}

TEST(SyncEndToEnd, ASilentServerIsAskedTwiceThenReportedAsNotAnswering)
{
    const size_t before = PeerRequestTransmits("mute").size();
    const DWORD start = GetTickCount();
    const std::vector<LogRow> rows = SyncOnce("Mute", PeerAddress("mute"), "", 8000);
    const DWORD elapsed = GetTickCount() - start;
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ((LogRow{"Mute", kNoAnswer, "", kError}), rows[0]);
    EXPECT_GE(elapsed, 4000u) << "two requests, two seconds each";
    const std::vector<std::string> requests = PeerRequestTransmits("mute");
    ASSERT_EQ(before + 2, requests.size()) << "the request and the one sent again";
    EXPECT_NE(requests[before], requests[before + 1]) << "each request has an origin value of its own";
}

// The peer answers from its second request on: the first query hears the silence and asks again,
// then takes its samples; later ones take theirs at once, as many as SAMPLES says.
TEST(SyncEndToEnd, AServerThatAnswersOnlyTheSecondRequestSetsTheClock)
{
    const struct {
        const char* settings;
        size_t samples;
    } cases[] = {{"", 4}, {"[SETTING]\r\nSAMPLES=1\r\n", 1}, {"[SETTING]\r\nSAMPLES=12\r\n", 8}};
    for (const auto& c : cases) {
        const size_t before = PeerRequestTransmits("second").size();
        const std::vector<LogRow> rows = SyncOnce("Second", PeerAddress("second"), c.settings, 8000);
        ASSERT_EQ(1u, rows.size()) << c.settings;
        EXPECT_EQ(kSynced, rows[0][3]) << c.settings;
        EXPECT_EQ(c.samples + (before == 0 ? 1 : 0), PeerRequestTransmits("second").size() - before) << c.settings;
    }
}

// Replies held on their way back make the server's time look late by half the hold: of four
// samples, the three held ones would each move the clock about 0.6 s; the quick last one is used.
TEST(SyncEndToEnd, TheSampleWithTheShortestRoundTripSetsTheClock)
{
    ASSERT_EQ(0u, PeerRequestTransmits("lateback").size()) << "its first replies are the held ones";
    const std::vector<LogRow> rows = SyncOnce("Late", PeerAddress("lateback"), "", 10000);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(kSynced, rows[0][3]) << rows[0][4];
    EXPECT_LT(std::fabs(std::atof(rows[0][4].c_str())), 0.2) << "the correction of the quick sample: " << rows[0][4];
    EXPECT_EQ(4u, PeerRequestTransmits("lateback").size());
}

TEST(SyncEndToEnd, TheNextTickedServerIsAskedAfterASilentOne)
{
    ProgramRun run;
    run.WriteFile("server.data", "1\tSilent\t" + PeerAddress("silent") + "\r\n0\tSkipped\t" + PeerAddress("far") +
                                     "\r\n1\tGood\t" + PeerAddress("good") + "\r\n");
    run.WriteFile("horavo.ini", "[STARTUP]\r\nAJAST=1\r\n");
    ASSERT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    const std::vector<LogRow> rows = run.WaitForLogRows(window, 2, 10000);
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ((LogRow{"Silent", kNoAnswer, "", kError}), rows[0]);
    EXPECT_EQ("Good", rows[1][0]);
    EXPECT_EQ(kSynced, rows[1][3]);
}

TEST(SyncEndToEnd, DatagramsThatMustNotSetTheClockAreDroppedAndTheGoodReplyTaken)
{
    for (const char* peer : {"spoofed", "short", "zero", "unsynchronised", "kiss", "before1970", "otherorigin",
                             "mode3", "mode5", "version0", "stratum16"}) {
        const std::vector<LogRow> rows = SyncOnce(peer, PeerAddress(peer));
        ASSERT_EQ(1u, rows.size()) << peer;
        EXPECT_EQ(kSynced, rows[0][3]) << peer << ": only the proper reply came through";
        EXPECT_NEAR(TimeTextSeconds(rows[0][2]), TimeTextSeconds(rows[0][1]), 0.5) << peer;
    }
}

TEST(SyncEndToEnd, AReplyLongerThanTheHeaderSetsTheClock)
{
    // 68 bytes: a key identifier and a digest behind the 48 bytes of the reply.
    const std::vector<LogRow> rows = SyncOnce("Long", PeerAddress("long"));
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(kSynced, rows[0][3]);
}

TEST(SyncEndToEnd, ATzVariableDoesNotMoveTheClock)
{
    // Unix-style tool sets on Windows put TZ into the environment; the clock follows the system's
    // zone whatever it says. A TZ nine hours or more from the system's zone would be refused.
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    SetEnvironmentVariableA("TZ", zone.Bias == -540 ? "UTC0" : "JST-9");
    const std::vector<LogRow> rows = SyncOnce("Good", PeerAddress("good"));
    SetEnvironmentVariableA("TZ", nullptr);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(kSynced, rows[0][3]);
    EXPECT_NEAR(TimeTextSeconds(rows[0][2]), TimeTextSeconds(rows[0][1]), 0.5);
}

TEST(SyncEndToEnd, TheButtonAsksTheSelectedRowWhateverItsBox)
{
    ProgramRun run;
    run.WriteFile("server.data", "1\tTicked\t" + PeerAddress("silent") + "\r\n0\tUnticked\t" + PeerAddress("good") + "\r\n");
    ASSERT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    run.SelectServerRow(window, 1);
    SendMessageA(GetDlgItem(window, 1000), BM_CLICK, 0, 0);
    const std::vector<LogRow> rows = run.WaitForLogRows(window, 1);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("Unticked", rows[0][0]);
    EXPECT_EQ(kSynced, rows[0][3]);
}

TEST(SyncEndToEnd, TheStartUpOptionSynchronisesTheFirstTickedRowAtOnce)
{
    ProgramRun run;
    run.WriteFile("server.data", "0\tFirst\t" + PeerAddress("far") + "\r\n1\tSecond\t" + PeerAddress("good") + "\r\n");
    run.WriteFile("horavo.ini", "[STARTUP]\r\nAJAST=1\r\n");
    ASSERT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    const std::vector<LogRow> rows = run.WaitForLogRows(window, 1);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("Second", rows[0][0]);
    EXPECT_EQ(kSynced, rows[0][3]);
}

TEST(SyncEndToEnd, TheNewestRowIsTheSelectedOne)
{
    ProgramRun run;
    run.WriteFile("server.data", "0\tGood\t" + PeerAddress("good") + "\r\n");
    ASSERT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    for (size_t n = 1; n <= 3; ++n) {
        SendMessageA(GetDlgItem(window, 1000), BM_CLICK, 0, 0);
        ASSERT_EQ(n, run.WaitForLogRows(window, n).size());
    }
    HWND log = GetDlgItem(window, 1002);
    EXPECT_EQ(2, SendMessageA(log, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

TEST(SyncEndToEnd, ARealNtpServerIsUnderstood)
{
    ASSERT_NE(0, PeerPort("chrony")) << "chronyd -x is one of the test peers";
    const std::vector<LogRow> rows = SyncOnce("chrony", PeerAddress("chrony"));
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(kSynced, rows[0][3]);
    EXPECT_NEAR(TimeTextSeconds(rows[0][2]), TimeTextSeconds(rows[0][1]), 0.5);
}

TEST(SyncEndToEnd, AFloodOfDatagramsCannotHoldOffNoAnswer)
{
    // Junk from another port, about ten thousand datagrams a second, from the first request on.
    ProgramRun run;
    run.WriteFile("server.data", "0\tFlooded\t" + PeerAddress("flood") + "\r\n");
    ASSERT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    const DWORD start = GetTickCount();
    PostMessageA(GetDlgItem(window, 1000), BM_CLICK, 0, 0);
    const std::vector<LogRow> rows = run.WaitForLogRows(window, 1, 8000);
    const DWORD took = GetTickCount() - start;
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ((LogRow{"Flooded", kNoAnswer, "", kError}), rows[0]);
    EXPECT_NEAR(4000.0, static_cast<double>(took), 500.0) << "two waits of 2 s, however many datagrams come";
}

struct AutoCase {
    const char* what;
    std::vector<const char*> peers;  // one ticked row each, in this order
    DWORD exitCode;
    const char* why;  // the last line of horavo.log
};

TEST(SyncEndToEnd, AutomaticModeEndsWithTheOutcomeAndLeavesTheFilesAlone)
{
    const AutoCase cases[] = {
        {"a good server", {"good"}, 0, "時刻を合わせました"},
        {"a refused clock", {"near"}, 1, "時刻を設定できませんでした"},
        {"a silent server, then a good one", {"silent", "good"}, 0, "時刻を合わせました"},
        {"silent servers only", {"silent", "silent"}, 3, "応答したサーバがありません"},
        {"no ticked row", {}, 3, "チェックされたサーバがありません"},
    };
    for (const AutoCase& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramRun run;
        std::string list = "0\tUnticked\t" + PeerAddress("good") + "\r\n";
        for (const char* peer : c.peers) {
            list += std::string("1\t") + peer + "\t" + PeerAddress(peer) + "\r\n";
        }
        const std::string settings = "[SETTING]\r\nINTERVAL=5\r\n";
        run.WriteFile("server.data", list);
        run.WriteFile("horavo.ini", settings);
        ASSERT_TRUE(run.Start("-auto"));
        // Each server within five seconds, after the first tick.
        EXPECT_EQ(c.exitCode, run.WaitForExit(static_cast<DWORD>(2000 + 5000 * c.peers.size())));
        EXPECT_EQ(list, run.ReadFile("server.data"));
        EXPECT_EQ(settings, run.ReadFile("horavo.ini"));
        const std::string log = run.ReadFile("horavo.log");
        const std::string last = std::string("\t自動モード\t") + c.why + "\t\t終了コード " + std::to_string(c.exitCode) + "\t\r\n";
        EXPECT_EQ(last, log.substr(log.size() < last.size() ? 0 : log.size() - last.size())) << log;
    }
}

TEST(SyncEndToEnd, AutomaticModeWritesNoSettingsFileWhereThereWasNone)
{
    ProgramRun run;
    run.WriteFile("server.data", "1\tServer\t" + PeerAddress("good") + "\r\n");
    ASSERT_TRUE(run.Start("-auto"));
    EXPECT_EQ(0u, run.WaitForExit());
    EXPECT_EQ("<missing>", run.ReadFile("horavo.ini"));
}

}  // namespace
