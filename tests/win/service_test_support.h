// What the time service's tests share (Win32).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "program_run.h"

// %ProgramFiles%\Tempivo\ or %ProgramData%\Tempivo\ (CSIDL_PROGRAM_FILES, CSIDL_COMMON_APPDATA).
std::string KnownFolder(int id);
std::string ReadAll(const std::string& path);  // "<missing>" when it cannot be opened

// The service in the service manager: its state (0 when there is none), a wait for a state, a
// control (0 starts it), its process id.
DWORD ServiceState();
bool WaitFor(DWORD state, DWORD limitMs);
void Control(DWORD control);
DWORD ServiceProcessId();
// Installs the service from the installer's folder with this list and these settings, running.
void InstallService(ProgramRun& installer, const std::string& list, const std::string& settings);

// The service's log, and a wait until a text stands in it at least so many times.
std::string ServiceLog();
bool WaitForServiceLog(const std::string& text, size_t count, DWORD limitMs);
size_t Occurrences(const std::string& text, const std::string& part);

// One message to the pipe and its answer, as a user's program would send it; "<no pipe>" when it
// cannot be opened, "<closed>" when the service ended the connection.
std::string Ask(const std::string& request);
// tools/pipe_client.exe as a process of its own, and its end (killed if it still runs).
PROCESS_INFORMATION StartPipeClient(const std::string& arguments);
void EndProcess(PROCESS_INFORMATION* process);

// The main window's line about the service once it says what is expected ("" for hidden), or what
// it said when the limit passed.
std::string WaitForServiceLine(HWND main, const char* expected, DWORD limitMs = 10000);

// This prefix's Linux processes whose command line holds both texts, and their processor time.
std::vector<std::string> LinuxProcesses(const char* program, const char* argument);
uint64_t LinuxProcessorTicks(const std::string& pid);
// The bounding set of the service's Linux process: CAP_SYS_TIME (bit 25) must be gone from it.
bool ServiceProcessMaySetTheClock(bool* found);
