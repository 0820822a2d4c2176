// The log file through Win32 handles: opened for each line (no handle is held for months), never
// through a link, and turned over past 1 MB under a mutex every writer of the log shares (Win32).
#include "log_file.h"

#include <windows.h>

#include "log_file_format.h"
#include "base/writable_file.h"

namespace {

// Readers (an editor, a tail) may keep it open while lines are added.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A writer that holds the mutex longer than this is stuck (or hostile): the line is lost, the
// caller goes on.
constexpr DWORD kMutexWaitMs = 200;

FileResult OpenForAppending(const std::string& path, HANDLE* file)
{
    void* opened = nullptr;
    const FileResult result = OpenRefusingLinks(path, FILE_APPEND_DATA, kShareAll, OPEN_ALWAYS, &opened);
    *file = opened;
    return result;
}

bool IsReadOnly(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

FileResult AppendUnderMutex(const std::string& path, const std::string& line)
{
    HANDLE file = nullptr;
    FileResult opened = OpenForAppending(path, &file);
    if (!opened.ok) {
        return opened;
    }
    // The size is read with the mutex held: another writer may have turned the log over just now.
    LARGE_INTEGER size{};
    const std::string older = path + ".1";
    if (GetFileSizeEx(file, &size) &&
        DecideLogTurnOver(static_cast<uint64_t>(size.QuadPart), IsReadOnly(older)) == LogTurnOver::First) {
        CloseHandle(file);
        // A turn-over that fails (the older file held open, say) costs no line: it is appended to
        // the file as it is, which grows until the turn-over can happen.
        MoveFileExA(path.c_str(), older.c_str(), MOVEFILE_REPLACE_EXISTING);
        opened = OpenForAppending(path, &file);
        if (!opened.ok) {
            return opened;
        }
    }
    DWORD written = 0;
    FileResult result = FileResult::Ok();
    if (!WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) || written != line.size()) {
        result = FileResult::Failure("WriteFile", GetLastError());
    }
    CloseHandle(file);
    return result;
}

}  // namespace

FileResult AppendLogLine(const std::string& path, const std::string& line, LogWriters writers)
{
    const FileResult writable = CheckWritable(path);
    if (!writable.ok) {
        return writable;
    }
    if (writers == LogWriters::ThisProcessAlone) {
        return AppendUnderMutex(path, line);
    }
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, LogMutexName(path).c_str());
    if (mutex == nullptr) {
        return AppendUnderMutex(path, line);  // no mutex to be had: the one writer there is
    }
    const DWORD wait = WaitForSingleObject(mutex, kMutexWaitMs);
    FileResult result = FileResult::Failure("WaitForSingleObject", WAIT_TIMEOUT);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
        result = AppendUnderMutex(path, line);
        ReleaseMutex(mutex);
    }
    CloseHandle(mutex);
    return result;
}
