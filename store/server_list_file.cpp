// "server.data" beside the program: read into the server list at set-up, written back at exit (Win32).
#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>

#include "shell/trace.h"
#include "store/file_locations.h"
#include "store/program_path.h"
#include "store/server_list_codec.h"
#include "ui/main_dialog.h"
#include "ui/server_list_view.h"

bool MainDialog::BuildServerDataPath()
{
    const std::string path = ServerListPathFor(ProgramFilePath().c_str(), IsAnsiLeadByte);
    std::memcpy(m_szServerFile, path.c_str(), path.size() + 1);
    return !path.empty();
}

bool MainDialog::LoadServerList(const char* path)
{
    // Text mode: the C runtime turns CR LF into LF and ends the data at a byte 0x1A.
    std::ifstream in;
    if (path[0] != '\0') {
        in.open(path);
    }
    if (!in.is_open()) {
        Trace("ファイルを開けませんでした。");
        return false;
    }
    int index = 0;
    // One repaint for the whole list instead of one per row: a hundred times faster for long lists.
    SendMessageA(m_serverList, WM_SETREDRAW, FALSE, 0);
    for (const ServerRow& row : ReadServerList(in)) {
        InsertServerRow(m_serverList, index++, row);
    }
    SendMessageA(m_serverList, WM_SETREDRAW, TRUE, 0);
    return true;
}

bool MainDialog::SaveServerList(const char* path)
{
    // A read-only list is one the user chose to keep as it is; replacing it would go around that.
    const DWORD attributes = GetFileAttributesA(path);
    if (path[0] == '\0' || (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)) {
        return false;
    }
    // The new list goes to a file of its own first; the old one is replaced only once every byte is
    // written, so a full disk or a crash never costs the user the list they had.
    const std::string temporary = std::string(path) + ".tmp";
    std::ofstream out(temporary);  // text mode: each line ends in CR LF
    if (!out.is_open()) {
        return false;
    }
    for (int i = 0; i < ServerRowCount(m_serverList); ++i) {
        out << FormatServerLine(ReadServerRow(m_serverList, i));
    }
    out.close();
    if (out.fail() ||
        !MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}
