// horavo.exe started as a process in a fresh folder of its own, as a user would start it (Win32).
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

// The five texts of a log row: server, server time, local time, status, correction.
using LogRow = std::array<std::string, 5>;

class ProgramRun {
public:
    // A new empty folder with a copy of horavo.exe in it.
    ProgramRun();
    // The horavo.exe that stands in a folder already (an unpacked download); the folder stays.
    explicit ProgramRun(std::string folder);
    ~ProgramRun();  // ends the process if it still runs, and removes a folder it made

    std::string Folder() const { return folder_; }
    void WriteFile(const char* name, const std::string& bytes) const;
    std::string ReadFile(const char* name) const;  // "<missing>" when it is not there

    // Starts the program with the arguments and a show command; false when it could not start.
    bool Start(const std::string& arguments = "", int showCommand = SW_SHOWNORMAL);
    // Runs the program with the arguments to its end, its standard error a file that is read back:
    // what a console would have shown. The exit code, or STILL_ACTIVE after the limit.
    DWORD RunToEnd(const std::string& arguments, std::string* standardError, DWORD limitMs = 30000);

    // The main window, once the program has made it; null after the time limit.
    HWND WaitForMainWindow(DWORD limitMs = 30000);
    // Waits until the window is shown, which it is once it is set up: text typed into it before that
    // would be overwritten by the settings. False after the limit.
    static bool WaitUntilShown(HWND window, DWORD limitMs = 15000);

    // The exit code, or STILL_ACTIVE when the process has not ended within the limit.
    DWORD WaitForExit(DWORD limitMs = 10000);

    // The log list of the running program, read across the process boundary.
    std::vector<LogRow> ReadLogRows(HWND window) const;
    // Waits until the log has at least this many rows, or the limit has passed; the rows there are.
    std::vector<LogRow> WaitForLogRows(HWND window, size_t count, DWORD limitMs = 15000) const;
    // Selects and focuses a row of the server list.
    void SelectServerRow(HWND window, int row) const;

    HANDLE Process() const { return process_.hProcess; }

private:
    std::string folder_;
    bool ownsFolder_ = true;
    PROCESS_INFORMATION process_{};
};
