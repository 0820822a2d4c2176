// Where the settings file and the server list file live: beside the program file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// True for the first byte of a two-byte character in the ANSI code page.
using LeadByteTest = bool (*)(unsigned char lead);

// Lead bytes of Shift-JIS (code page 932), for tests and platforms without a code page of their own.
bool IsShiftJisLeadByte(unsigned char lead);

struct PathParts {
    std::string drive;      // "C:" or empty
    std::string folder;     // with its trailing separator
    std::string baseName;
    std::string extension;  // with its dot, the last one only
};

// Cuts a path as the C runtime's _splitpath does: '\' and '/' separate folders, and the trail byte
// of a two-byte character is never taken for a separator.
PathParts SplitPath(const char* path, LeadByteTest isLeadByte);

// The one limit of every file path, the platform's (MAX_PATH, 260 with the terminator): a folder
// either holds all of the program's files or is told to be too long.
constexpr size_t kMaxPathBytes = 259;

// The server list's temporary file: "~" and six hex digits, ".tmp"; no longer than "server.data",
// so any folder that holds the list holds it.
std::string TemporaryNameFor(uint32_t random);

// "C:\Tools\horavo.exe" gives "C:\Tools\horavo.ini"; empty when it would be too long, so that no
// file is read or written under a cut name.
std::string SettingsPathFor(const char* programPath, LeadByteTest isLeadByte);

// "C:\Tools\horavo.exe" gives "C:\Tools\server.data"; empty when it would be too long.
std::string ServerListPathFor(const char* programPath, LeadByteTest isLeadByte);

// "horavo.log" in the folder of the settings file; empty when there is no settings file.
std::string LogFilePathFor(const std::string& settingsPath, LeadByteTest isLeadByte);

// Whether the program's folder has room for every file it always uses (settings, list, its
// temporary file, log). False also when the program's path is unknown or was itself too long.
bool FolderHoldsProgramFiles(const char* programPath, LeadByteTest isLeadByte);
