// Whether a file of the program's may be written at all: it has a path, and the user did not mark
// it read-only (Win32).
#pragma once

#include <string>

#include "store/file_result.h"

// Ok, or why the file is left alone. A read-only file is one the user chose to keep as it is; the
// platform may not enforce that for an administrator's process (nor Wine for root), so it is
// checked here.
FileResult CheckWritable(const std::string& path);
