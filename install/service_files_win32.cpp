// The service's program, folder and files (Win32).
#include "service_files_win32.h"

#include <aclapi.h>
#include <sddl.h>

#include "res/resource.h"
#include "service/service_access.h"
#include "service/service_folders_win32.h"
#include "store/file_locations.h"
#include "base/program_path.h"
#include "store/server_list_codec.h"
#include "store/settings_file.h"

namespace {

std::string ReadWholeFile(const std::string& path, bool* found)
{
    std::string bytes;
    *found = false;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char chunk[64 * 1024];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    *found = true;
    return bytes;
}

bool WriteNewFile(const std::string& path, const std::string& bytes)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

// A file of the service's folder replaced: the old one (or a link planted in its place) removed
// first, so that the new one is never written through anything.
bool ReplaceFile(const std::string& path, const std::string& bytes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    return WriteNewFile(path, bytes);
}

// Sets the folder's list once more as protected: nothing of %ProgramData%'s own may flow into it.
DWORD ProtectFolder(const std::string& folder, PSECURITY_DESCRIPTOR descriptor)
{
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL list = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted)) {
        return GetLastError();
    }
    return SetNamedSecurityInfoA(const_cast<char*>(folder.c_str()), SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                 list, nullptr);
}

// The starter list compiled into the program.
std::string StarterList()
{
    const HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_STARTER_LIST), RT_RCDATA);
    const HGLOBAL loaded = found != nullptr ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    return bytes != nullptr ? std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, found)) : "";
}

}  // namespace

DWORD CopyProgram(const std::string& programFolder)
{
    if (!CreateDirectoryA(programFolder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return GetLastError();
    }
    const std::string source = ProgramFilePath();
    const std::string target = programFolder + "horavo.exe";
    if (lstrcmpiA(source.c_str(), target.c_str()) == 0) {
        return ERROR_SUCCESS;  // run from the installed copy: it is already there
    }
    if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) {
        return GetLastError();
    }
    // The help goes along when it stands beside the program.
    const PathParts parts = SplitPath(source.c_str(), IsAnsiLeadByte);
    CopyFileA((parts.drive + parts.folder + "horavo.chm").c_str(), (programFolder + "horavo.chm").c_str(), FALSE);
    return ERROR_SUCCESS;
}

DWORD PrepareDataFolder(const std::string& folder, bool update)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(ServiceFolderAccessList().c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        return GetLastError();
    }
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    const bool keep = update && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    DWORD error = ERROR_SUCCESS;
    if (!keep) {
        RemoveFolderTree(folder);
        SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
        error = CreateDirectoryA(folder.c_str(), &security) ? ERROR_SUCCESS : GetLastError();
    }
    if (error == ERROR_SUCCESS) {
        error = ProtectFolder(folder, descriptor);
    }
    LocalFree(descriptor);
    return error;
}

DWORD WriteServiceFiles(const std::string& dataFolder, bool* usedStarterList)
{
    const std::string program = ProgramFilePath();
    bool found = false;
    std::string list = ReadWholeFile(ServerListPathFor(program.c_str(), IsAnsiLeadByte), &found);
    *usedStarterList = !found;
    if (!found) {
        list = TickedRowsOf(StarterList());
    }
    if (!ReplaceFile(dataFolder + "server.data", list)) {
        return GetLastError();
    }
    const Settings settings = ReadSettings(SettingsPathFor(program.c_str(), IsAnsiLeadByte));
    const std::string ini = "[SETTING]\r\nINTERVAL=" + settings.interval + "\r\nOFFSET=" + settings.offset +
                            "\r\nLOGFILE=" + settings.logFile + "\r\nCONSENSUS=" + std::to_string(settings.consensus) +
                            "\r\nMAXSTEP=" + settings.maxStep + "\r\nSAMPLES=" + settings.samples + "\r\n";
    return ReplaceFile(dataFolder + "horavo.ini", ini) ? ERROR_SUCCESS : GetLastError();
}
