// The settings pane: "horavo.ini" into the window's edits and check boxes and back out, the two
// number edits kept within their ranges whatever is typed, and the values without a control kept as
// they were read (Win32).
#pragma once

#include <windows.h>

#include <string>

#include "base/file_result.h"
#include "round/sync_round.h"
#include "store/settings.h"

class SettingsPane {
public:
    // Builds the settings path beside the program; the controls come later.
    SettingsPane();

    // Takes the template's controls; their handles must be there before the settings arrive, or
    // the edits' texts go unparsed.
    void Attach(HWND dialog);
    // Reads the file into the controls (the edits parse and clamp what they get).
    void Load();
    FileResult Save();
    // Whether the values as they stand are what the file held when it was read.
    bool Unchanged() const { return Current() == m_asRead; }

    const std::string& Path() const { return m_path; }
    int Interval() const { return m_interval; }
    int Offset() const { return m_offset; }
    bool StartsMinimised() const { return Checked(m_minimizeCheck); }
    bool SyncsAtStart() const { return Checked(m_syncAtStartCheck); }
    bool SynchronisesAutomatically() const { return m_interval > 0 || SyncsAtStart(); }
    bool WritesLogFile() const { return m_read.WritesLogFile(); }
    // The rules of a round started now.
    RoundRules Rules(bool userStarted) const;

    // SETTING/RIGHTSNOTICE: whether the first 権限エラー of a run is explained.
    bool ExplainsMissingRight() const { return m_read.rightsNotice != "0"; }
    void SetExplainsMissingRight(bool explains) { m_read.rightsNotice = explains ? "1" : "0"; }

    // An edit's change notice: its text kept a number within its range, and the value taken.
    void OnEditChange(HWND edit);
    bool IsNumberEdit(HWND control) const { return control == m_intervalEdit || control == m_offsetEdit; }
    // The box shows the value it holds: a lone "-" stands while the offset is typed, not once left.
    void ShowHeldValue(HWND edit);

private:
    SavedSettings Current() const;
    static bool Checked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

    std::string m_path;
    Settings m_read;             // as read; the values without a control are written back from here
    SavedSettings m_asRead{};    // what writing them at once would write
    int m_interval = 0;          // minutes, always the parsed text of its edit
    int m_offset = 0;            // seconds, likewise
    HWND m_intervalEdit = nullptr;
    HWND m_offsetEdit = nullptr;
    HWND m_minimizeCheck = nullptr;
    HWND m_syncAtStartCheck = nullptr;
    HWND m_consensusCheck = nullptr;
};
