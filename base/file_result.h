// The outcome of writing a file: which platform call failed and its error code, or why the program
// left the file alone; for the traces and for the words the user is told.
#pragma once

#include <cstdint>

// Files the program leaves alone on purpose.
enum class FileRefusal {
    None,
    NoPath,             // its folder's path is too long (or unknown)
    ReadOnly,           // the user marked it read-only
    Link,               // a symbolic link, junction or hard link: writing would change another file
    UnreadableAtStart,  // it was there but could not be read: overwriting would lose it
};

struct FileResult {
    bool ok;
    const char* failedCall;  // null when ok
    uint32_t error;          // the platform's error code of that call
    FileRefusal refusal;

    static FileResult Ok() { return {true, nullptr, 0, FileRefusal::None}; }
    static FileResult Failure(const char* call, uint32_t code) { return {false, call, code, FileRefusal::None}; }
    static FileResult Refused(FileRefusal why) { return {false, "(left alone)", 0, why}; }
};
