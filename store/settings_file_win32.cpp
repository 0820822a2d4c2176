// The profile functions read and write the keys; the buffer sizes are those the file has always
// been read with (255 bytes of text) (Win32).
#include "settings_file.h"

#include <windows.h>

#include <cstdio>

#include "file_locations.h"
#include "base/program_path.h"
#include "base/writable_file.h"

namespace {

std::string ReadText(const char* section, const char* key, const char* fallback, const std::string& path)
{
    char text[256];
    GetPrivateProfileStringA(section, key, fallback, text, 255, path.c_str());
    return text;
}

bool WriteNumber(const char* section, const char* key, int value, const std::string& path)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WritePrivateProfileStringA(section, key, text, path.c_str()) != FALSE;
}

}  // namespace

std::string SettingsFilePath()
{
    return SettingsPathFor(ProgramFilePath().c_str(), IsAnsiLeadByte);
}

Settings ReadSettings(const std::string& path)
{
    Settings settings;
    if (path.empty()) {
        return settings;
    }
    settings.taskTray = GetPrivateProfileIntA("STARTUP", "TASKTRAY", 0, path.c_str());
    settings.syncAtStart = GetPrivateProfileIntA("STARTUP", "AJAST", 0, path.c_str());
    settings.interval = ReadText("SETTING", "INTERVAL", "60", path);
    settings.offset = ReadText("SETTING", "OFFSET", "0", path);
    settings.logFile = ReadText("SETTING", "LOGFILE", "1", path);
    settings.consensus = GetPrivateProfileIntA("SETTING", "CONSENSUS", 0, path.c_str());
    settings.maxStep = ReadText("SETTING", "MAXSTEP", "900", path);
    settings.samples = ReadText("SETTING", "SAMPLES", "4", path);
    settings.rightsNotice = ReadText("SETTING", "RIGHTSNOTICE", "", path);
    return settings;
}

FileResult WriteSettings(const std::string& path, const SavedSettings& settings)
{
    // The profile functions would write through a link, and into a file the user made read-only.
    const FileResult writable = CheckWritable(path);
    if (!writable.ok) {
        return writable;
    }
    // Every key is written even after a failure, so one refused key costs no other.
    FileResult result = FileResult::Ok();
    const auto write = [&](const char* section, const char* key, int value) {
        if (!WriteNumber(section, key, value, path) && result.ok) {
            result = FileResult::Failure("WritePrivateProfileStringA", GetLastError());
        }
    };
    write("SETTING", "INTERVAL", settings.interval);
    write("SETTING", "OFFSET", settings.offset);
    const auto writeText = [&](const char* key, const std::string& value) {
        if (!WritePrivateProfileStringA("SETTING", key, value.c_str(), path.c_str()) && result.ok) {
            result = FileResult::Failure("WritePrivateProfileStringA", GetLastError());
        }
    };
    writeText("LOGFILE", settings.logFile);
    write("SETTING", "CONSENSUS", settings.consensus);
    writeText("MAXSTEP", settings.maxStep);
    writeText("SAMPLES", settings.samples);
    if (!settings.rightsNotice.empty()) {
        writeText("RIGHTSNOTICE", settings.rightsNotice);
    }
    write("STARTUP", "TASKTRAY", settings.taskTray);
    write("STARTUP", "AJAST", settings.syncAtStart);
    return result;
}
