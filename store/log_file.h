// Appending to "horavo.log", turned over to "horavo.log.1" past 1 MB (Win32).
#pragma once

#include <string>

#include "base/file_result.h"

// Who writes the log. The window and a scheduled -auto may write the same log beside the program
// at one moment, and share a named mutex for it; the time service alone writes its own, and takes
// no object another account could hold to stall it.
enum class LogWriters { Shared, ThisProcessAlone };

// Appends one line. A failure is the caller's to trace and nobody's to report: the log file never
// stops or changes a synchronisation. A shared log whose mutex is not had within a short time
// loses the line rather than hold up the caller.
FileResult AppendLogLine(const std::string& path, const std::string& line,
                         LogWriters writers = LogWriters::Shared);
