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

// What an append does about the older file: turn the log over first (it is past 1 MB and
// "horavo.log.1" may be replaced), or only append. A read-only "horavo.log.1" is the user's and is
// never replaced: the log then grows past 1 MB, and so it does while the turn-over fails.
enum class LogTurnOver { No, First };
LogTurnOver DecideLogTurnOver(uint64_t size, bool olderIsReadOnly);

// The name of the mutex every writer of this log takes around its append and turn-over: the window
// and a scheduled -auto may write at the same moment. Derived from the log's path as the program
// builds it (the same spelling in every process), valid in every session.
std::string LogMutexName(const std::string& logPath);
