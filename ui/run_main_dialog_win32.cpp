// Run mode, creation and first showing of the main window, and its message loop (Win32).
#include "run_main_dialog.h"

#include "res/resource.h"
#include "shell/app_module_win32.h"
#include "shell/command_line.h"
#include "shell/single_instance_win32.h"
#include "shell/trace.h"
#include "res/texts.h"
#include "store/file_locations.h"
#include "base/program_path.h"
#include "main_dialog_win32.h"

#include <cstdio>

namespace {

// The folder as far as the platform tells it: a path too long is given cut, which still shows where.
std::string ProgramFolderText()
{
    const PathParts parts = SplitPath(ProgramFilePathAsGiven().c_str(), IsAnsiLeadByte);
    return parts.drive + parts.folder;
}

}  // namespace

int RunMainDialog(const char* arguments, int showCommand)
{
    // The window looks its loop up while it is being created, so the loop comes first.
    // A second start in the session shows the first window instead; automatic mode runs beside it.
    const bool autoMode = IsAutoModeArgument(arguments);
    if (!autoMode && !ClaimSingleInstance()) {
        ShowFirstInstance();
        return 0;
    }
    CMessageLoop loop;
    g_module.AddMessageLoop(&loop);

    MainDialog dialog(autoMode);
    if (dialog.AutoMode()) {
        showCommand = SW_SHOWMINIMIZED;
    }
    HWND window = CreateDialogFor(&dialog, IDD_MAIN, nullptr);
    if (window == nullptr) {
        Trace("Main dialog creation failed!\n");
        g_module.RemoveMessageLoop();
        return 0;
    }

    if (!autoMode) {
        MarkInstanceWindow(window);
    }

    if (dialog.StartsMinimised()) {
        showCommand = SW_SHOWMINIMIZED;
    }
    ShowWindow(window, showCommand);
    // Restarted as administrator by the rights notice: the user's round again, at once.
    const RetryRequest retry = ParseRetry(arguments);
    if (!dialog.AutoMode() && retry.retry) {
        dialog.RetryRound(retry.row);
    }
    // Told once the window is there; automatic mode ends instead, with its line where it can.
    if (!dialog.AutoMode() && !dialog.FolderHoldsFiles()) {
        char text[1024];
        std::snprintf(text, sizeof text, texts::kFolderTooLong, ProgramFolderText().c_str());
        MessageBoxA(window, text, texts::kProgramName, MB_OK | MB_ICONWARNING);
    }

    const int exitCode = loop.Run();
    g_module.RemoveMessageLoop();
    return exitCode;
}
