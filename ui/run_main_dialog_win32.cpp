// Run mode, creation and first showing of the main window, and its message loop (Win32).
#include "shell/run_main_dialog.h"

#include "res/resource.h"
#include "shell/app_module_win32.h"
#include "shell/command_line.h"
#include "shell/trace.h"
#include "store/settings_file.h"
#include "ui/main_dialog_win32.h"

int RunMainDialog(const char* arguments, int showCommand)
{
    // The window looks its loop up while it is being created, so the loop comes first.
    CMessageLoop loop;
    g_module.AddMessageLoop(&loop);

    MainDialog dialog(IsAutoModeArgument(arguments));
    if (dialog.AutoMode()) {
        showCommand = SW_SHOWMINIMIZED;
    }
    HWND window = CreateDialogFor(&dialog, IDD_MAIN, nullptr);
    if (window == nullptr) {
        Trace("Main dialog creation failed!\n");
        g_module.RemoveMessageLoop();
        return 0;
    }

    char iniPath[260];
    BuildIniPath(iniPath);
    if (ReadStartMinimised(iniPath) == 1) {
        showCommand = SW_SHOWMINIMIZED;
    }
    ShowWindow(window, showCommand);

    const int exitCode = loop.Run();
    g_module.RemoveMessageLoop();
    return exitCode;
}
