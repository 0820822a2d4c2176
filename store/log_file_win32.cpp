// The log file through Win32 handles: opened for each line, so no handle is held for months (Win32).
#include "log_file.h"

#include <windows.h>

#include "store/log_file_format.h"
#include "store/writable_file.h"

namespace {

HANDLE OpenForAppending(const std::string& path)
{
    // Readers (an editor, a tail) may keep it open while lines are added.
    return CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

FileResult AppendLogLine(const std::string& path, const std::string& line)
{
    const FileResult writable = CheckWritable(path);
    if (!writable.ok) {
        return writable;
    }
    HANDLE file = OpenForAppending(path);
    if (file == INVALID_HANDLE_VALUE) {
        return FileResult::Failure("CreateFileA", GetLastError());
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && LogFileTurnsOver(static_cast<uint64_t>(size.QuadPart))) {
        CloseHandle(file);
        const std::string older = path + ".1";
        if (!MoveFileExA(path.c_str(), older.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            return FileResult::Failure("MoveFileExA", GetLastError());
        }
        file = OpenForAppending(path);
        if (file == INVALID_HANDLE_VALUE) {
            return FileResult::Failure("CreateFileA", GetLastError());
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
