// The download as a user gets it: unpacked into a fresh folder, its files are there in the forms a
// Japanese Windows reads, and the program starts from it with the starter list.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../program_run.h"

namespace {

// The unpacked "Tempivo" folder, which the test script names in the environment.
std::string PackageFolder()
{
    const char* folder = std::getenv("TEMPIVO_PACKAGE_FOLDER");
    return folder != nullptr ? folder : "";
}

TEST(Package, HoldsTheProgramTheHelpTheListAndAReadme)
{
    ProgramRun unpacked(PackageFolder());
    for (const char* file : {"horavo.exe", "horavo.chm", "server.data", "README.txt"}) {
        EXPECT_NE("<missing>", unpacked.ReadFile(file)) << file;
    }
    const std::string list = unpacked.ReadFile("server.data");
    EXPECT_EQ(0u, list.find("1\t情報通信研究機構 (NICT)\tntp.nict.jp\r\n")) << "Shift-JIS, the first server ticked";
    EXPECT_NE(std::string::npos, list.find("\n1\tNTP プール プロジェクト (日本)\tjp.pool.ntp.org\r\n"))
        << "a second operator ticked, to confirm a large correction";
    EXPECT_EQ(list.find("\n1\t"), list.rfind("\n1\t")) << "those two only";
    const std::string readme = unpacked.ReadFile("README.txt");
    EXPECT_NE(std::string::npos, readme.find("「最上位の特権で実行する」")) << "Shift-JIS";
    EXPECT_NE(std::string::npos, readme.find("horavo.exe -auto\r\n")) << "CR LF line ends";
}

TEST(Package, TheProgramStartsFromTheUnpackedFolder)
{
    ProgramRun run(PackageFolder());
    const std::string list = run.ReadFile("server.data");
    ASSERT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(7, SendMessageA(GetDlgItem(window, 1001), LVM_GETITEMCOUNT, 0, 0)) << "the starter list";
    SendMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(2u, run.WaitForExit());
    EXPECT_EQ(list, run.ReadFile("server.data")) << "written back byte for byte";
    EXPECT_NE("<missing>", run.ReadFile("horavo.ini"));
}

}  // namespace
