// Installing, updating and removing the time service (Win32); each returns the process's exit code
// (see command_outcome.h) and tells the user what happened: a line or a box, quietly the line alone.
#pragma once

// Copies the program to %ProgramFiles%\Tempivo and the user's list and settings to
// %ProgramData%\Tempivo (kept with its log on an update), registers the service (or updates it),
// its event source, and starts it. Needs administrator rights.
int InstallTimeService(bool quiet);

// Gives the installed service this folder's list and settings, keeping its log: stopped, the files
// replaced, started again.
int UpdateTimeService(bool quiet);

// Stops the service (10 s at most), deletes it and its event source, and removes both folders.
int UninstallTimeService(bool quiet);
