// The 同期 command end to end: time from the click to the log row, and the clock error left after a
// synchronisation (server-time text minus local-time text at offset 0), as medians; and the time to
// a set clock when the first of four ticked servers is silent, one by one and together (Win32).
//
// Usage: sync_bench.exe [RUNS [ADDRESS]]   (by default against the "good" loopback peer)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "../tests/win/log_texts.h"
#include "../tests/win/peers.h"
#include "../tests/win/program_run.h"

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 51;
    const std::string address = argc > 2 ? argv[2] : PeerAddress("good");
    ProgramRun run;
    run.WriteFile("server.data", "0\tServer\t" + address + "\r\n");
    if (!run.Start()) {
        std::fprintf(stderr, "sync_bench: horavo.exe did not start\n");
        return 1;
    }
    HWND window = run.WaitForMainWindow();
    HWND button = GetDlgItem(window, 1000);
    HWND log = GetDlgItem(window, 1002);
    std::vector<double> latencies;
    std::vector<double> gaps;
    for (int i = 0; i < runs; ++i) {
        const LRESULT before = SendMessageA(log, LVM_GETITEMCOUNT, 0, 0);
        const double start = Now();
        PostMessageA(button, BM_CLICK, 0, 0);
        while (SendMessageA(log, LVM_GETITEMCOUNT, 0, 0) == before && Now() - start < 5) {
        }
        latencies.push_back(Now() - start);
        const std::vector<LogRow> rows = run.ReadLogRows(window);
        if (!rows.empty() && rows.back()[2].size() > 0) {
            gaps.push_back(TimeTextSeconds(rows.back()[1]) - TimeTextSeconds(rows.back()[2]));
        }
    }
    if (gaps.empty()) {
        std::fprintf(stderr, "sync_bench: no synchronisation gave a time\n");
        return 1;
    }
    std::printf("sync button to log row, median of %d runs: %.2f ms (fastest %.2f ms, slowest %.2f ms)\n", runs,
                Median(latencies) * 1000, *std::min_element(latencies.begin(), latencies.end()) * 1000,
                *std::max_element(latencies.begin(), latencies.end()) * 1000);
    std::printf("server-time text minus local-time text at offset 0, median of %d runs: %.1f ms (from %.1f to %.1f ms)\n",
                static_cast<int>(gaps.size()), Median(gaps) * 1000, *std::min_element(gaps.begin(), gaps.end()) * 1000,
                *std::max_element(gaps.begin(), gaps.end()) * 1000);

    // Four ticked servers, the first silent: the tray's 今すぐ同期 until the row that sets the clock.
    for (const char* consensus : {"0", "1"}) {
        std::vector<double> times;
        for (int i = 0; i < 5; ++i) {
            ProgramRun round;
            round.WriteFile("server.data", "1\tSilent\t" + PeerAddress("silent") + "\r\n1\tA\t" + PeerAddress("good") +
                                               "\r\n1\tB\t" + PeerAddress("good2") + "\r\n1\tC\t" +
                                               PeerAddress("chrony") + "\r\n");
            round.WriteFile("horavo.ini", std::string("[SETTING]\r\nCONSENSUS=") + consensus + "\r\n");
            if (!round.Start()) {
                return 1;
            }
            HWND main = round.WaitForMainWindow();
            const double start = Now();
            PostMessageA(main, WM_COMMAND, 40001, 0);  // 今すぐ同期
            for (bool set = false; !set && Now() - start < 10;) {
                for (const LogRow& row : round.ReadLogRows(main)) {
                    set = set || row[3] == "\x93\xAF\x8A\xFA\x90\xAC\x8C\xF7";  // 同期成功
                }
            }
            times.push_back(Now() - start);
        }
        std::printf("four ticked servers, the first silent, CONSENSUS=%s: to the set clock, median of 5 runs %.0f ms\n",
                    consensus, Median(times) * 1000);
    }
    return 0;
}
