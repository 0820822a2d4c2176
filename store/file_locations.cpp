// Paths of the two files, cut and joined the way the program's C runtime does it.
#include "file_locations.h"

#include <cstring>

bool IsShiftJisLeadByte(unsigned char lead)
{
    return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
}

PathParts SplitPath(const char* path, LeadByteTest isLeadByte)
{
    PathParts parts;
    if (path[0] != '\0' && path[1] == ':') {
        parts.drive.assign(path, 2);
        path += 2;
    }
    const char* nameStart = path;
    const char* lastDot = nullptr;
    for (const char* p = path; *p != '\0'; ++p) {
        if (isLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') {
            ++p;
        } else if (*p == '\\' || *p == '/') {
            nameStart = p + 1;
            lastDot = nullptr;
        } else if (*p == '.') {
            lastDot = p;
        }
    }
    parts.folder.assign(path, static_cast<size_t>(nameStart - path));
    const char* nameEnd = lastDot != nullptr ? lastDot : nameStart + std::strlen(nameStart);
    parts.baseName.assign(nameStart, static_cast<size_t>(nameEnd - nameStart));
    parts.extension.assign(nameEnd);
    return parts;
}

namespace {

// No program path (the platform could not tell it) means no files at all.
std::string FitOrEmpty(const char* programPath, std::string path)
{
    return *programPath != '\0' && path.size() <= kMaxPathBytes ? path : std::string();
}

std::string InFolderOf(const char* path, const std::string& name, LeadByteTest isLeadByte)
{
    const PathParts parts = SplitPath(path, isLeadByte);
    return FitOrEmpty(path, parts.drive + parts.folder + name);
}

}  // namespace

std::string TemporaryNameFor(uint32_t random)
{
    static const char kHex[] = "0123456789abcdef";
    std::string name = "~";
    for (int shift = 20; shift >= 0; shift -= 4) {
        name += kHex[(random >> shift) & 0xF];
    }
    return name + ".tmp";
}

std::string SettingsPathFor(const char* programPath, LeadByteTest isLeadByte)
{
    return InFolderOf(programPath, SplitPath(programPath, isLeadByte).baseName + ".ini", isLeadByte);
}

std::string ServerListPathFor(const char* programPath, LeadByteTest isLeadByte)
{
    return InFolderOf(programPath, "server.data", isLeadByte);
}

std::string LogFilePathFor(const std::string& settingsPath, LeadByteTest isLeadByte)
{
    return InFolderOf(settingsPath.c_str(), "horavo.log", isLeadByte);
}

bool FolderHoldsProgramFiles(const char* programPath, LeadByteTest isLeadByte)
{
    const std::string settings = SettingsPathFor(programPath, isLeadByte);
    return !settings.empty() && !ServerListPathFor(programPath, isLeadByte).empty() &&
           !InFolderOf(programPath, TemporaryNameFor(0), isLeadByte).empty() &&
           !LogFilePathFor(settings, isLeadByte).empty();
}
