// Installing, updating and removing the time service (Win32); each returns the process's exit
// code (0 done, 1 not) and tells the user what happened.
#pragma once

// Copies the program to %ProgramFiles%\Tempivo and the user's list and settings to
// %ProgramData%\Tempivo (made anew under its own access list), registers the service (or updates
// it) and starts it. Needs administrator rights.
int InstallTimeService();

// Stops the service (10 s at most), deletes it and removes both folders.
int UninstallTimeService();
