// The running program's file path, and the code page's lead bytes for cutting paths (Win32).
#pragma once

#include <string>

// Empty when the platform cannot tell the path or it does not fit the 261-byte buffer.
std::string ProgramFilePath();

// IsDBCSLeadByte for the system's ANSI code page.
bool IsAnsiLeadByte(unsigned char lead);
