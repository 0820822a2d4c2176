// The program file's path as the module knows it (Win32).
#include "program_path.h"

#include <windows.h>

std::string ProgramFilePath()
{
    char path[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A full buffer means a cut path: better no files than files under a wrong name.
    if (length == 0 || length >= sizeof path) {
        return std::string();
    }
    return std::string(path, length);
}

std::string ProgramFilePathAsGiven()
{
    char path[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

bool IsAnsiLeadByte(unsigned char lead)
{
    return IsDBCSLeadByte(lead) != FALSE;
}
