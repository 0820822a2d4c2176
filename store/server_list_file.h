// "server.data" read whole into the server list and written whole from it, through Win32 file
// handles; the codec has the bytes' rules.
#pragma once

#include <string>
#include <utility>

#include "base/file_result.h"
#include "server_list.h"

enum class ServerListFileState {
    Read,        // its rows are in the list
    Missing,     // no such file (or no path): the first save creates it
    Unreadable,  // it is there but could not be opened or read: saves must leave it alone
};

// The list's file over a run: read once at start, written at the end, with what the read found
// deciding how it may be written.
class ServerListFile {
public:
    explicit ServerListFile(std::string path = std::string()) : m_path(std::move(path)) {}

    // The rows of the file; an empty list when it is missing or unreadable.
    ServerList Load();

    // Writes the rows to a new temporary file of a random name in the same folder, flushed to the
    // disk, and only then replaces the file with it, so a full disk, a crash or a power cut never
    // costs the user the list they had, and no file planted under a fixed name is ever written. When
    // the read skipped lines the old file becomes "<path>.bak" (replacing an older one) instead of
    // going, once. A file that was there but unreadable, a read-only one and a link are left alone.
    FileResult Save(const ServerList& list);

    // Whether these are the rows read or last written: a save that fails then loses nothing.
    bool Holds(const ServerList& list) const;

    const std::string& Path() const { return m_path; }
    ServerListFileState State() const { return m_state; }

private:
    std::string m_path;
    ServerListFileState m_state = ServerListFileState::Missing;
    bool m_keepBackup = false;  // the file had lines this run could not read
    std::string m_bytes;        // the rows read or last written, as the file would hold them
};
