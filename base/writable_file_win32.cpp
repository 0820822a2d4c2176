// The read-only attribute and the links, asked before any of the program's files is written (Win32).
#include "writable_file.h"

#include <windows.h>

namespace {

FileResult RefuseLinks(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) {
        return FileResult::Failure("GetFileInformationByHandle", GetLastError());
    }
    // Another name for the same file (a hard link) is as dangerous as a symbolic link: anyone who can
    // write the folder can make one to a file only an administrator may change.
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || info.nNumberOfLinks > 1) {
        return FileResult::Refused(FileRefusal::Link);
    }
    return FileResult::Ok();
}

}  // namespace

FileResult CheckWritable(const std::string& path)
{
    if (path.empty()) {
        return FileResult::Refused(FileRefusal::NoPath);
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return FileResult::Ok();
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return FileResult::Refused(FileRefusal::ReadOnly);
    }
    void* file = nullptr;
    const FileResult opened =
        OpenRefusingLinks(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          OPEN_EXISTING, &file);
    if (file != nullptr) {
        CloseHandle(file);
    }
    return opened;
}

FileResult OpenRefusingLinks(const std::string& path, uint32_t access, uint32_t share, uint32_t disposition,
                             void** file)
{
    *file = nullptr;
    const HANDLE opened = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return FileResult::Failure("CreateFileA", GetLastError());
    }
    const FileResult links = RefuseLinks(opened);
    if (!links.ok) {
        CloseHandle(opened);
        return links;
    }
    *file = opened;
    return FileResult::Ok();
}
