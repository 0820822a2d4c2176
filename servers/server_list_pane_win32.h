// The server list pane: the list control, the rows it shows and "server.data" they are kept in, and
// the commands that change them: add, edit, delete, move and the user's ticks; each changes the
// rows first, then the control shows them (Win32).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "base/file_result.h"
#include "store/server_list.h"
#include "store/server_list_file.h"

class ServerListPane {
public:
    // Takes the template's list control and shows the file's rows, the first selected; names that
    // change are told, for the columns that fit them.
    void Attach(HWND owner, HWND list, std::function<void()> namesChanged);
    HWND Control() const { return m_list; }

    const ServerList& Servers() const { return m_servers; }
    bool FileWasRead() const { return m_file.State() == ServerListFileState::Read; }
    // Whether the program's folder leaves room for its files' names.
    bool FolderHoldsFiles() const;
    FileResult Save();
    // Whether "server.data" holds the rows as they stand.
    bool Saved() const { return m_file.Holds(m_servers); }

    int SelectedRow() const;
    void SelectRow(int row);

    // The list's notices; whether the notice was the list's.
    bool OnNotify(const NMHDR* header);
    void Add();
    void EditSelected();
    void DeleteSelected();  // asks first
    void MoveSelected(int direction);

private:
    void Load();

    HWND m_owner = nullptr;
    HWND m_list = nullptr;
    ServerListFile m_file;
    ServerList m_servers;
    std::function<void()> m_namesChanged;
};
