// Automatic mode as a scheduled task runs it: one round whatever the interval, told to close before a
// result, and without a list; each end with its exit code and its line in horavo.log.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../peers.h"
#include "../program_run.h"

namespace {

std::string LastLine(const std::string& log)
{
    const size_t start = log.rfind("\r\n", log.size() < 3 ? 0 : log.size() - 3);
    return start == std::string::npos ? log : log.substr(start + 2);
}

TEST(AutomaticMode, ARoundLongerThanTheIntervalIsTheOnlyOne)
{
    // Sixteen silent servers take about 64 s: the interval of a minute passes during the round, and
    // must neither start a second round nor count the servers again. Sixteen of them, as a round
    // asks one address no more than eight times.
    ProgramRun run;
    std::string list;
    std::vector<size_t> requestsBefore;
    for (int i = 1; i <= 16; ++i) {
        const std::string peer = "sixteen" + std::to_string(i);
        list += "1\tSilent" + std::to_string(i) + "\t" + PeerAddress(peer) + "\r\n";
        requestsBefore.push_back(PeerRequestTransmits(peer).size());
    }
    run.WriteFile("server.data", list);
    run.WriteFile("horavo.ini", "[SETTING]\r\nINTERVAL=1\r\n");
    ASSERT_TRUE(run.Start("-auto"));
    EXPECT_EQ(3u, run.WaitForExit(16 * 4000 + 6000));
    for (int i = 1; i <= 16; ++i) {
        EXPECT_EQ(2u, PeerRequestTransmits("sixteen" + std::to_string(i)).size() - requestsBefore[i - 1u])
            << "each server asked once, twice each: " << i;
    }
    EXPECT_NE(std::string::npos, LastLine(run.ReadFile("horavo.log")).find("\t終了コード 3\t\r\n"));
}

TEST(AutomaticMode, ToldToCloseBeforeAResultItWritesNoFileAndEndsWithFour)
{
    ProgramRun run;
    const std::string list = "1\tSilent\t" + PeerAddress("silent") + "\r\n";
    const std::string settings = "[SETTING]\r\nINTERVAL=5\r\n";
    run.WriteFile("server.data", list);
    run.WriteFile("horavo.ini", settings);
    ASSERT_TRUE(run.Start("-auto"));
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    Sleep(1500);  // the round is under way
    PostMessageA(window, WM_CLOSE, 0, 0);  // as taskkill without /f
    EXPECT_EQ(4u, run.WaitForExit(3000));
    EXPECT_EQ(list, run.ReadFile("server.data"));
    EXPECT_EQ(settings, run.ReadFile("horavo.ini"));
    EXPECT_EQ("\t自動モード\t結果の前に終了を指示されました\t\t終了コード 4\t\r\n",
              LastLine(run.ReadFile("horavo.log")).substr(19));
}

TEST(AutomaticMode, WithoutAServerListItSaysSo)
{
    ProgramRun run;
    ASSERT_TRUE(run.Start("-auto"));
    EXPECT_EQ(3u, run.WaitForExit());
    EXPECT_EQ("\t自動モード\tserver.data がないか、読めません\t\t終了コード 3\t\r\n",
              LastLine(run.ReadFile("horavo.log")).substr(19));
    EXPECT_EQ("<missing>", run.ReadFile("server.data"));
}

}  // namespace
