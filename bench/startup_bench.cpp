// Start-up time: from starting a program to its main window being shown, horavo.exe against the
// minimal dialog program, as medians over many runs (Win32).
//
// Usage: startup_bench.exe HORAVO.EXE MINIMAL.EXE [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_timing.h"

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// One start in the given folder; the seconds until the first shown window, or -1.
double TimeOneStart(const std::string& program, const std::string& folder)
{
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = Now();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        return -1;
    }
    Search search{process.dwProcessId, nullptr};
    for (int polls = 0; search.found == nullptr && polls < 20000; ++polls) {
        EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            Sleep(0);
        }
    }
    const double shown = Now();
    if (search.found != nullptr) {
        PostMessageA(search.found, WM_COMMAND, IDCANCEL, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return search.found != nullptr ? shown - start : -1;
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\'));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench HORAVO.EXE MINIMAL.EXE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 31;
    std::vector<double> horavo;
    std::vector<double> minimal;
    // Alternating, so that a slower or faster patch of the machine affects both alike.
    for (int i = 0; i < runs; ++i) {
        horavo.push_back(TimeOneStart(argv[1], FolderOf(argv[1])));
        minimal.push_back(TimeOneStart(argv[2], FolderOf(argv[2])));
    }
    const double h = Median(horavo);
    const double m = Median(minimal);
    std::printf("start-up to window shown, median of %d runs: horavo.exe %.1f ms, minimal dialog %.1f ms, ratio %.2f\n",
                runs, h * 1000, m * 1000, m > 0 ? h / m : 0);
    return 0;
}
