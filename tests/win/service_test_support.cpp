// What the time service's tests share: its folders, its state in the service manager, its pipe
// asked as a user's program would ask it, and its processes as Linux sees them (Win32).
#include "service_test_support.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "peers.h"


std::string KnownFolder(int id)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\Tempivo\\";
}

std::string WaitForServiceLine(HWND main, const char* expected, DWORD limitMs)
{
    const DWORD start = GetTickCount();
    std::string said;
    do {
        HWND line = GetDlgItem(main, 1017);
        char text[256] = "";
        GetWindowTextA(line, text, sizeof text);
        said = IsWindowVisible(line) ? text : "";
        if (*expected == '\0' ? said.empty() : said.find(expected) != std::string::npos) {
            break;
        }
        Sleep(100);
    } while (GetTickCount() - start < limitMs);
    return said;
}

std::string ReadAll(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    return bytes;
}

DWORD ServiceState()
{
    DWORD state = 0;
    if (SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT)) {
        if (SC_HANDLE service = OpenServiceA(manager, "Tempivo", SERVICE_QUERY_STATUS)) {
            SERVICE_STATUS status{};
            QueryServiceStatus(service, &status);
            state = status.dwCurrentState;
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
    }
    return state;
}

bool WaitFor(DWORD state, DWORD limitMs)
{
    const DWORD start = GetTickCount();
    while (ServiceState() != state && GetTickCount() - start < limitMs) {
        Sleep(100);
    }
    return ServiceState() == state;
}

void Control(DWORD control)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = OpenServiceA(manager, "Tempivo", SERVICE_ALL_ACCESS);
    SERVICE_STATUS status{};
    if (control == 0) {
        StartServiceA(service, 0, nullptr);
    } else {
        ControlService(service, control, &status);
    }
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

std::string Ask(const std::string& request)
{
    WaitNamedPipeA("\\\\.\\pipe\\Tempivo", 5000);
    HANDLE pipe = CreateFileA("\\\\.\\pipe\\Tempivo", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
        return "<no pipe>";
    }
    DWORD mode = PIPE_READMODE_MESSAGE;
    SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr);
    char answer[8192];
    DWORD got = 0;
    const bool done = TransactNamedPipe(pipe, const_cast<char*>(request.data()), static_cast<DWORD>(request.size()),
                                        answer, sizeof answer, &got, nullptr) != FALSE;
    CloseHandle(pipe);
    return done ? std::string(answer, got) : "<closed>";
}

std::vector<std::string> LinuxProcesses(const char* program, const char* argument)
{
    std::vector<std::string> found;
    const char* ours = std::getenv("WINEPREFIX");
    const std::string prefix = std::string("WINEPREFIX=") + (ours != nullptr ? ours : "") + '\0';
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return found;
    }
    do {
        const std::string pid = entry.cFileName;
        if (pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::string command = ReadAll("Z:\\proc\\" + pid + "\\cmdline");
        // Only this prefix's: a service of another prefix (another build's tests) is not ours.
        if (command.find(program) != std::string::npos && command.find(argument) != std::string::npos &&
            ReadAll("Z:\\proc\\" + pid + "\\environ").find(prefix) != std::string::npos) {
            found.push_back(pid);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return found;
}

uint64_t LinuxProcessorTicks(const std::string& pid)
{
    // Fields 14 and 15 of /proc/PID/stat, counted after the command's closing parenthesis.
    const std::string stat = ReadAll("Z:\\proc\\" + pid + "\\stat");
    size_t at = stat.rfind(')');
    if (at == std::string::npos) {
        return 0;
    }
    for (int field = 2; field < 14; ++field) {
        at = stat.find(' ', at + 1);
    }
    char* end = nullptr;
    const uint64_t user = std::strtoull(stat.c_str() + at + 1, &end, 10);
    return user + std::strtoull(end, nullptr, 10);
}

bool ServiceProcessMaySetTheClock(bool* found)
{
    bool may = false;
    *found = false;
    for (const std::string& pid : LinuxProcesses("horavo.exe", "-service")) {
        const std::string status = ReadAll("Z:\\proc\\" + pid + "\\status");
        const size_t bounding = status.find("CapBnd:");
        if (bounding != std::string::npos) {
            *found = true;
            const unsigned long long bits = std::strtoull(status.c_str() + bounding + 7, nullptr, 16);
            may = may || ((bits >> 25) & 1) != 0;
        }
    }
    return may;
}

std::string ServiceLog()
{
    return ReadAll(KnownFolder(CSIDL_COMMON_APPDATA) + "horavo.log");
}

bool WaitForServiceLog(const std::string& text, size_t count, DWORD limitMs)
{
    const DWORD start = GetTickCount();
    do {
        if (Occurrences(ServiceLog(), text) >= count) {
            return true;
        }
        Sleep(200);
    } while (GetTickCount() - start < limitMs);
    return false;
}

size_t Occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

DWORD ServiceProcessId()
{
    DWORD processId = 0;
    if (SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT)) {
        if (SC_HANDLE service = OpenServiceA(manager, "Tempivo", SERVICE_QUERY_STATUS)) {
            SERVICE_STATUS_PROCESS status{};
            DWORD needed = 0;
            if (QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                                     &needed)) {
                processId = status.dwProcessId;
            }
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
    }
    return processId;
}

PROCESS_INFORMATION StartPipeClient(const std::string& arguments)
{
    std::string commandLine = "\"" + UnixPathAsWindows(PIPE_CLIENT_UNIX_PATH) + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                   &process);
    return process;
}

void EndProcess(PROCESS_INFORMATION* process)
{
    if (process->hProcess != nullptr) {
        TerminateProcess(process->hProcess, 9);
        WaitForSingleObject(process->hProcess, 5000);
        CloseHandle(process->hProcess);
        CloseHandle(process->hThread);
    }
    *process = PROCESS_INFORMATION{};
}

void InstallService(ProgramRun& installer, const std::string& list, const std::string& settings)
{
    installer.WriteFile("server.data", list);
    installer.WriteFile("horavo.ini", settings);
    std::string said;
    ASSERT_EQ(0u, installer.RunToEnd("-install-service", &said)) << said;
    ASSERT_TRUE(WaitFor(SERVICE_RUNNING, 10000));
}
