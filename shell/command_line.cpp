// Command-line rules of the process entry, on bytes read as unsigned so Shift-JIS names stay whole.
#include "command_line.h"

#include <string>

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

RetryRequest ParseRetry(const char* arguments)
{
    if (IsArgument(arguments, "-retry")) {
        return {true, -1};
    }
    const char word[] = "-retry ";
    for (int i = 0; word[i] != '\0'; ++i) {
        if (AsciiLower(arguments[i]) != word[i]) {
            return {};
        }
    }
    // A row number of at most six digits: no list is longer, and no overflow is possible.
    const char* digits = arguments + sizeof word - 1;
    int row = 0;
    int count = 0;
    for (; digits[count] >= '0' && digits[count] <= '9'; ++count) {
        row = row * 10 + (digits[count] - '0');
    }
    if (count == 0 || count > 6 || digits[count] != '\0') {
        return {};
    }
    return {true, row};
}

std::string RetryArguments(int row)
{
    return row < 0 ? std::string("-retry") : "-retry " + std::to_string(row);
}

RunCommand ParseRunCommand(const char* arguments)
{
    if (IsAutoModeArgument(arguments)) {
        return {RunMode::Automatic, false};
    }
    if (IsArgument(arguments, "-service")) {
        return {RunMode::Service, false};
    }
    // The first word, then "-quiet" or nothing after the blanks.
    std::string first;
    const char* rest = arguments;
    while (*rest != '\0' && !IsBlank(*rest)) {
        first += *rest++;
    }
    while (IsBlank(*rest)) {
        ++rest;
    }
    const bool quiet = IsArgument(rest, "-quiet");
    if (*rest != '\0' && !quiet) {
        return {};
    }
    const struct {
        const char* word;
        RunMode mode;
    } commands[] = {
        {"-install-service", RunMode::InstallService},
        {"-uninstall-service", RunMode::UninstallService},
        {"-update-service", RunMode::UpdateService},
    };
    for (const auto& command : commands) {
        if (IsArgument(first.c_str(), command.word)) {
            return {command.mode, quiet};
        }
    }
    return {};
}
