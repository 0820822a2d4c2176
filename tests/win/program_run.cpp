// Starting horavo.exe in a temporary folder and finding its window (Win32).
#include "program_run.h"

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

// Wine shows the Linux root as drive Z:.
std::string ProgramUnderTest()
{
    std::string path = "Z:" + std::string(HORAVO_EXE_UNIX_PATH);
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
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
    CopyFileA(ProgramUnderTest().c_str(), (folder_ + "\\horavo.exe").c_str(), FALSE);
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
    RemoveFolder(folder_);
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

DWORD ProgramRun::WaitForExit(DWORD limitMs)
{
    WaitForSingleObject(process_.hProcess, limitMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}
