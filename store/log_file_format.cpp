// Log file lines, kept apart from the file handles so their bytes are tested anywhere.
#include "log_file_format.h"

std::string FormatLogFileLine(const std::string& writtenAt, const std::vector<std::string>& texts)
{
    std::string line = writtenAt;
    for (const std::string& text : texts) {
        line += '\t';
        for (char c : text) {
            line += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
        }
    }
    return line + "\r\n";
}

bool LogFileTurnsOver(uint64_t size)
{
    return size > kLogFileTurnOverBytes;
}

LogTurnOver DecideLogTurnOver(uint64_t size, bool olderIsReadOnly)
{
    return LogFileTurnsOver(size) && !olderIsReadOnly ? LogTurnOver::First : LogTurnOver::No;
}

std::string LogMutexName(const std::string& logPath)
{
    // FNV-1a: a mutex name may not hold the path's backslashes, and need not be secret.
    uint64_t hash = 0xcbf29ce484222325u;
    for (unsigned char c : logPath) {
        hash = (hash ^ c) * 0x100000001b3u;
    }
    static const char kHex[] = "0123456789abcdef";
    std::string name = "Global\\Tempivo.log.";
    for (int shift = 60; shift >= 0; shift -= 4) {
        name += kHex[(hash >> shift) & 0xF];
    }
    return name;
}
