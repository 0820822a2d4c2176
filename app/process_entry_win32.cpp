// Process entry of horavo.exe: platform set-up around the main window's run (Win32).
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "shell/app_module_win32.h"
#include "shell/command_line.h"
#include "dll_search_win32.h"
#include "shell/help_engine_win32.h"
#include "ui/run_main_dialog.h"
#include "install/service_install_win32.h"
#include "service/time_service_win32.h"
#include "query/winsock_session.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand)
{
    // Before any DLL is loaded by name: the delay-loaded ones come at their first call from here on.
    SearchDllsInSystemFolderOnly();

    // The list view and the up-down control are what the main window needs; the cool and bar classes
    // are asked for as well, as they always were.
    INITCOMMONCONTROLSEX classes{sizeof classes,
                                 ICC_COOL_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    g_module.InitModule(instance);

    // Our own cut of the command line: the runtime's reads bytes as signed and so ends an unquoted
    // program name at its first Shift-JIS character.
    const char* arguments = SkipProgramName(GetCommandLineA());
    int exitCode = 0;
    const RunCommand command = ParseRunCommand(arguments);
    switch (command.mode) {
    case RunMode::Service:
        exitCode = RunTimeService();
        break;
    case RunMode::InstallService:
        exitCode = InstallTimeService(command.quiet);
        break;
    case RunMode::UpdateService:
        exitCode = UpdateTimeService(command.quiet);
        break;
    case RunMode::UninstallService:
        exitCode = UninstallTimeService(command.quiet);
        break;
    case RunMode::Normal:
    case RunMode::Automatic:
        exitCode = RunMainDialog(arguments, showCommand);
        break;
    }

    // What the run started on the way: the socket layer at the first query, COM at the first help.
    StopWinsock();
    EndComForHelp();
    g_module.TermModule();
    return exitCode;
}

// The runtime's default answer to an uncaught exception prints its type, and for that links a C++
// name demangler of 46 KB into the program. Nothing here throws past WinMain; ending at once is
// the same outcome without the weight.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx
