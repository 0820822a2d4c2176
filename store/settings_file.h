// The settings file beside the program: "horavo.ini" for "horavo.exe", read and written through
// the profile functions (Win32).
#pragma once

#include <string>

#include "base/file_result.h"
#include "settings.h"

// The settings file beside the program; empty when the program's folder leaves no room for its name.
std::string SettingsFilePath();

// The keys, or their defaults where the file, a section or a key is missing. An empty path
// reads nothing.
Settings ReadSettings(const std::string& path);

// Writes the keys in the order INTERVAL, OFFSET, LOGFILE, CONSENSUS, MAXSTEP, SAMPLES, TASKTRAY, AJAST; every
// other line of the file stays as it was.
FileResult WriteSettings(const std::string& path, const SavedSettings& settings);
