// Sets a scene of horavo.exe for a screenshot: it starts the program from a folder, waits for its
// window, opens what the scene shows (the entry dialog with a server typed in, the delete question,
// the about box), and then leaves a file "scene-ready" in the folder (Win32; runs in the Wine
// desktop that is photographed).
//
// Usage: screenshot_scene.exe FOLDER main|entry|delete|about
#include <windows.h>

#include <cstdio>
#include <cstring>
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

void OpenWith(HWND main, int command)
{
    SetForegroundWindow(main);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: screenshot_scene FOLDER main|entry|delete|about\n");
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
    HWND shown = main;
    if (std::strcmp(scene, "entry") == 0) {
        OpenWith(main, IDC_ADD);
        shown = WaitForWindow("接続先設定");
        if (shown != nullptr) {
            SetDlgItemTextA(shown, IDC_ENTRY_NAME, "国立天文台");
            SetDlgItemTextA(shown, IDC_ENTRY_ADDRESS, "s2csntp.miz.nao.ac.jp");
        }
    } else if (std::strcmp(scene, "delete") == 0) {
        OpenWith(main, IDC_DELETE);
        shown = WaitForWindow("項目削除");
    } else if (std::strcmp(scene, "about") == 0) {
        OpenWith(main, IDC_ABOUT_BUTTON);
        shown = WaitForWindow("バージョン情報");
    }
    if (shown == nullptr) {
        return 1;
    }
    Sleep(500);  // let it paint
    CloseHandle(CreateFileA((folder + "\\scene-ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return 0;
}
