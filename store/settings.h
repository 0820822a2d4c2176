// The settings as the file holds them, and as the program writes them back.
#pragma once

#include <cstdint>
#include <string>

#include "sntp/server_samples.h"

// LOGFILE's words: only "0", "off", "no" and "false" (any letter case) turn the log file off;
// anything else, a missing key included, keeps it on.
bool LogFileTurnedOn(const std::string& value);

// MAXSTEP's value: its number, 0 turning the step limit off; 900 (the default) for a text that is
// no number, a negative one or one beyond a year.
int32_t MaxStepFrom(const std::string& value);

// SAMPLES' value: a number from 1 to 8, one beyond either end brought to it; kDefaultSamples (4)
// for a text that is no number.
int SamplesFrom(const std::string& value);

// The two numbers' ranges, the same for the window's edits and spins and for the service.
struct NumberRange {
    int32_t minimum;
    int32_t maximum;
};
constexpr NumberRange kIntervalMinutes{0, 360};  // 0 turns the schedule off
constexpr NumberRange kOffsetSeconds{-360, 360};

// A setting's number as the window's edits make it: its first 11 bytes, brought within the range.
int32_t NumberWithin(const std::string& text, NumberRange range);

// As read: the switches count only when they are exactly 1; the two numbers are texts that the
// main window's edits turn into numbers within their ranges, as if they had been typed.
struct Settings {
    unsigned taskTray = 0;        // STARTUP/TASKTRAY: 1 starts the window minimised, in the tray
    unsigned syncAtStart = 0;     // STARTUP/AJAST: 1 synchronises at the first timer tick
    std::string interval = "60";  // SETTING/INTERVAL, minutes
    std::string offset = "0";     // SETTING/OFFSET, seconds
    std::string logFile = "1";    // SETTING/LOGFILE as written, "1" when missing
    unsigned consensus = 0;       // SETTING/CONSENSUS: 1 asks several servers at once, which must agree
    std::string maxStep = "900";  // SETTING/MAXSTEP as written: seconds a correction may have alone
    std::string samples = "4";    // SETTING/SAMPLES as written: exchanges with each server a round
    std::string rightsNotice;     // SETTING/RIGHTSNOTICE as written, empty when missing: "0" never
                                  // explains a 権限エラー again

    bool StartsMinimised() const { return taskTray == 1; }
    bool SyncsAtStart() const { return syncAtStart == 1; }
    bool WritesLogFile() const { return LogFileTurnedOn(logFile); }
    bool AsksTogether() const { return consensus == 1; }
    int32_t IntervalMinutes() const { return NumberWithin(interval, kIntervalMinutes); }
    int32_t OffsetSeconds() const { return NumberWithin(offset, kOffsetSeconds); }
    int32_t MaxStepSeconds() const { return MaxStepFrom(maxStep); }
    int Samples() const { return SamplesFrom(samples); }
};

// As written at exit: the two numbers the edits hold, the states of the check boxes, and the
// values without a control as they were read.
struct SavedSettings {
    int interval;
    int offset;
    int taskTray;  // the check boxes' states: 1 ticked, 0 not
    int syncAtStart;
    std::string logFile;
    int consensus;        // the check box's state
    std::string maxStep;  // as read (it has no control)
    std::string samples;  // as read (it has no control)
    std::string rightsNotice;  // as read, or "0" once the user asked not to be told again; written when not empty

    bool operator==(const SavedSettings& other) const
    {
        return interval == other.interval && offset == other.offset && taskTray == other.taskTray &&
               syncAtStart == other.syncAtStart && logFile == other.logFile && consensus == other.consensus &&
               maxStep == other.maxStep && samples == other.samples && rightsNotice == other.rightsNotice;
    }
};
