// The server list file through Win32 handles: the codec has the bytes' rules (Win32).
#include "server_list_file.h"

#include <windows.h>

#include "store/writable_file.h"

namespace {

ServerListFileState ReadWholeFile(const std::string& path, std::string* bytes)
{
    // Another program may have it open for reading or writing, as the C runtime would allow.
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ServerListFileState::Missing
                                                                               : ServerListFileState::Unreadable;
    }
    char chunk[64 * 1024];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != FALSE) && got > 0) {
        bytes->append(chunk, got);
    }
    CloseHandle(file);
    return ok ? ServerListFileState::Read : ServerListFileState::Unreadable;
}

}  // namespace

ServerListFileState ReadServerListFile(const std::string& path, ServerListText* text)
{
    if (path.empty()) {
        return ServerListFileState::Missing;
    }
    std::string bytes;
    const ServerListFileState state = ReadWholeFile(path, &bytes);
    if (state == ServerListFileState::Read) {
        *text = ReadServerList(bytes);
    }
    return state;
}

FileResult WriteServerListFile(const std::string& path, const std::vector<ServerRow>& rows, bool keepBackup)
{
    const FileResult writable = CheckWritable(path);
    if (!writable.ok) {
        return writable;
    }
    const std::string temporary = path + ".tmp";
    const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return FileResult::Failure("CreateFileA", GetLastError());
    }
    const std::string bytes = WriteServerList(rows);
    DWORD written = 0;
    FileResult result = FileResult::Ok();
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written != bytes.size()) {
        result = FileResult::Failure("WriteFile", GetLastError());
    }
    if (!CloseHandle(file) && result.ok) {
        result = FileResult::Failure("CloseHandle", GetLastError());
    }
    if (!result.ok) {
        DeleteFileA(temporary.c_str());
        return result;
    }
    // The lines this run could not read stay in the backup, byte for byte.
    if (keepBackup && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
        !MoveFileExA(path.c_str(), (path + ".bak").c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD backupError = GetLastError();
        DeleteFileA(temporary.c_str());
        return FileResult::Failure("MoveFileExA (backup)", backupError);
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD moveError = GetLastError();
        DeleteFileA(temporary.c_str());
        return FileResult::Failure("MoveFileExA", moveError);
    }
    return FileResult::Ok();
}
