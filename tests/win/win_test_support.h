// Helpers of the Win32 tests: the program's folder, files as bytes, and the message queue.
#pragma once

#include <windows.h>

#include <string>

// The folder of the running test program, with its trailing backslash.
std::string ProgramFolder();

// Whole files as bytes; ReadFileBytes gives "<missing>" for a file that is not there.
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

// Dispatches what is queued for this thread, without waiting; stops at WM_QUIT and leaves it queued.
void PumpMessages();

// The exit code of a WM_QUIT waiting in this thread's queue, which is taken; -1 when there is none.
int TakeQuitMessage();

// GetWindowTextA as a string.
std::string WindowText(HWND window);

// GetClassNameA as a string.
std::string ClassName(HWND window);
