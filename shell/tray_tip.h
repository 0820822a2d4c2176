// The tray icon's tip after a synchronisation.
#pragma once

#include <string>

// "Tempivo", and on a second line "最終同期", the moment the row was written and its status.
std::string TrayTip(const std::string& writtenAt, const std::string& status);
