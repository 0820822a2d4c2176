// From the command line to the end of the message loop: the main window's whole life. The process
// entry calls it; the main window's part (ui/run_main_dialog_win32.cpp) provides it, so this floor needs
// nothing from the one above.
#pragma once

// Returns the exit code: 2 after the exit command, 0 after automatic mode or when no window could be made.
int RunMainDialog(const char* arguments, int showCommand);
