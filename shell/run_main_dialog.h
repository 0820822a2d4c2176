// From the command line to the end of the message loop: the main window's whole life (Win32).
#pragma once

// Returns the exit code: 2 after the exit command, 0 after automatic mode or when no window could be made.
int RunMainDialog(const char* arguments, int showCommand);
