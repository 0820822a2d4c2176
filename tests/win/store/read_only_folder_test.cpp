// horavo.exe in a folder it cannot write: the exit command tells the user which changes are lost,
// and where, instead of losing them without a word.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../program_run.h"

namespace {

struct BoxSearch {
    DWORD processId;
    HWND mainWindow;
    HWND found;
};

BOOL CALLBACK MatchMessageBox(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<BoxSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    if (owner == search->processId && window != search->mainWindow && std::string(title) == "Tempivo" &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

TEST(ReadOnlyFolder, TheExitCommandSaysWhichChangesAreLost)
{
    const char* folder = std::getenv("TEMPIVO_READ_ONLY_FOLDER");
    ASSERT_NE(nullptr, folder) << "run by in_read_only_folder.sh";
    ProgramRun run(folder);
    const std::string settings = run.ReadFile("horavo.ini");
    ASSERT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(ProgramRun::WaitUntilShown(window));
    SendMessageA(GetDlgItem(window, 1009), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("9"));  // the interval
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);

    BoxSearch search{GetProcessId(run.Process()), window, nullptr};
    for (int polls = 0; search.found == nullptr && polls < 250; ++polls) {
        Sleep(20);
        EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&search));
    }
    ASSERT_NE(nullptr, search.found) << "a message box";
    char text[2048] = "";
    GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
    const std::string told = text;
    EXPECT_NE(std::string::npos, told.find("ファイル: horavo.ini")) << told;
    EXPECT_NE(std::string::npos, told.find(std::string("フォルダ: ") + folder + "\\")) << told;
    EXPECT_NE(std::string::npos, told.find("理由: ")) << told;
    EXPECT_EQ(std::string::npos, told.find("server.data")) << "the list did not change: " << told;
    PostMessageA(search.found, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(2u, run.WaitForExit());
    EXPECT_EQ(settings, run.ReadFile("horavo.ini"));
}

}  // namespace
