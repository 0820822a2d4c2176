// The time service against hostile and unlucky users, end to end: connections that say nothing, a
// held log lock, a pipe taken before the service starts, a silent round past its due time, two
// users asking at once, an update while the log is open, a removal by the installed copy itself,
// and an install from a folder without a list.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "../peers.h"
#include "../program_run.h"
#include "../service_test_support.h"
#include "store/log_file_format.h"

namespace {

const char kPipeTaken[] = "ほかのプログラムが先に作っていた";
const char kPipeOpened[] = "Tempivo を作りました";

std::string Rows(const std::string& list, const char* name, const std::string& address, int count)
{
    std::string rows = list;
    for (int i = 0; i < count; ++i) {
        rows += std::string("1\t") + name + "\t" + address + "\r\n";
    }
    return rows;
}

class ServiceAgainstMisuse : public ::testing::Test {
protected:
    static void Uninstall()
    {
        ProgramRun cleaner;
        std::string said;
        cleaner.RunToEnd("-uninstall-service", &said);
    }
    static void SetUpTestSuite() { Uninstall(); }
    void TearDown() override { Uninstall(); }

    const std::string data = KnownFolder(CSIDL_COMMON_APPDATA);
    ProgramRun installer;
};

TEST_F(ServiceAgainstMisuse, ConnectionsThatSayNothingLockNobodyOut)
{
    InstallService(installer, Rows("", "Good", PeerAddress("good"), 1), "[SETTING]\r\nINTERVAL=60\r\n");
    // Four programs take every instance and say nothing.
    PROCESS_INFORMATION idle[4];
    for (PROCESS_INFORMATION& client : idle) {
        client = StartPipeClient("hang");
    }
    Sleep(1500);
    const DWORD start = GetTickCount();
    const std::string answer = Ask("STATUS");
    EXPECT_EQ(0u, answer.find("STATUS ")) << answer;
    EXPECT_LT(GetTickCount() - start, 4500u) << "the silent ones are let go after 2 s";
    for (PROCESS_INFORMATION& client : idle) {
        EndProcess(&client);
    }
    // One process holds one instance: a second connection of it is turned away while it lasts.
    HANDLE held = INVALID_HANDLE_VALUE;
    for (int tries = 0; held == INVALID_HANDLE_VALUE && tries < 50; ++tries) {
        WaitNamedPipeA("\\\\.\\pipe\\Tempivo", 1000);  // the killed ones' instances are freed as it goes
        held = CreateFileA("\\\\.\\pipe\\Tempivo", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    // Its answer shows the service has admitted it; only then is a second one a second.
    DWORD mode = PIPE_READMODE_MESSAGE;
    SetNamedPipeHandleState(held, &mode, nullptr, nullptr);
    char reply[256];
    DWORD got = 0;
    ASSERT_TRUE(TransactNamedPipe(held, const_cast<char*>("STATUS"), 6, reply, sizeof reply, &got, nullptr));
    EXPECT_EQ("<closed>", Ask("STATUS"));
    CloseHandle(held);
    EXPECT_EQ(0u, Ask("STATUS").find("STATUS ")) << "its first closed, it is served again";
}

TEST_F(ServiceAgainstMisuse, AHeldLogLockNeitherDelaysTheRoundNorMovesTheClock)
{
    // Two servers asked at once: a row written while the other's reply is on its way would stall it.
    InstallService(installer, Rows(Rows("", "Good", PeerAddress("good"), 1), "Good2", PeerAddress("good2"), 1),
                   "[SETTING]\r\nINTERVAL=60\r\nCONSENSUS=1\r\n");
    const HANDLE mutex = CreateMutexA(nullptr, TRUE, LogMutexName(data + "horavo.log").c_str());
    ASSERT_NE(nullptr, mutex);
    ASSERT_TRUE(WaitForServiceLog("\t同期成功\t", 1, 30000)) << ServiceLog();
    const std::string log = ServiceLog();
    EXPECT_EQ(std::string::npos, log.find("権限エラー")) << log;
    // Every correction in the log is noise-sized: nothing sat between a request and its reply.
    EXPECT_GE(Occurrences(log, " 秒\r\n"), 2u) << log;
    for (size_t at = log.find(" 秒\r\n"); at != std::string::npos; at = log.find(" 秒\r\n", at + 1)) {
        const double correction = std::atof(log.c_str() + log.rfind('\t', at) + 1);
        EXPECT_LT(std::fabs(correction), 0.5) << log;
    }
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

TEST_F(ServiceAgainstMisuse, APipeTakenFirstStopsNeitherItsRoundsNorItsRestAndIsTakenBackLater)
{
    // A program made the pipe first. Twenty silent servers make a round of 80 s, past its due time.
    HANDLE squatter =
        CreateNamedPipeA("\\\\.\\pipe\\Tempivo", PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE, 4, 512, 512, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, squatter);
    InstallService(installer, Rows("", "Silent", PeerAddress("silent"), 20), "[SETTING]\r\nINTERVAL=1\r\n");
    const DWORD start = GetTickCount();
    EXPECT_TRUE(WaitForServiceLog(kPipeTaken, 1, 5000)) << ServiceLog();
    EXPECT_TRUE(WaitForServiceLog("\tSilent\t", 1, 30000)) << "its round, without the pipe: " << ServiceLog();
    CloseHandle(squatter);

    // Past the round's due time (70 s after the start) the service sleeps until its round needs it.
    while (GetTickCount() - start < 72000) {
        Sleep(500);
    }
    std::vector<std::string> pids = LinuxProcesses("horavo.exe", "-service");
    const std::vector<std::string> server = LinuxProcesses("wineserver", "");
    pids.insert(pids.end(), server.begin(), server.end());
    ASSERT_GE(pids.size(), 2u);
    uint64_t before = 0;
    for (const std::string& pid : pids) {
        before += LinuxProcessorTicks(pid);
    }
    Sleep(8000);
    uint64_t after = 0;
    for (const std::string& pid : pids) {
        after += LinuxProcessorTicks(pid);
    }
    // Clock ticks of 10 ms: 8 s of a spinning loop would be about 800.
    EXPECT_LT(after - before, 80u) << "the service and its wine server over 8 s of a round past its due time";
    EXPECT_EQ(std::string::npos, ServiceLog().find("\t同期成功\t")) << "still the one silent round";

    // The pipe was tried again a minute after the start, and is the service's now.
    EXPECT_TRUE(WaitForServiceLog(kPipeOpened, 1, 15000)) << ServiceLog();
    EXPECT_EQ(0u, Ask("STATUS").find("STATUS "));
    EXPECT_EQ(1u, Occurrences(ServiceLog(), kPipeTaken)) << "said once";
}

TEST_F(ServiceAgainstMisuse, TwoUsersAskingAtOnceShareOneRound)
{
    InstallService(installer, Rows("", "Good", PeerAddress("good"), 1), "[SETTING]\r\nINTERVAL=60\r\n");
    ASSERT_TRUE(WaitForServiceLog("\t同期成功\t", 1, 30000)) << ServiceLog();
    Sleep(10500);  // past the time a SYNC gets the last round's end
    PROCESS_INFORMATION first = StartPipeClient("sync");
    PROCESS_INFORMATION second = StartPipeClient("sync");
    for (PROCESS_INFORMATION* client : {&first, &second}) {
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(client->hProcess, 20000));
        DWORD code = 2;
        GetExitCodeProcess(client->hProcess, &code);
        EXPECT_EQ(0u, code) << "each gets the round's end, never a refusal";
        EndProcess(client);
    }
    EXPECT_EQ(2u, Occurrences(ServiceLog(), "\t同期成功\t")) << "the first round and one more: " << ServiceLog();
}

TEST_F(ServiceAgainstMisuse, AnUpdateKeepsTheLogEvenWhileAReaderHoldsIt)
{
    InstallService(installer, Rows("", "Good", PeerAddress("good"), 1), "[SETTING]\r\nINTERVAL=60\r\n");
    ASSERT_TRUE(WaitForServiceLog("\t同期成功\t", 1, 30000)) << ServiceLog();
    const HANDLE reader = CreateFileA((data + "horavo.log").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    installer.WriteFile("server.data", Rows("", "Good2", PeerAddress("good2"), 1));
    std::string said;
    EXPECT_EQ(0u, installer.RunToEnd("-install-service", &said)) << said;
    EXPECT_TRUE(WaitFor(SERVICE_RUNNING, 10000));
    CloseHandle(reader);
    const std::string log = ServiceLog();
    EXPECT_EQ(1u, Occurrences(log, "\tGood\t")) << "the first round's row is still there: " << log;
    EXPECT_EQ(1u, Occurrences(log, "\t停止しました\t")) << log;
    EXPECT_EQ(2u, Occurrences(log, "\t開始しました\t")) << log;
    EXPECT_EQ(Rows("", "Good2", PeerAddress("good2"), 1), ReadAll(data + "server.data")) << "the new list";
}

TEST_F(ServiceAgainstMisuse, InstalledWithoutAListItKeepsTheStarterListsTickedServers)
{
    std::string said;
    ASSERT_EQ(0u, installer.RunToEnd("-install-service", &said)) << said;
    EXPECT_NE(std::string::npos, said.find("付属の一覧")) << said;
    const std::string list = ReadAll(data + "server.data");
    EXPECT_NE(std::string::npos, list.find("\tntp.nict.jp\r\n")) << list;
    EXPECT_EQ(Occurrences(list, "\r\n"), Occurrences("\n" + list, "\n1\t")) << "ticked rows only: " << list;
}

TEST_F(ServiceAgainstMisuse, RemovedByItsInstalledCopyItsFolderGoesNowAndTheProgramAtTheNextRestart)
{
    InstallService(installer, Rows("", "Good", PeerAddress("good"), 1), "[SETTING]\r\nINTERVAL=60\r\n");
    const std::string programFolder = KnownFolder(CSIDL_PROGRAM_FILES);
    // Its standard error a file outside the folder it removes.
    std::string command = "\"" + programFolder + "horavo.exe\" -uninstall-service -quiet";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, installer.Folder().c_str(),
                               &startup, &process));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    EndProcess(&process);
    EXPECT_EQ(0u, code);
    EXPECT_EQ(0u, ServiceState()) << "no such service";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(data.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(programFolder.c_str())) << "an install may come at once";
    // The program moved out of it goes at the restart, under a name of its own.
    char pending[8192] = "";
    DWORD size = sizeof pending;
    RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                 "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, pending, &size);
    const std::string operations(pending, size);
    EXPECT_NE(std::string::npos, operations.find(".tmp")) << operations;
    EXPECT_EQ(std::string::npos, operations.find("Tempivo\\")) << "nothing of the program folder: " << operations;
}

struct WindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    search->found = search->found || owner == search->processId;
    return TRUE;
}

// A command started as a deployment tool starts it: no console, no standard handles. Its exit
// code, and whether any window of it was seen while it ran.
std::pair<DWORD, bool> RunWithoutConsole(const std::string& folder, const std::string& arguments)
{
    std::string command = "\"" + folder + "\\horavo.exe\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, folder.c_str(),
                        &startup, &process)) {
        return {STILL_ACTIVE, false};
    }
    WindowSearch search{process.dwProcessId, false};
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT && GetTickCount() - start < 30000) {
        EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    EndProcess(&process);
    return {code, search.found};
}

