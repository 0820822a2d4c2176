// The settings as the file holds them, and as the program writes them back.
#pragma once

#include <string>

// LOGFILE's words: only "0", "off", "no" and "false" (any letter case) turn the log file off;
// anything else, a missing key included, keeps it on.
bool LogFileTurnedOn(const std::string& value);

// As read: the two switches count only when they are exactly 1; the two numbers are texts that the
// main window's edits turn into numbers within their ranges, as if they had been typed.
struct Settings {
    unsigned taskTray = 0;        // STARTUP/TASKTRAY: 1 starts the window minimised, in the tray
    unsigned syncAtStart = 0;     // STARTUP/AJAST: 1 synchronises at the first timer tick
    std::string interval = "60";  // SETTING/INTERVAL, minutes
    std::string offset = "0";     // SETTING/OFFSET, seconds
    std::string logFile = "1";    // SETTING/LOGFILE as written, "1" when missing

    bool StartsMinimised() const { return taskTray == 1; }
    bool SyncsAtStart() const { return syncAtStart == 1; }
    bool WritesLogFile() const { return LogFileTurnedOn(logFile); }
};

// As written at exit: the two numbers the edits hold, the states of the two check boxes, and the
// log file's switch as it was read (it has no control).
struct SavedSettings {
    int interval;
    int offset;
    int taskTray;  // the check boxes' states: 1 ticked, 0 not
    int syncAtStart;
    std::string logFile;

    bool operator==(const SavedSettings& other) const
    {
        return interval == other.interval && offset == other.offset && taskTray == other.taskTray &&
               syncAtStart == other.syncAtStart && logFile == other.logFile;
    }
};
