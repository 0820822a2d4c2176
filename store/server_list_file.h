// "server.data" read whole into rows and written whole from rows, through Win32 file handles.
#pragma once

#include <string>
#include <vector>

#include "store/file_result.h"
#include "store/server_list_codec.h"

// The rows of the file; false when it cannot be opened (missing, no access, empty path).
bool ReadServerListFile(const std::string& path, std::vector<ServerRow>* rows);

// Writes the rows to "<path>.tmp" and replaces the file with it only once every byte is on disk,
// so a full disk or a crash never costs the user the list they had. A read-only file is left as
// it is: the user chose to keep it.
FileResult WriteServerListFile(const std::string& path, const std::vector<ServerRow>& rows);
