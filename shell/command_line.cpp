// Command-line rules of the process entry, on bytes read as unsigned so Shift-JIS names stay whole.
#include "command_line.h"

namespace {

bool IsBlank(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u != 0 && u <= 0x20;
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

const char* SkipProgramName(const char* commandLine)
{
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') {
            ++p;
        }
        if (*p == '"') {
            ++p;
        }
    } else {
        while (*p != '\0' && !IsBlank(*p)) {
            ++p;
        }
    }
    while (IsBlank(*p)) {
        ++p;
    }
    return p;
}

namespace {

bool IsArgument(const char* arguments, const char* word)
{
    int i = 0;
    for (; word[i] != '\0'; ++i) {
        if (AsciiLower(arguments[i]) != word[i]) {
            return false;
        }
    }
    return arguments[i] == '\0';
}

}  // namespace

bool IsAutoModeArgument(const char* arguments)
{
    return IsArgument(arguments, "-auto");
}

RunMode ParseRunMode(const char* arguments)
{
    if (IsAutoModeArgument(arguments)) {
        return RunMode::Automatic;
    }
    if (IsArgument(arguments, "-service")) {
        return RunMode::Service;
    }
    if (IsArgument(arguments, "-install-service")) {
        return RunMode::InstallService;
    }
    return IsArgument(arguments, "-uninstall-service") ? RunMode::UninstallService : RunMode::Normal;
}
