// The server list's editing commands: add, edit, delete, move up and move down (Win32).
#include <cstdio>
#include <cstring>

#include "res/texts.h"
#include "ui/main_dialog.h"
#include "ui/server_entry_dialog.h"
#include "ui/server_list_rules.h"
#include "ui/server_list_view.h"

void MainDialog::AddServer()
{
    char name[512] = "";
    char address[512] = "";
    ServerEntryDialog entry(name, address);
    if (entry.Run() != 0) {
        return;
    }
    // Nothing is checked: empty texts and duplicates are the user's to keep. The box starts clear.
    const int row = ServerRowCount(m_serverList);
    InsertServerRow(m_serverList, row, {false, name, address});
    SelectServerRow(m_serverList, row);
}

void MainDialog::EditServer()
{
    // The selected row, which a double-click need not have hit.
    const int row = SelectedServerRow(m_serverList);
    if (row < 0) {
        return;
    }
    const ServerRow server = ReadServerRow(m_serverList, row);
    char name[512];
    char address[512];
    std::memcpy(name, server.name.c_str(), server.name.size() + 1);
    std::memcpy(address, server.address.c_str(), server.address.size() + 1);
    ServerEntryDialog entry(name, address);
    if (entry.Run() != 0) {
        return;
    }
    SetServerRowTexts(m_serverList, row, name, address);
    SetServerRowKeptKey(m_serverList, row, 0);  // written from what was typed from now on
    SelectServerRow(m_serverList, row);
}

void MainDialog::DeleteServer()
{
    const int row = SelectedServerRow(m_serverList);
    if (row < 0) {
        return;
    }
    char question[1024];
    std::snprintf(question, sizeof question, texts::kDeleteQuestion, ReadServerRow(m_serverList, row).name.c_str());
    if (MessageBoxA(m_hWnd, question, texts::kDeleteCaption, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        SendMessageA(m_serverList, LVM_DELETEITEM, row, 0);
    }
    SelectServerRow(m_serverList, SelectionAfterDelete(row, ServerRowCount(m_serverList)));
}

void MainDialog::MoveServerUp()
{
    const int row = SelectedServerRow(m_serverList);
    const int neighbour = MoveNeighbour(row, ServerRowCount(m_serverList), -1);
    if (neighbour >= 0) {
        SwapServerRows(row, neighbour);
    }
}

void MainDialog::MoveServerDown()
{
    const int row = SelectedServerRow(m_serverList);
    const int neighbour = MoveNeighbour(row, ServerRowCount(m_serverList), +1);
    if (neighbour >= 0) {
        SwapServerRows(row, neighbour);
    }
}

void MainDialog::SwapServerRows(int selected, int neighbour)
{
    // Contents move, rows stay: every other row keeps its index, and the rotation cursor is left alone.
    const ServerRow moving = ReadServerRow(m_serverList, selected);
    const ServerRow other = ReadServerRow(m_serverList, neighbour);
    SetServerRowTexts(m_serverList, selected, other.name, other.address);
    SetServerRowTexts(m_serverList, neighbour, moving.name, moving.address);
    SetServerRowTicked(m_serverList, selected, other.ticked);
    SetServerRowTicked(m_serverList, neighbour, moving.ticked);
    const LPARAM movingKey = ServerRowKeptKey(m_serverList, selected);
    SetServerRowKeptKey(m_serverList, selected, ServerRowKeptKey(m_serverList, neighbour));
    SetServerRowKeptKey(m_serverList, neighbour, movingKey);
    SelectServerRow(m_serverList, neighbour);
}
