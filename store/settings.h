// The four settings as the file holds them, and as the program writes them back.
#pragma once

#include <string>

// As read: the two switches count only when they are exactly 1; the two numbers are texts that the
// main window's edits turn into numbers within their ranges, as if they had been typed.
struct Settings {
    unsigned taskTray = 0;        // STARTUP/TASKTRAY: 1 starts the window minimised, in the tray
    unsigned syncAtStart = 0;     // STARTUP/AJAST: 1 synchronises at the first timer tick
    std::string interval = "60";  // SETTING/INTERVAL, minutes
    std::string offset = "0";     // SETTING/OFFSET, seconds
    unsigned logFile = 1;         // SETTING/LOGFILE: 0 writes no "horavo.log"

    bool StartsMinimised() const { return taskTray == 1; }
    bool SyncsAtStart() const { return syncAtStart == 1; }
    bool WritesLogFile() const { return logFile != 0; }
};

// As written at exit: the two numbers the edits hold, the states of the two check boxes, and the
// log file's switch as it was read (it has no control).
struct SavedSettings {
    int interval;
    int offset;
    int taskTray;  // the check boxes' states: 1 ticked, 0 not
    int syncAtStart;
    int logFile;
};
