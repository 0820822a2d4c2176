// The server list's editing commands: add, edit, delete, move up and move down, and the user's ticks;
// each changes the model, then the control shows it (Win32).
#include <cstdio>
#include <cstring>

#include "res/texts.h"
#include "main_dialog_win32.h"
#include "server_entry_dialog_win32.h"
#include "server_list_view_win32.h"

void MainDialog::AddServer()
{
    char name[512] = "";
    char address[512] = "";
    ServerEntryDialog entry(name, address);
    if (entry.Run() != 0) {
        return;
    }
    // The box starts clear.
    const int row = m_servers.Add(name, address);
    ShowServerRowCount(m_serverList, m_servers.Count());
    SelectServerRow(m_serverList, row);
    FitColumns();
}

void MainDialog::EditServer()
{
    // The selected row, which a double-click need not have hit.
    const int row = SelectedServerRow(m_serverList);
    if (!m_servers.Has(row)) {
        return;
    }
    char name[512];
    char address[512];
    const ServerRow& server = m_servers.Row(row);
    std::memcpy(name, server.name.c_str(), server.name.size() + 1);
    std::memcpy(address, server.address.c_str(), server.address.size() + 1);
    ServerEntryDialog entry(name, address);
    if (entry.Run() != 0 || !m_servers.Has(row)) {
        return;
    }
    m_servers.Edit(row, name, address);
    ShowServerRow(m_serverList, row);
    FitColumns();
    SelectServerRow(m_serverList, row);
}

void MainDialog::DeleteServer()
{
    const int row = SelectedServerRow(m_serverList);
    if (!m_servers.Has(row)) {
        return;
    }
    char question[1024];
    std::snprintf(question, sizeof question, texts::kDeleteQuestion, m_servers.Row(row).name.c_str());
    if (MessageBoxA(m_hWnd, question, texts::kDeleteCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        SelectServerRow(m_serverList, row);
        return;
    }
    const int selected = m_servers.Delete(row);
    DeleteServerRow(m_serverList, row);
    SelectServerRow(m_serverList, selected);
}

void MainDialog::MoveServer(int direction)
{
    // Contents move, rows stay: every other row keeps its index, and the rotation cursor is left alone.
    const int row = SelectedServerRow(m_serverList);
    const int moved = m_servers.Move(row, direction);
    if (moved < 0) {
        return;
    }
    ShowServerRow(m_serverList, row);
    ShowServerRow(m_serverList, moved);
    SelectServerRow(m_serverList, moved);
}

void MainDialog::OnServerListChanged(const NMLISTVIEW* change)
{
    const int tick = TickChange(change);
    if (tick >= 0) {
        m_servers.SetTicked(change->iItem, tick == 1);
    }
}
