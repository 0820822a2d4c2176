// Whether a file of the program's may be written, and opening it without following a link (Win32).
// The program may run elevated, in a folder other users can write: a link planted there must never
// make it write another file.
#pragma once

#include <cstdint>
#include <string>

#include "file_result.h"

// Ok, or why the file is left alone: no path, marked read-only (the user chose to keep it as it is;
// the platform may not enforce that for an administrator's process, nor Wine for root), or a link.
// A file that is not there is writable.
FileResult CheckWritable(const std::string& path);

// Opens the file with CreateFileA's access, sharing and disposition, never through a reparse point
// (symbolic link, junction, mount point), and refuses one that is a reparse point or has more than
// one name. The handle is the platform's HANDLE, given back as a pointer-sized value so that this
// header needs no Windows header; null unless ok.
FileResult OpenRefusingLinks(const std::string& path, uint32_t access, uint32_t share, uint32_t disposition,
                             void** file);