TEST_F(ServiceAgainstMisuse, QuietCommandsShowNothingAndSayEverythingInTheirExitCode)
{
    installer.WriteFile("server.data", Rows("", "Good", PeerAddress("good"), 1));
    const struct {
        const char* arguments;
        DWORD exitCode;  // 0 done, 3 nothing to do
    } steps[] = {
        {"-update-service -quiet", 3},
        {"-uninstall-service -quiet", 3},
        {"-install-service -quiet", 0},
        {"-install-service -quiet", 0},  // a reinstall
        {"-update-service -quiet", 0},
        {"-uninstall-service -quiet", 0},
        {"-uninstall-service -quiet", 3},
    };
    // The other build's install: the 32-bit program's folder on 64-bit Windows (the same folder
    // under 32-bit Wine).
    char x86[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT, x86);
    const std::string otherBuild = std::string(x86) + "\\Tempivo\\";
    for (const auto& step : steps) {
        const std::pair<DWORD, bool> ran = RunWithoutConsole(installer.Folder(), step.arguments);
        EXPECT_EQ(step.exitCode, ran.first) << step.arguments;
        EXPECT_FALSE(ran.second) << step.arguments << ": no window, no message box";
        if (std::string(step.arguments) == "-update-service -quiet" && ran.first == 0) {
            CreateDirectoryA(otherBuild.c_str(), nullptr);
            CopyFileA((installer.Folder() + "\\horavo.exe").c_str(), (otherBuild + "horavo.exe").c_str(), FALSE);
        }
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(otherBuild.c_str())) << "removed with the service";
    // Without -quiet and without a console, a message box would wait for a click: not so quietly.
    std::string said;
    EXPECT_EQ(0u, installer.RunToEnd("-uninstall-service", &said)) << "nothing to do, said on the standard error";
    EXPECT_NE(std::string::npos, said.find("インストールされていません")) << said;
}

}  // namespace
