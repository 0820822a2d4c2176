// The server list file through Win32 handles: read whole, written to a flushed temporary file that
// then replaces it (Win32).
#include "server_list_file.h"

#include <windows.h>

#include "file_locations.h"
#include "base/program_path.h"
#include "base/writable_file.h"
#include "base/system_random.h"

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

// A new file of a random name beside the list: created new, so a file planted under the name is
// never opened; a clash with an existing name is tried again under another.
FileResult CreateTemporaryFile(const std::string& listPath, std::string* path, HANDLE* file)
{
    const PathParts parts = SplitPath(listPath.c_str(), IsAnsiLeadByte);
    FileResult created = FileResult::Failure("CreateFileA", ERROR_FILE_EXISTS);
    for (int attempt = 0; attempt < 16 && !created.ok && created.error == ERROR_FILE_EXISTS; ++attempt) {
        *path = parts.drive + parts.folder + TemporaryNameFor(static_cast<uint32_t>(SystemRandom()));
        void* opened = nullptr;
        created = OpenRefusingLinks(*path, GENERIC_WRITE, 0, CREATE_NEW, &opened);
        *file = opened;
    }
    return created;
}

FileResult WriteAndFlush(HANDLE file, const std::string& path, const std::string& bytes)
{
    DWORD written = 0;
    FileResult result = FileResult::Ok();
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written != bytes.size()) {
        result = FileResult::Failure("WriteFile", GetLastError());
    } else if (!FlushFileBuffers(file)) {
        // The replace is written through, but the new file's bytes must be on the disk before it.
        result = FileResult::Failure("FlushFileBuffers", GetLastError());
    }
    if (!CloseHandle(file) && result.ok) {
        result = FileResult::Failure("CloseHandle", GetLastError());
    }
    if (!result.ok) {
        DeleteFileA(path.c_str());
    }
    return result;
}

}  // namespace

ServerList ServerListFile::Load()
{
    m_state = ServerListFileState::Missing;
    if (m_path.empty()) {
        return ServerList();
    }
    std::string bytes;
    m_state = ReadWholeFile(m_path, &bytes);
    if (m_state != ServerListFileState::Read) {
        return ServerList();
    }
    ServerListText text = ReadServerList(bytes);
    // Lines this run cannot show are kept in a backup at the first save, not dropped.
    m_keepBackup = !text.complete;
    ServerList list(std::move(text.rows));
    m_bytes = list.FileBytes();
    return list;
}

FileResult ServerListFile::Save(const ServerList& list)
{
    // A list that was there but could not be read would be replaced by the empty one shown.
    if (m_state == ServerListFileState::Unreadable) {
        return FileResult::Refused(FileRefusal::UnreadableAtStart);
    }
    const FileResult writable = CheckWritable(m_path);
    if (!writable.ok) {
        return writable;
    }
    std::string temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    const FileResult created = CreateTemporaryFile(m_path, &temporary, &file);
    if (!created.ok) {
        return created;
    }
    std::string bytes = list.FileBytes();
    const FileResult written = WriteAndFlush(file, temporary, bytes);
    if (!written.ok) {
        return written;
    }
    // The lines this run could not read stay in the backup, byte for byte.
    if (m_keepBackup && GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES &&
        !MoveFileExA(m_path.c_str(), (m_path + ".bak").c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD backupError = GetLastError();
        DeleteFileA(temporary.c_str());
        return FileResult::Failure("MoveFileExA (backup)", backupError);
    }
    if (!MoveFileExA(temporary.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD moveError = GetLastError();
        DeleteFileA(temporary.c_str());
        return FileResult::Failure("MoveFileExA", moveError);
    }
    m_keepBackup = false;
    m_state = ServerListFileState::Read;
    m_bytes = std::move(bytes);
    return FileResult::Ok();
}

bool ServerListFile::Holds(const ServerList& list) const
{
    return list.FileBytes() == m_bytes;
}
