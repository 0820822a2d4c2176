// Starting horavo.exe in a temporary folder and finding its window (Win32).
#include "program_run.h"

#include "peers.h"

#include <commctrl.h>

#include <fstream>
#include <sstream>

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    if (owner == search->processId && std::string(title) == "Tempivo") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") {
                const std::string path = folder + "\\" + name;
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

ProgramRun::ProgramRun()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static int runs = 0;
    std::ostringstream name;
    name << temp << "tempivo-" << GetCurrentProcessId() << "-" << ++runs;
    folder_ = name.str();
    CreateDirectoryA(folder_.c_str(), nullptr);
    CopyFileA(UnixPathAsWindows(HORAVO_EXE_UNIX_PATH).c_str(), (folder_ + "\\horavo.exe").c_str(), FALSE);
}

ProgramRun::ProgramRun(std::string folder) : folder_(std::move(folder)), ownsFolder_(false)
{
}

ProgramRun::~ProgramRun()
{
    if (process_.hProcess != nullptr) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    if (ownsFolder_) {
        RemoveFolder(folder_);
    }
}

void ProgramRun::WriteFile(const char* name, const std::string& bytes) const
{
    std::ofstream out(folder_ + "\\" + name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ProgramRun::ReadFile(const char* name) const
{
    std::ifstream in(folder_ + "\\" + name, std::ios::binary);
    if (!in.is_open()) {
        return "<missing>";
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool ProgramRun::Start(const std::string& arguments, int showCommand)
{
    std::string commandLine = "\"" + folder_ + "\\horavo.exe\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    return CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                          &process_) != FALSE;
}

DWORD ProgramRun::RunToEnd(const std::string& arguments, std::string* standardError, DWORD limitMs)
{
    const std::string errorPath = folder_ + "\\stderr.txt";
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE error = CreateFileA(errorPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string commandLine = "\"" + folder_ + "\\horavo.exe\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = error;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, folder_.c_str(),
                                        &startup, &process) != FALSE;
    CloseHandle(error);
    if (!started) {
        return STILL_ACTIVE;
    }
    WaitForSingleObject(process.hProcess, limitMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    *standardError = ReadFile("stderr.txt");
    DeleteFileA(errorPath.c_str());
    return code;
}

HWND ProgramRun::WaitForMainWindow(DWORD limitMs)
{
    WaitForInputIdle(process_.hProcess, limitMs);
    const DWORD start = GetTickCount();
    do {
        WindowSearch search{process_.dwProcessId, nullptr};
        EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        Sleep(20);
    } while (GetTickCount() - start < limitMs);
    return nullptr;
}

bool ProgramRun::WaitUntilShown(HWND window, DWORD limitMs)
{
    const DWORD start = GetTickCount();
    while (!IsWindowVisible(window) && GetTickCount() - start < limitMs) {
        Sleep(20);
    }
    return IsWindowVisible(window) != FALSE;
}

DWORD ProgramRun::WaitForExit(DWORD limitMs)
{
    WaitForSingleObject(process_.hProcess, limitMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

namespace {

// Memory in the program's process for a list-view item and its text: list-view messages carry
// pointers, which must point into the process that owns the list.
class RemoteItem {
public:
    explicit RemoteItem(HANDLE process)
        : process_(process),
          memory_(static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE)))
    {
    }
    ~RemoteItem() { VirtualFreeEx(process_, memory_, 0, MEM_RELEASE); }

    LPARAM Item(const LVITEMA& item) const
    {
        WriteProcessMemory(process_, memory_, &item, sizeof item, nullptr);
        return reinterpret_cast<LPARAM>(memory_);
    }
    char* TextBuffer() const { return memory_ + 1024; }
    std::string Text() const
    {
        char text[1024] = "";
        ReadProcessMemory(process_, TextBuffer(), text, sizeof text - 1, nullptr);
        return text;
    }

private:
    HANDLE process_;
    char* memory_;
};

}  // namespace

std::vector<LogRow> ProgramRun::ReadLogRows(HWND window) const
{
    HWND list = GetDlgItem(window, 1002);
    RemoteItem remote(process_.hProcess);
    std::vector<LogRow> rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        LogRow texts;
        for (int column = 0; column < 4; ++column) {
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = remote.TextBuffer();
            item.cchTextMax = 1024;
            SendMessageA(list, LVM_GETITEMTEXTA, row, remote.Item(item));
            texts[static_cast<size_t>(column)] = remote.Text();
        }
        rows.push_back(texts);
    }
    return rows;
}

std::vector<LogRow> ProgramRun::WaitForLogRows(HWND window, size_t count, DWORD limitMs) const
{
    const DWORD start = GetTickCount();
    std::vector<LogRow> rows = ReadLogRows(window);
    while (rows.size() < count && GetTickCount() - start < limitMs) {
        Sleep(20);
        rows = ReadLogRows(window);
    }
    return rows;
}

void ProgramRun::SelectServerRow(HWND window, int row) const
{
    RemoteItem remote(process_.hProcess);
    LVITEMA item{};
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(GetDlgItem(window, 1001), LVM_SETITEMSTATE, row, remote.Item(item));
}
