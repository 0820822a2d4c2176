// The read-only attribute, asked before any of the program's files is written (Win32).
#include "writable_file.h"

#include <windows.h>

FileResult CheckWritable(const std::string& path)
{
    if (path.empty()) {
        return FileResult::Failure("(no path)", 0);
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return FileResult::Failure("GetFileAttributesA (read-only)", ERROR_ACCESS_DENIED);
    }
    return FileResult::Ok();
}
