// The log list: one row per synchronisation attempt, newest selected and in view (Win32).
#include "main_dialog.h"

void MainDialog::AddLogRow(const char* server, const char* serverTime, const char* localTime, const char* status)
{
    const int row = static_cast<int>(SendMessageA(m_logList, LVM_GETITEMCOUNT, 0, 0));
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(server);
    SendMessageA(m_logList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));

    const char* const columns[] = {serverTime, localTime, status};
    for (int column = 1; column <= 3; ++column) {
        item.iSubItem = column;
        item.pszText = const_cast<char*>(columns[column - 1]);
        SendMessageA(m_logList, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }

    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(m_logList, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(m_logList, LVM_ENSUREVISIBLE, row, TRUE);
}

void MainDialog::AddLogRow(const LogRow& row)
{
    AddLogRow(row.server.c_str(), row.serverTime.c_str(), row.localTime.c_str(), row.status.c_str());
}
