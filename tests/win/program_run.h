// horavo.exe started as a process in a fresh folder of its own, as a user would start it (Win32).
#pragma once

#include <windows.h>

#include <string>

class ProgramRun {
public:
    // A new empty folder with a copy of horavo.exe in it.
    ProgramRun();
    ~ProgramRun();  // ends the process if it still runs, and removes the folder

    std::string Folder() const { return folder_; }
    void WriteFile(const char* name, const std::string& bytes) const;
    std::string ReadFile(const char* name) const;  // "<missing>" when it is not there

    // Starts the program with the arguments and a show command; false when it could not start.
    bool Start(const std::string& arguments = "", int showCommand = SW_SHOWNORMAL);
    // The main window, once the program has made it; null after the time limit.
    HWND WaitForMainWindow(DWORD limitMs = 10000);
    // The exit code, or STILL_ACTIVE when the process has not ended within the limit.
    DWORD WaitForExit(DWORD limitMs = 10000);

private:
    std::string folder_;
    PROCESS_INFORMATION process_{};
};
