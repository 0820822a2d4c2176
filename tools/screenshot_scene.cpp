// Sets a scene of horavo.exe for a screenshot: it starts the program from a folder, waits for its
// window, opens what the scene shows (the entry dialog with a server typed in, the delete question,
// the about box), and then leaves a file "scene-ready" in the folder (Win32; runs in the Wine
// desktop that is photographed).
//
// The scene "sync" presses 同期 for the selected row, writes the log rows to "log-rows.txt" once one
// has come, and after the file "scene-done" appears it ends the program with the exit command and
// writes its exit code to "exit-code.txt" (the first run of make run, without a display).
//
// The scene "traymenu" minimises the window into the tray and opens the icon's menu there.
//
// The scene "rights" presses 同期 for a server whose time the clock refuses and shows the notice.
//
// The scene "resized" presses 同期 for the first row (a server that fails) and then for the second,
// and makes the window larger, so that a failure row and a set one show in the grown lists.
// Usage: screenshot_scene.exe FOLDER main|entry|delete|about|traymenu|sync|rights|resized
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "res/resource.h"

namespace {

// A shown top-level dialog with this title, within ten seconds.
HWND WaitForWindow(const char* title)
{
    for (int tries = 0; tries < 200; ++tries) {
        HWND window = FindWindowA("#32770", title);
        if (window != nullptr && IsWindowVisible(window)) {
            return window;
        }
        Sleep(50);
    }
    return nullptr;
}

// A dialog with this title other than the one given: the task dialog carries the program's name too.
HWND WaitForOtherWindow(const char* title, HWND other)
{
    for (int tries = 0; tries < 200; ++tries) {
        for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", title); window != nullptr;
             window = FindWindowExA(nullptr, window, "#32770", title)) {
            if (window != other && IsWindowVisible(window)) {
                return window;
            }
        }
        Sleep(50);
    }
    return nullptr;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The log list's rows, read from the program's memory: list-view messages carry pointers.
std::string LogRows(HWND main, HANDLE process)
{
    HWND list = GetDlgItem(main, IDC_LOG_LIST);
    char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    std::string rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        for (int column = 0; column < 4; ++column) {
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = remote + 1024;
            item.cchTextMax = 1024;
            WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
            char text[1024] = "";
            ReadProcessMemory(process, remote + 1024, text, sizeof text - 1, nullptr);
            rows += std::string(column == 0 ? "" : " | ") + text;
        }
        rows += "\r\n";
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return rows;
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Presses 同期, waits for a log row, and then for the photograph before the exit command.
int SyncScene(const std::string& folder, HWND main, HANDLE process)
{
    PostMessageA(GetDlgItem(main, IDC_SYNC), BM_CLICK, 0, 0);
    HWND list = GetDlgItem(main, IDC_LOG_LIST);
    for (int tries = 0; tries < 200 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 0; ++tries) {
        Sleep(50);
    }
    WriteText(folder + "\\log-rows.txt", LogRows(main, process));
    Sleep(300);  // let it paint
    WriteText(folder + "\\scene-ready", "");
    for (int tries = 0; tries < 1200 && !FileExists(folder + "\\scene-done"); ++tries) {
        Sleep(50);
    }
    PostMessageA(GetDlgItem(main, IDCANCEL), BM_CLICK, 0, 0);
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(process, 10000);
    GetExitCodeProcess(process, &code);
    WriteText(folder + "\\exit-code.txt", std::to_string(code));
    return 0;
}

// Presses 同期 and waits until the log list has this many rows.
void SyncUntilRows(HWND main, int rows)
{
    PostMessageA(GetDlgItem(main, IDC_SYNC), BM_CLICK, 0, 0);
    HWND list = GetDlgItem(main, IDC_LOG_LIST);
    for (int tries = 0; tries < 200 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < rows; ++tries) {
        Sleep(50);
    }
}

// A failed row, then a set one, in a window grown by a fifth of its width and half of its height.
void ResizedScene(HWND main)
{
    SyncUntilRows(main, 1);
    PostMessageA(GetDlgItem(main, IDC_SERVER_LIST), WM_KEYDOWN, VK_DOWN, 0);
    Sleep(200);
    SyncUntilRows(main, 2);
    RECT r;
    GetWindowRect(main, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    // From the desktop's corner, so that the grown window stays on it.
    SetWindowPos(main, nullptr, 0, 0, width + width / 5, height + height / 2, SWP_NOZORDER);
}

void OpenWith(HWND main, int command)
{
    SetForegroundWindow(main);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: screenshot_scene FOLDER main|entry|delete|about|traymenu|sync|rights|resized\n");
        return 2;
    }
    const std::string folder = argv[1];
    const char* scene = argv[2];
    std::string commandLine = "\"" + folder + "\\horavo.exe\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        return 1;
    }
    HWND main = WaitForWindow("Tempivo");
    if (main == nullptr) {
        return 1;
    }
    if (std::strcmp(scene, "sync") == 0) {
        return SyncScene(folder, main, process.hProcess);
    }
    HWND shown = main;
    if (std::strcmp(scene, "entry") == 0) {
        OpenWith(main, IDC_ADD);
        shown = WaitForWindow("接続先設定");
        if (shown != nullptr) {
            // An NTS server, so that its check box shows ticked.
            SetDlgItemTextA(shown, IDC_ENTRY_NAME, "クラウドフレア NTS (Cloudflare)");
            SetDlgItemTextA(shown, IDC_ENTRY_ADDRESS, "nts:time.cloudflare.com");
        }
    } else if (std::strcmp(scene, "delete") == 0) {
        OpenWith(main, IDC_DELETE);
        shown = WaitForWindow("項目削除");
    } else if (std::strcmp(scene, "about") == 0) {
        OpenWith(main, IDC_ABOUT_BUTTON);
        shown = WaitForWindow("バージョン情報");
    } else if (std::strcmp(scene, "rights") == 0) {
        // The selected server is a minute off: the clock is asked, and refused for want of the right.
        OpenWith(main, IDC_SYNC);
        shown = WaitForOtherWindow("Tempivo", main);
    } else if (std::strcmp(scene, "resized") == 0) {
        ResizedScene(main);
    } else if (std::strcmp(scene, "traymenu") == 0) {
        PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        Sleep(500);
        // The menu opens at the cursor, as it would after a right-click on the icon in the corner.
        RECT desktop;
        GetWindowRect(GetDesktopWindow(), &desktop);
        SetCursorPos(desktop.right - 24, desktop.bottom - 12);
        PostMessageA(main, 3112, 0, WM_RBUTTONUP);  // the tray icon's callback
        for (int tries = 0; tries < 100 && FindWindowA("#32768", nullptr) == nullptr; ++tries) {
            Sleep(50);
        }
        shown = FindWindowA("#32768", nullptr);
    }
    if (shown == nullptr) {
        return 1;
    }
    Sleep(500);  // let it paint
    CloseHandle(CreateFileA((folder + "\\scene-ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return 0;
}
