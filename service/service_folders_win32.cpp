// The service's folders through the shell's known folders, and their removal (Win32).
#include "service_folders_win32.h"

#include <windows.h>
#include <shlobj.h>

namespace {

std::string KnownFolder(int id)
{
    char path[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path)) || path[0] == '\0') {
        return std::string();
    }
    return std::string(path) + "\\" + kServiceName + "\\";
}

}  // namespace

std::string ServiceProgramFolder()
{
    return KnownFolder(CSIDL_PROGRAM_FILES);
}

std::string ServiceDataFolder()
{
    return KnownFolder(CSIDL_COMMON_APPDATA);
}

std::vector<std::string> ServiceProgramFolders()
{
    std::vector<std::string> folders;
    char native[MAX_PATH] = "";
    // The 64-bit "Program Files" as a 32-bit program on 64-bit Windows names it.
    const DWORD length = ExpandEnvironmentStringsA("%ProgramW6432%", native, sizeof native);
    const std::string nativeFolder =
        length > 0 && length <= sizeof native && native[0] != '%' ? std::string(native) + "\\" + kServiceName + "\\" : "";
    for (const std::string& folder :
         {KnownFolder(CSIDL_PROGRAM_FILES), KnownFolder(CSIDL_PROGRAM_FILESX86), nativeFolder}) {
        bool known = folder.empty();
        for (const std::string& other : folders) {
            known = known || lstrcmpiA(other.c_str(), folder.c_str()) == 0;
        }
        if (!known) {
            folders.push_back(folder);
        }
    }
    return folders;
}

bool RemoveFolderTree(const std::string& folder)
{
    std::string base = folder;
    if (!base.empty() && base.back() == '\\') {
        base.pop_back();
    }
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((base + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string path = base + "\\" + name;
            const bool link = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                if (link) {
                    RemoveDirectoryA(path.c_str());  // the junction, not what it points to
                } else {
                    RemoveFolderTree(path);
                }
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    return RemoveDirectoryA(base.c_str()) != FALSE || GetFileAttributesA(base.c_str()) == INVALID_FILE_ATTRIBUTES;
}
