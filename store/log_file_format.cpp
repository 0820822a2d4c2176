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
