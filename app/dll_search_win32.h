// Where the process looks for DLLs: the system folder only, so that a DLL of a system name put
// beside horavo.exe (a Downloads folder, a folder anyone may write) never runs inside it (Win32).
#pragma once

// The first thing the process does: every later load by bare name, ours (the delay-loaded DLLs of
// cmake/DelayImports.cmake) and the system DLLs' own, searches the system folder alone. False
// where Windows cannot be told so (Vista and 7 without update KB2533623); the current folder is
// then at least left out of the search.
bool SearchDllsInSystemFolderOnly();
