// The tray icon in a real notification area: Wine's taskbar on a virtual X display. horavo.exe's
// icon is there with its tip, minimising hides the window, a double-click on the icon brings it
// back, and so does "表示" of the menu a right-click opens.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "../program_run.h"

namespace {

// The tooltip of the taskbar's notification area: one tool per icon, its text the icon's tip.
struct TrayTool {
    std::string tip;
    RECT rect;  // in the tray window's client coordinates
};

HWND TrayTooltips(DWORD trayProcess)
{
    HWND found = nullptr;
    for (HWND window = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); window != nullptr;
         window = FindWindowExA(nullptr, window, TOOLTIPS_CLASSA, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == trayProcess) {
            found = window;
        }
    }
    return found;
}

// The tool whose tip is the given text, read from the taskbar's process memory.
bool FindTrayTool(const std::string& tip, TrayTool* tool)
{
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    DWORD trayProcess = 0;
    GetWindowThreadProcessId(tray, &trayProcess);
    HWND tooltips = TrayTooltips(trayProcess);
    if (tooltips == nullptr) {
        return false;
    }
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, trayProcess);
    char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    bool found = false;
    const int count = static_cast<int>(SendMessageA(tooltips, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count && !found; ++i) {
        TOOLINFOA info{};
        info.cbSize = sizeof info;
        info.lpszText = remote + 1024;
        WriteProcessMemory(process, remote, &info, sizeof info, nullptr);
        SendMessageA(tooltips, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(remote));
        char text[256] = "";
        ReadProcessMemory(process, remote + 1024, text, sizeof text - 1, nullptr);
        ReadProcessMemory(process, remote, &info, sizeof info, nullptr);
        if (tip == text) {
            tool->tip = text;
            tool->rect = info.rect;
            found = true;
        }
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return found;
}

bool WaitFor(bool (*condition)(HWND), HWND window, DWORD limitMs = 5000)
{
    const DWORD start = GetTickCount();
    while (!condition(window) && GetTickCount() - start < limitMs) {
        Sleep(50);
    }
    return condition(window);
}

bool Hidden(HWND window)
{
    return !IsWindowVisible(window);
}

bool Shown(HWND window)
{
    return IsWindowVisible(window) && !IsIconic(window);
}

// A popup menu shown by the program's thread.
HWND OpenMenuOf(HWND window)
{
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    for (HWND menu = FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu != nullptr;
         menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) {
        if (IsWindowVisible(menu) && GetWindowThreadProcessId(menu, nullptr) == thread) {
            return menu;
        }
    }
    return nullptr;
}

bool MenuOpen(HWND window)
{
    return OpenMenuOf(window) != nullptr;
}

TEST(TrayEndToEnd, TheIconHidesAndBringsBackTheWindow)
{
    ProgramRun run;
    ASSERT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window);

    TrayTool tool{};
    const DWORD start = GetTickCount();
    while (!FindTrayTool("Tempivo", &tool) && GetTickCount() - start < 5000) {
        Sleep(100);
    }
    ASSERT_EQ("Tempivo", tool.tip) << "the icon is in the notification area, with its tip";

    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitFor(Hidden, window)) << "minimised into the tray";

    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    const LPARAM centre = MAKELPARAM((tool.rect.left + tool.rect.right) / 2, (tool.rect.top + tool.rect.bottom) / 2);
    PostMessageA(tray, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageA(tray, WM_LBUTTONUP, 0, centre);
    Sleep(500);
    EXPECT_TRUE(Hidden(window)) << "a single click does nothing";

    PostMessageA(tray, WM_LBUTTONDBLCLK, MK_LBUTTON, centre);
    EXPECT_TRUE(WaitFor(Shown, window)) << "a double-click restores it";

    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor(Hidden, window));
    PostMessageA(tray, WM_RBUTTONDOWN, MK_RBUTTON, centre);
    PostMessageA(tray, WM_RBUTTONUP, 0, centre);
    ASSERT_TRUE(WaitFor(MenuOpen, window)) << "a right-click opens the menu";
    HWND menu = OpenMenuOf(window);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {  // the second item: 表示
        PostMessageA(menu, WM_KEYDOWN, key, 0);
        Sleep(100);
    }
    EXPECT_TRUE(WaitFor(Shown, window)) << "表示 restores it";

    // Wine's taskbar keeps an icon's tooltip after the icon is deleted, so the removal at exit is
    // seen where the window tests stand in for the shell.
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(2u, run.WaitForExit());
}

}  // namespace
