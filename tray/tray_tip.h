// The tray icon's tip after a synchronisation.
#pragma once

#include <string>

// "Tempivo", and on a second line "前回の同期:", the moment the row was written and what became of it
// (its status, or what went wrong).
std::string TrayTip(const std::string& writtenAt, const std::string& status);

// That second line alone ("前回の同期: 12:00:05 接続先不明"), which the balloon opens with too.
std::string LastSyncLine(const std::string& writtenAt, const std::string& status);
