// Appending to "horavo.log", turned over to "horavo.log.1" past 1 MB (Win32).
#pragma once

#include <string>

#include "store/file_result.h"

// Appends one line. A failure is the caller's to trace and nobody's to report: the log file never
// stops or changes a synchronisation.
FileResult AppendLogLine(const std::string& path, const std::string& line);
