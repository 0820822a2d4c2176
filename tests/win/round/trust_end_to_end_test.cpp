// Whom horavo.exe believes, end to end against loopback servers: IPv6 servers, kiss-o'-death replies,
// several servers that must agree, and a large correction that needs a second opinion.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "../log_texts.h"
#include "../peers.h"
#include "../program_run.h"

namespace {

const char kSynced[] = "同期成功";
const char kRefused[] = "権限エラー";
const char kHeld[] = "未設定 (ずれ過大)";

// The program on a list, its window found; each synchronisation is the tray's 今すぐ同期.
struct Window {
    explicit Window(const std::string& list, const std::string& settings = "")
    {
        run.WriteFile("server.data", list);
        if (!settings.empty()) {
            run.WriteFile("horavo.ini", settings);
        }
        EXPECT_TRUE(run.Start());
        window = run.WaitForMainWindow();
        EXPECT_NE(nullptr, window);
        // Found is not yet set up: a click before the window is shown may go unanswered.
        EXPECT_TRUE(ProgramRun::WaitUntilShown(window));
    }
    std::vector<LogRow> SyncNow(size_t rowsAfter, DWORD limitMs = 15000)
    {
        PostMessageA(window, WM_COMMAND, 40001, 0);  // 今すぐ同期
        return run.WaitForLogRows(window, rowsAfter, limitMs);
    }
    ProgramRun run;
    HWND window = nullptr;
};

std::string Ticked(const char* name, const std::string& address)
{
    return std::string("1\t") + name + "\t" + address + "\r\n";
}

TEST(Trust, IPv6ServersSynchronise)
{
    for (const std::string& address : {PeerAddress6("good6"), std::string("::1")}) {
        Window program("0\tSix\t" + address + "\r\n");
        // A machine busy enough can hold a loopback reply past the query's 4 s: 応答なし is then the
        // right row, and the server is asked again; any other row is a failure at once.
        std::vector<LogRow> rows;
        for (size_t attempt = 1; attempt <= 3 && (rows.empty() || rows.back()[1] == "応答なし"); ++attempt) {
            SendMessageA(GetDlgItem(program.window, 1000), BM_CLICK, 0, 0);
            rows = program.run.WaitForLogRows(program.window, attempt);
            ASSERT_EQ(attempt, rows.size()) << address;
        }
        EXPECT_EQ(kSynced, rows.back()[3]) << address << ": " << rows.back()[1];
    }
}

TEST(Trust, AKissKeepsItsServerAwayAsItAsked)
{
    // A refusing server has its row once and is never asked again; a rate-limited one is skipped.
    for (const char* kiss : {"deny", "rate"}) {
        Window program(Ticked(kiss, PeerAddress(kiss)) + Ticked("Good", PeerAddress("good")));
        const size_t before = PeerRequestTransmits(kiss).size();
        std::vector<LogRow> rows = program.SyncNow(2);
        ASSERT_EQ(2u, rows.size()) << kiss;
        EXPECT_EQ(std::string(kiss) == "deny" ? "アクセス拒否" : "要求過多", rows[0][1]) << kiss;
        EXPECT_EQ(kSynced, rows[1][3]) << kiss;
        rows = program.SyncNow(3);
        ASSERT_EQ(3u, rows.size()) << kiss;
        EXPECT_EQ("Good", rows[2][0]) << kiss << ": the next round asks the other server alone";
        EXPECT_EQ(1u, PeerRequestTransmits(kiss).size() - before) << kiss;
    }
}

TEST(Trust, SeveralServersOutvoteOneAnHourOff)
{
    Window program(Ticked("Good", PeerAddress("good")) + Ticked("Hour", PeerAddress("hour")) +
                       Ticked("Good2", PeerAddress("good2")),
                   "[SETTING]\r\nCONSENSUS=1\r\n");
    const std::vector<LogRow> rows = program.SyncNow(3);
    ASSERT_EQ(3u, rows.size());
    // Whichever of the two agreeing servers is nearer their median sets the clock; the row that
    // sets it comes last, the other two in the list's order, so Hour's row is first or second.
    const size_t hour = rows[0][0] == "Hour" ? 0 : 1;
    const size_t agreed = 1 - hour;
    EXPECT_EQ((LogRow{"Hour", rows[hour][1], rows[hour][2], "不一致", rows[hour][4]}), rows[hour]);
    EXPECT_NEAR(3600, TimeTextSeconds(rows[hour][1]) - TimeTextSeconds(rows[hour][2]), 1.0) << "its own time";
    EXPECT_NEAR(3600, std::atof(rows[hour][4].c_str()), 1.0) << "the correction column says the same: " << rows[hour][4];
    EXPECT_EQ("一致", rows[agreed][3]);
    EXPECT_EQ("同期成功", rows[2][3]);
    EXPECT_NE(rows[agreed][0], rows[2][0]);
    EXPECT_NE("Hour", rows[2][0]);
}

TEST(Trust, AutomaticModeSetsATwoHourStepOnlyWhenTwoServersAgree)
{
    const struct {
        const char* what;
        std::string list;
        DWORD exitCode;
        std::vector<std::string> statuses;
    } cases[] = {
        {"one server two hours off", Ticked("Two", PeerAddress("twohours")), 5, {kHeld}},
        {"two agree", Ticked("Two", PeerAddress("twohours")) + Ticked("Twin", PeerAddress("twohours2")), 1,
         {kHeld, kRefused}},  // Wine refuses any far step: the attempt shows as 権限エラー
    };
    for (const auto& c : cases) {
        ProgramRun run;
        run.WriteFile("server.data", c.list);
        ASSERT_TRUE(run.Start("-auto"));
        EXPECT_EQ(c.exitCode, run.WaitForExit(12000)) << c.what;
        const std::string log = run.ReadFile("horavo.log");
        std::vector<std::string> statuses;
        for (size_t at = 0; (at = log.find("\r\n", at)) != std::string::npos; at += 2) {
            const size_t end = log.rfind('\t', at);  // the correction is the last field
            const size_t start = log.rfind('\t', end - 1) + 1;
            const std::string exitCodeLine = "終了コード";
            if (log.compare(start, exitCodeLine.size(), exitCodeLine) != 0) {  // automatic mode's own line
                statuses.push_back(log.substr(start, end - start));
            }
        }
        EXPECT_EQ(c.statuses, statuses) << c.what << "\n" << log;
    }
}

TEST(Trust, TheUserIsAskedInWordsBeforeALargeStep)
{
    Window program("0\tTwo\t" + PeerAddress("twohours") + "\r\n");
    PostMessageA(GetDlgItem(program.window, 1000), BM_CLICK, 0, 0);
    // The question box of the program's process.
    HWND box = nullptr;
    for (int polls = 0; box == nullptr && polls < 750; ++polls) {
        Sleep(20);
        HWND found = FindWindowA("#32770", "時計の大きな修正");
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (found != nullptr && owner == GetProcessId(program.run.Process())) {
            box = found;
        }
    }
    ASSERT_NE(nullptr, box);
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    const std::string question = text;
    EXPECT_EQ(0u, question.find("Two の時刻: ")) << "who says so: " << question;
    EXPECT_NE(std::string::npos, question.find("このコンピュータの時計: ")) << question;
    EXPECT_NE(std::string::npos, question.find("タイム ゾーン")) << "two whole hours: the zone suspected";
    const std::string step = "時計を 2 時間 進めます。よろしいですか？";
    EXPECT_EQ(question.size() - step.size(), question.rfind(step)) << question;
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    const std::vector<LogRow> rows = program.run.WaitForLogRows(program.window, 1);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(kHeld, rows[0][3]) << "いいえ sets nothing";
}

// -auto's exit code and the reason its end line gives.
std::pair<DWORD, std::string> AutomaticEnd(const std::string& list, const std::string& settings = "")
{
    ProgramRun run;
    run.WriteFile("server.data", list);
    if (!settings.empty()) {
        run.WriteFile("horavo.ini", settings);
    }
    EXPECT_TRUE(run.Start("-auto"));
    const DWORD code = run.WaitForExit(60000);
    const std::string log = run.ReadFile("horavo.log");
    const size_t line = log.rfind("\t自動モード\t");
    const size_t reason = line == std::string::npos ? line : line + std::string("\t自動モード\t").size();
    return {code, reason == std::string::npos ? log : log.substr(reason, log.find('\t', reason) - reason)};
}

TEST(Trust, OneServerUnderTwoNamesIsOneSource)
{
    // The server an hour off, listed twice: never two servers that agree.
    const std::string list = Ticked("Hour", PeerAddress("hour")) + Ticked("HourAgain", PeerAddress("hour"));
    EXPECT_EQ(std::make_pair(DWORD{3}, std::string("応答したサーバが 1 台だけで確かめられません")),
              AutomaticEnd(list, "[SETTING]\r\nCONSENSUS=1\r\n"))
        << "asked together";
    EXPECT_EQ(std::make_pair(DWORD{5}, std::string("ずれが大きすぎ、確かめるサーバもないため設定しませんでした")),
              AutomaticEnd(list))
        << "one by one, under the step limit";
}

TEST(Trust, TogetherAsksOnPastEightSilentServersUntilTwoAgree)
{
    std::string list;
    for (int i = 0; i < 8; ++i) {
        list += Ticked("Silent", PeerAddress("silent"));
    }
    list += Ticked("Good", PeerAddress("good")) + Ticked("Good2", PeerAddress("good2"));
    for (int i = 0; i < 10; ++i) {
        list += Ticked("More", PeerAddress("good"));
    }
    EXPECT_EQ(std::make_pair(DWORD{0}, std::string("時刻を合わせました")),
              AutomaticEnd(list, "[SETTING]\r\nCONSENSUS=1\r\n"));
    // Two answered of two asked, one silent: too few, and nothing disagreed.
    EXPECT_EQ(std::make_pair(DWORD{3}, std::string("応答したサーバが 1 台だけで確かめられません")),
              AutomaticEnd(Ticked("Good", PeerAddress("good")) + Ticked("Silent", PeerAddress("silent")),
                           "[SETTING]\r\nCONSENSUS=1\r\n"));
}

TEST(Trust, ADenyFromOneAddressOfANameLeavesItsOtherAddressesAsked)
{
    // tempivo-two.test is ::1 (a server that sends DENY) and 127.0.0.1 (a good one), one port.
    Window program(Ticked("Two", "tempivo-two.test:" + std::to_string(PeerPort("twogood"))));
    const size_t before = PeerRequestTransmits("twodeny").size();
    for (size_t round = 1; round <= 2; ++round) {
        const std::vector<LogRow> rows = program.SyncNow(round);
        ASSERT_EQ(round, rows.size());
        EXPECT_EQ(kSynced, rows.back()[3]) << "round " << round << ": " << rows.back()[1];
    }
    EXPECT_EQ(1u, PeerRequestTransmits("twodeny").size() - before) << "asked once, then left alone";
}

}  // namespace
