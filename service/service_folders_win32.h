// Where the time service lives (Win32): its program in %ProgramFiles%\Tempivo, which users cannot
// write, and its files in %ProgramData%\Tempivo, under an access list of its own.
#pragma once

#include <string>
#include <vector>

constexpr char kServiceName[] = "Tempivo";

// The two folders, each with its trailing backslash; empty when the system cannot tell them.
std::string ServiceProgramFolder();
std::string ServiceDataFolder();

// Every program folder an install of either build may have made: on 64-bit Windows the 32-bit
// program installs into "Program Files (x86)", the 64-bit one into "Program Files".
std::vector<std::string> ServiceProgramFolders();

// Deletes a folder and everything in it, never following a link or junction inside (the link itself
// is removed). True when the folder is gone.
bool RemoveFolderTree(const std::string& folder);
