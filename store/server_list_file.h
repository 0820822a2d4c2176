// "server.data" read whole into rows and written whole from rows, through Win32 file handles.
#pragma once

#include <string>
#include <vector>

#include "store/file_result.h"
#include "store/server_list_codec.h"

enum class ServerListFileState {
    Read,        // its rows are in the text
    Missing,     // no such file (or no path): the exit creates it
    Unreadable,  // it is there but could not be opened or read: the exit must leave it alone
};

ServerListFileState ReadServerListFile(const std::string& path, ServerListText* text);

// Writes the rows to "<path>.tmp" and replaces the file with it only once every byte is on disk,
// so a full disk or a crash never costs the user the list they had. With keepBackup the old file
// becomes "<path>.bak" (replacing an older one) instead of going. A read-only file is left as it
// is: the user chose to keep it.
FileResult WriteServerListFile(const std::string& path, const std::vector<ServerRow>& rows, bool keepBackup);
