// The running program's file path, and the code page's lead bytes for cutting paths (Win32).
#pragma once

#include <string>

// Empty when the platform cannot tell the path or it is longer than MAX_PATH allows.
std::string ProgramFilePath();

// The path as far as the platform gives it, for naming the folder to the user: a path too long is
// given cut, which still shows where.
std::string ProgramFilePathAsGiven();

// IsDBCSLeadByte for the system's ANSI code page.
bool IsAnsiLeadByte(unsigned char lead);
