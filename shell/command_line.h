// The process command line: what follows the program's own name, and whether it asks for automatic mode.
#pragma once

// The arguments part of a full command line: the program name (in double quotes up to the closing
// quote, otherwise up to the first byte of code 0x20 or below) and the blanks after it skipped.
// Trailing blanks stay.
const char* SkipProgramName(const char* commandLine);

// Exactly "-auto" in any letter case; "-auto " with a trailing blank, "/auto" or more words are not.
bool IsAutoModeArgument(const char* arguments);
