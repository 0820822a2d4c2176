// Where the settings file and the server list file live: beside the program file.
#pragma once

#include <cstddef>
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

constexpr size_t kSettingsPathSize = 260;    // buffer of the settings path, with its terminator
constexpr size_t kServerListPathSize = 256;  // buffer of the server list path

// "C:\Tools\horavo.exe" gives "C:\Tools\horavo.ini"; empty when it would not fit its buffer, so
// that no file is read or written under a cut name.
std::string SettingsPathFor(const char* programPath, LeadByteTest isLeadByte);

// "C:\Tools\horavo.exe" gives "C:\Tools\server.data"; empty when it would not fit its buffer.
std::string ServerListPathFor(const char* programPath, LeadByteTest isLeadByte);

// "horavo.log" in the folder of the settings file; empty when there is no settings file.
std::string LogFilePathFor(const std::string& settingsPath, LeadByteTest isLeadByte);
