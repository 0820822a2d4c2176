// The time service's files (Win32): its program copied to %ProgramFiles%\Tempivo, its folder in
// %ProgramData%\Tempivo under its own access list, and the list and settings it runs with.
#pragma once

#include <windows.h>

#include <string>

// Copies horavo.exe (and the help beside it) into the program folder; nothing when run from there.
DWORD CopyProgram(const std::string& programFolder);

// The service's folder with its protected access list. A first install makes it anew (whatever
// stood there, a folder another user made first or links planted in it, is removed); an update
// keeps it, and with it the service's log.
DWORD PrepareDataFolder(const std::string& folder, bool update);

// The installing user's list and the settings the service uses, replacing those in its folder.
// Without a list beside the program, the ticked servers of the download's starter list.
DWORD WriteServiceFiles(const std::string& dataFolder, bool* usedStarterList);
