// The process command line: what follows the program's own name, and the run mode it asks for.
#pragma once

#include <string>

// The arguments part of a full command line: the program name (in double quotes up to the closing
// quote, otherwise up to the first byte of code 0x20 or below) and the blanks after it skipped.
// Trailing blanks stay.
const char* SkipProgramName(const char* commandLine);

// Exactly "-auto" in any letter case; "-auto " with a trailing blank, "/auto" or more words are not.
bool IsAutoModeArgument(const char* arguments);

enum class RunMode {
    Normal,
    Automatic,         // -auto
    Service,           // -service: only the service manager starts it so
    InstallService,    // -install-service
    UninstallService,  // -uninstall-service
    UpdateService,     // -update-service: the service's list and settings from this folder
};

// The run mode, and for the three service commands whether "-quiet" follows: no window, no message
// box, the outcome in the exit code (a deployment tool running as SYSTEM has nobody to click OK).
struct RunCommand {
    RunMode mode = RunMode::Normal;
    bool quiet = false;
};

// The window the rights notice restarts as administrator runs the user's refused round again at
// once: "-retry" over the ticked servers (as the tray's 今すぐ同期 did), "-retry N" over row N alone
// (as the 同期 button did). Anything else is no retry.
struct RetryRequest {
    bool retry = false;
    int row = -1;  // -1: the ticked servers
};
RetryRequest ParseRetry(const char* arguments);
// The arguments that ask for it.
std::string RetryArguments(int row);

// Each word alone, in any letter case, as "-auto" is, the service commands with or without
// "-quiet" after a blank; anything else is normal mode.
RunCommand ParseRunCommand(const char* arguments);
inline RunMode ParseRunMode(const char* arguments)
{
    return ParseRunCommand(arguments).mode;
}
