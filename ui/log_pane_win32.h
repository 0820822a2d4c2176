// The log pane: one row per synchronisation attempt in the log list, the newest selected and in
// view and the newest thousand kept, and every row's line in "horavo.log" (Win32).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "round/log_rows.h"

// The log list keeps the newest rows only; the log file keeps them all.
constexpr int kMaxLogRows = 1000;
// The log list's pictures: a set clock, and a row that did not set it.
constexpr int kLogImageSet = 0;
constexpr int kLogImageTrouble = 1;

class LogPane {
public:
    // Takes the template's list, with its columns and pictures; an empty path writes no file.
    void Attach(HWND list);
    void SetFilePath(std::string path) { m_filePath = std::move(path); }
    HWND Control() const { return m_list; }

    // The row in the list, and its line in the file, written now or, while a round runs, held until
    // WriteHeldLines: a write that has to wait must not sit between a request and its reply.
    void Add(const LogRow& row, const std::string& writtenAt, bool holdLine);
    void WriteHeldLines();

private:
    HWND m_list = nullptr;
    std::string m_filePath;
    std::vector<std::string> m_heldLines;
};
