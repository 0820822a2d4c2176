// Inside the real main window: loading and saving server lists of 10 000 and 100 000 rows (time, and
// the memory the larger one takes), and appending 100 000 log rows (time per row as the log grows,
// memory per row) (Win32).
//
// Usage: window_bench.exe [RUNS]   (it writes server.data beside itself)
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "res/resource.h"
#include "shell/app_module_win32.h"
#include "shell/dialog_base_win32.h"
#include "tray/tray_icon_win32.h"
#include "ui/main_dialog_win32.h"

namespace {

size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    // Wine leaves PrivateUsage at 0; the committed page-file bytes are the same count there.
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

std::string ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

BOOL WINAPI NoShell(DWORD, PNOTIFYICONDATAA)
{
    return TRUE;  // the benchmark measures the window, not the notification area
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 11;
    g_module.InitModule(GetModuleHandleA(nullptr));
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    CTrayIcon::s_notify = NoShell;
    CMessageLoop loop;
    g_module.AddMessageLoop(&loop);

    const std::string path = ProgramFolder() + "server.data";
    for (const int rows : {10000, 100000}) {
        // 情報通信研究機構 + a number: Shift-JIS names as users have them.
        std::string list;
        for (int i = 0; i < rows; ++i) {
            list += std::string(i % 3 == 0 ? "1\t" : "0\t") +
                    "\x8F\xEE\x95\xF1\x92\xCA\x90\x4D\x8C\xA4\x8B\x86\x8B\x40\x8D\x5C" + std::to_string(i) + "\tntp" +
                    std::to_string(i) + ".example.jp:123\r\n";
        }
        std::vector<double> loads;
        std::vector<double> saves;
        double grew = 0;
        const int times = rows > 10000 ? 3 : runs;
        for (int run = 0; run < times; ++run) {
            std::ofstream(path, std::ios::binary) << list;
            const size_t before = PrivateBytes();
            MainDialog dialog;
            const double start = Now();
            HWND window = CreateDialogFor(&dialog, IDD_MAIN, nullptr);
            const double loaded = Now();
            grew = (static_cast<double>(PrivateBytes()) - static_cast<double>(before)) / (1024 * 1024);
            dialog.SaveServerList();
            const double saved = Now();
            loads.push_back(loaded - start);
            saves.push_back(saved - loaded);
            DestroyWindow(window);
            loop.m_preFilters.clear();
            loop.m_idleTasks.clear();
        }
        std::printf("server list of %d rows (%.1f MB), median of %d runs: window set-up with the load %.0f ms, "
                    "save %.0f ms, memory while shown %.0f MB\n",
                    rows, static_cast<double>(list.size()) / (1024 * 1024), times, Median(loads) * 1000,
                    Median(saves) * 1000, grew);
    }

    DeleteFileA(path.c_str());
    MainDialog dialog;
    HWND window = CreateDialogFor(&dialog, IDD_MAIN, nullptr);
    const size_t before = PrivateBytes();
    std::printf("100 000 log rows, time per row for each block of 10 000:");
    for (int block = 0; block < 10; ++block) {
        const double start = Now();
        for (int i = 0; i < 10000; ++i) {
            dialog.AddLogRow({"\x8F\xEE\x95\xF1\x92\xCA\x90\x4D\x8C\xA4\x8B\x86\x8B\x40\x8D\x5C (NICT)",
                              "2026/12/08 09:30:15.0123", "2026/12/08 09:30:15.0121", "\x93\xAF\x8A\xFA\x90\xAC\x8C\xF7", ""});
        }
        std::printf(" %.1f", (Now() - start) * 1e6 / 10000);
    }
    std::printf(" us\n");
    // The list keeps the newest 1 000 rows, so what it holds stops growing at the thousandth.
    std::printf("after 100 000 rows the list holds %d; committed memory grew by %.0f KB in all\n",
                static_cast<int>(SendMessageA(GetDlgItem(window, IDC_LOG_LIST), LVM_GETITEMCOUNT, 0, 0)),
                (static_cast<double>(PrivateBytes()) - static_cast<double>(before)) / 1024);
    DestroyWindow(window);
    return 0;
}
