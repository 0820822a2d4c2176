// The process's DLL search narrowed to the system folder (Win32).
#include "dll_search_win32.h"

#include <windows.h>

bool SearchDllsInSystemFolderOnly()
{
    // Looked up, not imported: Vista and an unpatched 7 lack it, and the program must still start.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto setDefaultDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefaultDirectories != nullptr && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return true;
    }
    SetDllDirectoryA("");
    return false;
}
