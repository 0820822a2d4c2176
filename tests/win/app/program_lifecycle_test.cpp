// horavo.exe as a process: how it shows itself, how it ends, and the files it leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include "../peers.h"
#include "../program_run.h"

namespace {

const char kServerList[] = "1\tNICT\tntp.nict.jp\r\n0\tGoogle\ttime.google.com\r\n";

TEST(ProgramLifecycle, TheExitButtonEndsWithCodeTwoAndSavesBothFiles)
{
    ProgramRun run;
    run.WriteFile("server.data", kServerList);
    run.WriteFile("horavo.ini", "[SETTING]\r\nINTERVAL=15\r\nOFFSET=-30\r\n");
    ASSERT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(IsWindowVisible(window));
    SendMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(2u, run.WaitForExit());
    EXPECT_EQ(kServerList, run.ReadFile("server.data"));
    const std::string settings = run.ReadFile("horavo.ini");
    EXPECT_NE(std::string::npos, settings.find("INTERVAL=15")) << settings;
    EXPECT_NE(std::string::npos, settings.find("OFFSET=-30")) << settings;
    EXPECT_NE(std::string::npos, settings.find("TASKTRAY=0")) << settings;
    EXPECT_NE(std::string::npos, settings.find("AJAST=0")) << settings;
}

TEST(ProgramLifecycle, EscapeAndTheCloseBoxEndWithCodeTwo)
{
    {
        ProgramRun run;
        ASSERT_TRUE(run.Start());
        HWND window = run.WaitForMainWindow();
        ASSERT_NE(nullptr, window);
        // Esc goes to the control with the focus; the dialog keys turn it into the exit command.
        PostMessageA(GetDlgItem(window, 1001), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        EXPECT_EQ(2u, run.WaitForExit());
        EXPECT_EQ("", run.ReadFile("server.data"));
    }
    {
        ProgramRun run;
        ASSERT_TRUE(run.Start());
        HWND window = run.WaitForMainWindow();
        ASSERT_NE(nullptr, window);
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(2u, run.WaitForExit());
        EXPECT_NE("<missing>", run.ReadFile("horavo.ini"));
    }
}

TEST(ProgramLifecycle, TaskTrayOneStartsHidden)
{
    ProgramRun run;
    run.WriteFile("horavo.ini", "[STARTUP]\r\nTASKTRAY=1\r\n");
    ASSERT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_FALSE(IsWindowVisible(window)) << "minimised, and so gone into the tray";
}

TEST(ProgramLifecycle, TaskTrayTwoStartsShown)
{
    ProgramRun run;
    run.WriteFile("horavo.ini", "[STARTUP]\r\nTASKTRAY=2\r\n");
    ASSERT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
}

TEST(ProgramLifecycle, AutomaticModeStartsHiddenAndOnlyForTheWholeWord)
{
    const struct {
        const char* arguments;
        bool automatic;
    } cases[] = {{"-AUTO", true}, {"  -auto", true}, {"-auto now", false}, {"/auto", false}};
    for (const auto& c : cases) {
        ProgramRun run;
        ASSERT_TRUE(run.Start(c.arguments));
        HWND window = run.WaitForMainWindow();
        ASSERT_NE(nullptr, window) << c.arguments;
        EXPECT_EQ(c.automatic, !IsWindowVisible(window)) << c.arguments;
    }
}

TEST(ProgramLifecycle, AMinimisedShortcutStartsHidden)
{
    ProgramRun run;
    ASSERT_TRUE(run.Start("", SW_SHOWMINNOACTIVE));
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST(ProgramLifecycle, ASecondStartShowsTheFirstWindowAndAutomaticModeStillRuns)
{
    ProgramRun first;
    first.WriteFile("horavo.ini", "[STARTUP]\r\nTASKTRAY=1\r\n");
    ASSERT_TRUE(first.Start());
    HWND window = first.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    ASSERT_FALSE(IsWindowVisible(window)) << "in the tray";

    // Another folder, the same session: one window per session, whatever its files.
    ProgramRun second;
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(0u, second.WaitForExit(10000));
    EXPECT_TRUE(ProgramRun::WaitUntilShown(window)) << "the first window came back from the tray";
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ("<missing>", second.ReadFile("horavo.ini")) << "the second start wrote nothing";

    ProgramRun automatic;
    automatic.WriteFile("server.data", "1\tGood\t" + PeerAddress("good") + "\r\n");
    ASSERT_TRUE(automatic.Start("-auto"));
    EXPECT_EQ(0u, automatic.WaitForExit(10000)) << "automatic mode is never held back";
    EXPECT_NE(std::string::npos, automatic.ReadFile("horavo.log").find("\tGood\t"));
}

}  // namespace
