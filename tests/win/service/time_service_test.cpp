// The time service in Wine's service manager, end to end: installed from a folder, it synchronises
// from the copied list, answers its pipe (and only what it should), keeps the clock's right to
// itself, shows itself in the window's line, backs the window when the window may not set the
// clock, and leaves nothing behind when removed.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../peers.h"
#include "../program_run.h"
#include "../service_test_support.h"

namespace {
class TimeService : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Whatever an earlier run left is removed first: a service of automatic start comes back.
        ProgramRun cleaner;
        std::string said;
        cleaner.RunToEnd("-uninstall-service", &said);
    }
    static void TearDownTestSuite() { SetUpTestSuite(); }

    ProgramRun installer;
};

TEST_F(TimeService, InstallsRunsAnswersItsPipeBacksTheWindowAndLeavesNothingWhenRemoved)
{
    // Installed from a folder with a list and settings.
    installer.WriteFile("server.data", "1\tGood\t" + PeerAddress("good") + "\r\n");
    installer.WriteFile("horavo.ini", "[SETTING]\r\nINTERVAL=30\r\nOFFSET=0\r\n");
    std::string said;
    ASSERT_EQ(0u, installer.RunToEnd("-install-service", &said)) << said;
    EXPECT_NE(std::string::npos, said.find("インストールし")) << said;
    ASSERT_TRUE(WaitFor(SERVICE_RUNNING, 5000));
    const std::string data = KnownFolder(CSIDL_COMMON_APPDATA);
    EXPECT_EQ("1\tGood\t" + PeerAddress("good") + "\r\n", ReadAll(data + "server.data"));
    EXPECT_NE("<missing>", ReadAll(KnownFolder(CSIDL_PROGRAM_FILES) + "horavo.exe"));

    // Its first round, ten seconds after the start, from the copied list.
    const DWORD start = GetTickCount();
    while (ReadAll(data + "horavo.log").find("\tGood\t") == std::string::npos && GetTickCount() - start < 30000) {
        Sleep(250);
    }
    EXPECT_NE(std::string::npos, ReadAll(data + "horavo.log").find("同期成功")) << ReadAll(data + "horavo.log");

    bool found = false;
    EXPECT_FALSE(ServiceProcessMaySetTheClock(&found)) << "the tests never let Wine near the real clock";
    EXPECT_TRUE(found) << "the service's process";

    // The pipe's access list as the system keeps it (Wine keeps no file's list: the folder's is
    // tested natively).
    HANDLE client = CreateFileA("\\\\.\\pipe\\Tempivo", READ_CONTROL | GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, client);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, GetSecurityInfo(client, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                             nullptr, nullptr, &descriptor));
    CloseHandle(client);
    char* sddl = nullptr;
    ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &sddl,
                                                         nullptr);
    const std::string pipeAccess = sddl != nullptr ? sddl : "";
    LocalFree(sddl);
    LocalFree(descriptor);
    EXPECT_EQ(0u, pipeAccess.find("D:(D;;GA;;;NU)")) << pipeAccess;
    EXPECT_NE(std::string::npos, pipeAccess.find("(A;;0x12018b;;;IU)")) << pipeAccess;

    // The pipe: two requests and nothing else, and the service goes on. A SYNC soon after a round
    // gets that round's end.
    EXPECT_EQ(0u, Ask("STATUS").find("STATUS ")) << Ask("STATUS");
    const std::string synced = Ask("SYNC");
    EXPECT_EQ(0u, synced.find("DONE 0\nGood\t")) << synced;
    EXPECT_EQ(0u, Ask("SYNC").find("DONE 0\nGood\t")) << "no BUSY any more";
    EXPECT_EQ("ERROR", Ask("HELLO"));
    EXPECT_EQ("ERROR", Ask(std::string(65, 'S')));
    EXPECT_EQ("ERROR", Ask("SYNC 127.0.0.1:123")) << "no request names a server";
    EXPECT_EQ(0u, Ask("STATUS").find("STATUS ")) << "alive after the junk";

    // A window that may not set the clock (a minute off: Wine refuses it) gets the service's rows.
    ProgramRun window;
    window.WriteFile("server.data", "0\tNear\t" + PeerAddress("near") + "\r\n");
    ASSERT_TRUE(window.Start());
    HWND main = window.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    // Its line about the service: running, the last round's end, the next one.
    const std::string line = WaitForServiceLine(main, "同期成功");
    EXPECT_EQ(0u, line.find("時刻設定サービス: 実行中  前回 ")) << line;
    EXPECT_NE(std::string::npos, line.find("  次回 ")) << line;
    SendMessageA(GetDlgItem(main, 1000), BM_CLICK, 0, 0);
    const std::vector<LogRow> rows = window.WaitForLogRows(main, 2, 15000);
    ASSERT_EQ(2u, rows.size()) << (rows.empty() ? "" : rows[0][0] + " " + rows[0][1] + " " + rows[0][2] + " " + rows[0][3]);
    EXPECT_EQ("Near", rows[0][0]);
    EXPECT_EQ("サービスで同期", rows[0][3]) << "not an error: the service takes the round over";
    EXPECT_EQ("[サービス] Good", rows[1][0]);
    EXPECT_EQ("同期成功", rows[1][3]);
    PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    window.WaitForExit();

    // Started any other way, it says so and ends.
    ProgramRun stray;
    EXPECT_EQ(1u, stray.RunToEnd("-service", &said));
    EXPECT_NE(std::string::npos, said.find("-install-service")) << said;

    // Removed: the service and both folders.
    ASSERT_EQ(0u, installer.RunToEnd("-uninstall-service", &said)) << said;
    EXPECT_EQ(0u, ServiceState()) << "no such service";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(data.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(KnownFolder(CSIDL_PROGRAM_FILES).c_str()));
    // And the window without a service shows no line about one.
    ProgramRun after;
    ASSERT_TRUE(after.Start());
    HWND plain = after.WaitForMainWindow();
    ASSERT_NE(nullptr, plain);
    ASSERT_TRUE(ProgramRun::WaitUntilShown(plain));
    EXPECT_EQ("", WaitForServiceLine(plain, "", 2000));
    PostMessageA(plain, WM_COMMAND, IDCANCEL, 0);
    after.WaitForExit();
}

}  // namespace
