// The process command line: what follows the program's own name, and the run mode it asks for.
#pragma once

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
};

// Each word alone, in any letter case, as "-auto" is; anything else is normal mode.
RunMode ParseRunMode(const char* arguments);
