// The server list pane: the file into the rows, and the commands on them (Win32).
#include "server_list_pane_win32.h"

#include <cstdio>
#include <utility>

#include "base/program_path.h"
#include "res/texts.h"
#include "shell/trace.h"
#include "store/file_locations.h"
#include "server_entry_dialog_win32.h"
#include "server_list_view_win32.h"

void ServerListPane::Attach(HWND owner, HWND list, std::function<void()> namesChanged)
{
    m_owner = owner;
    m_list = list;
    m_namesChanged = std::move(namesChanged);
    AttachServerListControl(m_list);
    Load();
    SelectServerRow(m_list, 0);
}

void ServerListPane::Load()
{
    m_file = ServerListFile(ServerListPathFor(ProgramFilePath().c_str(), IsAnsiLeadByte));
    m_servers = m_file.Load();
    if (!FileWasRead()) {
        Trace("server.data: not read\n");
    }
    ShowServerRowCount(m_list, m_servers.Count());
}

bool ServerListPane::FolderHoldsFiles() const
{
    return FolderHoldsProgramFiles(ProgramFilePath().c_str(), IsAnsiLeadByte);
}

FileResult ServerListPane::Save()
{
    const FileResult result = m_file.Save(m_servers);
    if (!result.ok) {
        Trace("SaveServerList: %s failed, error %lu\n", result.failedCall, static_cast<unsigned long>(result.error));
    }
    return result;
}

int ServerListPane::SelectedRow() const
{
    return SelectedServerRow(m_list);
}

void ServerListPane::SelectRow(int row)
{
    SelectServerRow(m_list, row);
}

bool ServerListPane::OnNotify(const NMHDR* header)
{
    if (header->hwndFrom != m_list) {
        return false;
    }
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
        const int tick = TickChange(change);
        if (tick >= 0) {
            m_servers.SetTicked(change->iItem, tick == 1);
        }
        return true;
    }
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey != VK_DELETE) {
            return false;
        }
        DeleteSelected();  // asks first, as the 削除 button does
        return true;
    case LVN_GETDISPINFOA:
        FillServerRow(reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header)), m_servers);
        return true;
    case static_cast<UINT>(NM_DBLCLK):
        EditSelected();
        return true;
    default:
        return false;
    }
}

void ServerListPane::Add()
{
    // The box starts clear.
    ServerEntryDialog entry({});
    if (!entry.Run()) {
        return;
    }
    const int row = m_servers.Add(entry.Texts().name, entry.Texts().address);
    ShowServerRowCount(m_list, m_servers.Count());
    SelectServerRow(m_list, row);
    m_namesChanged();
}

void ServerListPane::EditSelected()
{
    // The selected row, which a double-click need not have hit.
    const int row = SelectedServerRow(m_list);
    if (!m_servers.Has(row)) {
        return;
    }
    ServerEntryDialog entry({m_servers.Row(row).name, m_servers.Row(row).address});
    // A round's end may have come while the dialog was open; the row is looked up again.
    if (!entry.Run() || !m_servers.Has(row)) {
        return;
    }
    m_servers.Edit(row, entry.Texts().name, entry.Texts().address);
    ShowServerRow(m_list, row);
    m_namesChanged();
    SelectServerRow(m_list, row);
}

void ServerListPane::DeleteSelected()
{
    const int row = SelectedServerRow(m_list);
    if (!m_servers.Has(row)) {
        return;
    }
    char question[1024];
    std::snprintf(question, sizeof question, texts::kDeleteQuestion, m_servers.Row(row).name.c_str());
    if (MessageBoxA(m_owner, question, texts::kDeleteCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        SelectServerRow(m_list, row);
        return;
    }
    const int selected = m_servers.Delete(row);
    DeleteServerRow(m_list, row);
    SelectServerRow(m_list, selected);
}

void ServerListPane::MoveSelected(int direction)
{
    // Contents move, rows stay: every other row keeps its index, and the rotation cursor is left alone.
    const int row = SelectedServerRow(m_list);
    const int moved = m_servers.Move(row, direction);
    if (moved < 0) {
        return;
    }
    ShowServerRow(m_list, row);
    ShowServerRow(m_list, moved);
    SelectServerRow(m_list, moved);
}
