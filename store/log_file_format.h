// The lines of "horavo.log": the whole history of the log rows, one line each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Past this size the file becomes "horavo.log.1" before the next line is written.
constexpr uint64_t kLogFileTurnOverBytes = 1024 * 1024;

// The time it was written ("2026/12/08 14:35:02"), then the row's texts, each after a tab, and CR
// LF. A tab or line end inside a text becomes a space, so that every row stays one line.
std::string FormatLogFileLine(const std::string& writtenAt, const std::vector<std::string>& texts);

// Whether a file of this size is turned over before the next line.
bool LogFileTurnsOver(uint64_t size);
