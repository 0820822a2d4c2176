// Start-up time: from starting a program to its main window being shown, and to the program being
// ready for input (its window painted and its loop waiting), horavo.exe against the minimal dialog
// program, as medians over many runs (Win32).
//
// Usage: startup_bench.exe HORAVO.EXE MINIMAL.EXE [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"

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

struct StartTimes {
    double shown;  // seconds until the first shown window, or -1
    double ready;  // seconds until the program first waits for input, or -1
};

// One start in the given folder.
StartTimes TimeOneStart(const std::string& program, const std::string& folder)
{
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = Now();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        return {-1, -1};
    }
    Search search{process.dwProcessId, nullptr};
    for (int polls = 0; search.found == nullptr && polls < 20000; ++polls) {
        EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            Sleep(0);
        }
    }
    const double shown = Now();
    const bool idle = WaitForInputIdle(process.hProcess, 10000) == 0;
    const double ready = Now();
    if (search.found != nullptr) {
        PostMessageA(search.found, WM_COMMAND, IDCANCEL, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (search.found == nullptr) {
        return {-1, -1};
    }
    return {shown - start, idle ? ready - start : -1};
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
    std::vector<double> horavoShown;
    std::vector<double> horavoReady;
    std::vector<double> minimalShown;
    std::vector<double> minimalReady;
    // Each start beside the floor's start right after it: the ratio of a pair is not moved by a
    // slower or faster patch of a shared machine, which medians of the two series are.
    std::vector<double> shownRatios;
    std::vector<double> readyRatios;
    // Alternating, so that a slower or faster patch of the machine affects both alike.
    for (int i = 0; i < runs; ++i) {
        const StartTimes horavo = TimeOneStart(argv[1], FolderOf(argv[1]));
        const StartTimes minimal = TimeOneStart(argv[2], FolderOf(argv[2]));
        horavoShown.push_back(horavo.shown);
        horavoReady.push_back(horavo.ready);
        minimalShown.push_back(minimal.shown);
        minimalReady.push_back(minimal.ready);
        if (horavo.shown > 0 && minimal.shown > 0) {
            shownRatios.push_back(horavo.shown / minimal.shown);
        }
        if (horavo.ready > 0 && minimal.ready > 0) {
            readyRatios.push_back(horavo.ready / minimal.ready);
        }
    }
    const auto report = [runs](const char* what, double h, double m, const std::vector<double>& ratios) {
        std::printf("start-up to %s, median of %d runs: horavo.exe %.1f ms, same-template floor %.1f ms, "
                    "median ratio of the pairs %.2f\n",
                    what, runs, h * 1000, m * 1000, ratios.empty() ? 0 : Median(ratios));
    };
    report("window shown", Median(horavoShown), Median(minimalShown), shownRatios);
    report("ready for input", Median(horavoReady), Median(minimalReady), readyRatios);
    return 0;
}
