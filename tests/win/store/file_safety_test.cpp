// The files horavo.exe writes, where a hostile user or bad luck lays traps: links planted under the
// program's file names, an older log file held open, LOGFILE's words, a folder near the path limit.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "../peers.h"
#include "../program_run.h"

namespace {

// Presses 同期 once with a good server and waits for its row; then ends with the exit command.
void SyncAndExit(ProgramRun& run)
{
    ASSERT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    SendMessageA(GetDlgItem(window, 1000), BM_CLICK, 0, 0);
    EXPECT_EQ(1u, run.WaitForLogRows(window, 1).size());
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(2u, run.WaitForExit());
}

TEST(FileSafety, LinksPlantedUnderTheProgramsFileNamesLeaveTheirTargetsAlone)
{
    // Wine shows a Unix symbolic link as a plain file; a hard link, another name for the target,
    // it shows as it is, and a process with rights would write the target through it all the same.
    ProgramRun run;
    const std::string target = run.Folder() + "\\target.txt";
    const std::string bytes = "a file only an administrator may change\r\n";
    run.WriteFile("server.data", "1\tGood\t" + PeerAddress("good") + "\r\n");
    run.WriteFile("target.txt", bytes);
    for (const char* name : {"server.data.tmp", "horavo.log", "horavo.ini"}) {
        ASSERT_TRUE(CreateHardLinkA((run.Folder() + "\\" + name).c_str(), target.c_str(), nullptr)) << name;
    }
    SyncAndExit(run);
    EXPECT_EQ(bytes, run.ReadFile("target.txt"));
    EXPECT_EQ("1\tGood\t" + PeerAddress("good") + "\r\n", run.ReadFile("server.data")) << "the list itself is saved";
}

TEST(FileSafety, AnOlderLogHeldOpenDoesNotStopTheLine)
{
    ProgramRun run;
    run.WriteFile("server.data", "1\tGood\t" + PeerAddress("good") + "\r\n");
    run.WriteFile("horavo.log", std::string(1024 * 1024 + 1, 'x'));
    run.WriteFile("horavo.log.1", "older\r\n");
    // Held without sharing: it cannot be replaced while the program turns the log over.
    HANDLE held = CreateFileA((run.Folder() + "\\horavo.log.1").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    SyncAndExit(run);
    CloseHandle(held);
    EXPECT_EQ("older\r\n", run.ReadFile("horavo.log.1"));
    const std::string log = run.ReadFile("horavo.log");
    EXPECT_GT(log.size(), 1024u * 1024 + 1) << "the line went to the log as it was";
    EXPECT_NE(std::string::npos, log.find("\tGood\t", 1024 * 1024));
}

TEST(FileSafety, OnlyTheWordsForOffTurnTheLogOff)
{
    const struct {
        const char* value;
        bool logs;
    } cases[] = {{"yes", true}, {"ON", true}, {"true", true}, {"OFF", false}, {"No", false}, {"false", false}};
    for (const auto& c : cases) {
        ProgramRun run;
        run.WriteFile("server.data", "1\tGood\t" + PeerAddress("good") + "\r\n");
        run.WriteFile("horavo.ini", std::string("[SETTING]\r\nLOGFILE=") + c.value + "\r\n");
        SyncAndExit(run);
        EXPECT_EQ(c.logs, run.ReadFile("horavo.log") != "<missing>") << c.value;
    }
}

TEST(FileSafety, AFolderNearThePathLimitKeepsItsList)
{
    ProgramRun outer;
    // Nested folders up to a full path of 247 characters, the program inside.
    std::string folder = outer.Folder();
    while (folder.size() < 247) {
        folder += "\\" + std::string(std::min<size_t>(100, 247 - folder.size() - 1), 'd');
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder.size();
    }
    ASSERT_EQ(247u, folder.size());
    ASSERT_TRUE(CopyFileA((outer.Folder() + "\\horavo.exe").c_str(), (folder + "\\horavo.exe").c_str(), FALSE));
    {
        ProgramRun run(folder);
        run.WriteFile("server.data", "1\tGood\t" + PeerAddress("good") + "\r\n");
        run.WriteFile("horavo.ini", "[SETTING]\r\nINTERVAL=7\r\n");
        ASSERT_TRUE(run.Start());
        HWND window = run.WaitForMainWindow();
        ASSERT_NE(nullptr, window);
        ASSERT_TRUE(ProgramRun::WaitUntilShown(window));
        EXPECT_TRUE(IsWindowEnabled(window)) << "no message box about the folder holds the window";
        SendMessageA(GetDlgItem(window, 1009), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("9"));
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(2u, run.WaitForExit());
        EXPECT_EQ("1\tGood\t" + PeerAddress("good") + "\r\n", run.ReadFile("server.data"));
        EXPECT_NE(std::string::npos, run.ReadFile("horavo.ini").find("INTERVAL=9"));
    }
    // The nested folders go from the innermost out; the outer run removes its own.
    for (const char* name : {"\\server.data", "\\horavo.ini", "\\horavo.exe"}) {
        DeleteFileA((folder + name).c_str());
    }
    while (folder.size() > outer.Folder().size()) {
        RemoveDirectoryA(folder.c_str());
        folder = folder.substr(0, folder.rfind('\\'));
    }
}

}  // namespace
