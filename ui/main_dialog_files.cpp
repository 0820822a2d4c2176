// The main window's two files: the settings into and out of its controls, the server list into and
// out of its list; a failed save leaves a debug trace naming the call and its error (Win32).
#include "main_dialog.h"

#include <cstdio>
#include <vector>

#include "shell/trace.h"
#include "store/file_locations.h"
#include "store/program_path.h"
#include "store/server_list_file.h"
#include "store/settings_file.h"
#include "ui/server_list_rules.h"
#include "ui/server_list_view.h"

namespace {

void TraceFailedSave(const char* what, const FileResult& result)
{
    if (!result.ok) {
        Trace("%s: %s failed, error %lu\n", what, result.failedCall, static_cast<unsigned long>(result.error));
    }
}

}  // namespace

void MainDialog::LoadSettings()
{
    const Settings settings = ReadSettings(m_settingsPath);
    SendMessageA(m_minimizeCheck, BM_SETCHECK, settings.StartsMinimised() ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(m_syncAtStartCheck, BM_SETCHECK, settings.SyncsAtStart() ? BST_CHECKED : BST_UNCHECKED, 0);
    m_schedule.syncPending = settings.SyncsAtStart();
    // The edits turn whatever text they get into a number in range, as if it had been typed.
    SetWindowTextA(m_intervalEdit, settings.interval.c_str());
    SetWindowTextA(m_offsetEdit, settings.offset.c_str());
    m_logFileSetting = settings.WritesLogFile() ? 1 : 0;
    m_logFilePath = settings.WritesLogFile() ? LogFilePathFor(m_settingsPath, IsAnsiLeadByte) : std::string();
}

void MainDialog::SaveSettings()
{
    const SavedSettings settings{m_nInterval, m_nOffset,
                                 static_cast<int>(SendMessageA(m_minimizeCheck, BM_GETCHECK, 0, 0)),
                                 static_cast<int>(SendMessageA(m_syncAtStartCheck, BM_GETCHECK, 0, 0)),
                                 m_logFileSetting};
    TraceFailedSave("SaveSettings", WriteSettings(m_settingsPath, settings));
}

bool MainDialog::BuildServerDataPath()
{
    m_serverFilePath = ServerListPathFor(ProgramFilePath().c_str(), IsAnsiLeadByte);
    return !m_serverFilePath.empty();
}

bool MainDialog::LoadServerList(const std::string& path)
{
    ServerListText text;
    m_serverListState = ReadServerListFile(path, &text);
    if (m_serverListState != ServerListFileState::Read) {
        Trace("ファイルを開けませんでした。");
        return false;
    }
    // Lines this run cannot show are kept in a backup at the first save, not dropped.
    m_keepServerListBackup = !text.complete;
    m_keptRows = std::move(text.rows);
    // One repaint for the whole list instead of one per row: a hundred times faster for long lists.
    SendMessageA(m_serverList, WM_SETREDRAW, FALSE, 0);
    for (size_t i = 0; i < m_keptRows.size(); ++i) {
        InsertServerRow(m_serverList, static_cast<int>(i), m_keptRows[i], static_cast<LPARAM>(i + 1));
    }
    SendMessageA(m_serverList, WM_SETREDRAW, TRUE, 0);
    return true;
}

ServerRow MainDialog::ServerRowAt(int index) const
{
    const LPARAM key = ServerRowKeptKey(m_serverList, index);
    const bool kept = key > 0 && static_cast<size_t>(key) <= m_keptRows.size();
    return RowAsKept(ReadServerRow(m_serverList, index), kept ? &m_keptRows[static_cast<size_t>(key) - 1] : nullptr);
}

bool MainDialog::SaveServerList(const std::string& path)
{
    // A list that was there but could not be read would be replaced by the empty one shown.
    if (m_serverListState == ServerListFileState::Unreadable) {
        Trace("SaveServerList: the file could not be read at start, so it is left as it is\n");
        return false;
    }
    std::vector<ServerRow> rows;
    for (int i = 0; i < ServerRowCount(m_serverList); ++i) {
        rows.push_back(ServerRowAt(i));
    }
    const FileResult result = WriteServerListFile(path, rows, m_keepServerListBackup);
    TraceFailedSave("SaveServerList", result);
    if (result.ok) {
        m_keepServerListBackup = false;
    }
    return result.ok;
}
