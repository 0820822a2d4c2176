// The one-second timer, the round robin over ticked servers, and the 同期 button (Win32).
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <vector>

#include "ui/main_dialog.h"
#include "ui/server_list_view.h"
#include "ui/sync_schedule.h"

namespace {

// A row's texts into the query fields, at most 511 bytes each.
void CopyRowTexts(HWND list, int row, char (&name)[512], char (&address)[512])
{
    const ServerRow server = ReadServerRow(list, row);
    std::memcpy(name, server.name.c_str(), server.name.size() + 1);
    std::memcpy(address, server.address.c_str(), server.address.size() + 1);
}

}  // namespace

void MainDialog::TimerTick()
{
    const SyncDue due = DecideSync(m_bSyncPending, m_nInterval, GetTickCount(), m_dwLastSyncTick);
    if (due == SyncDue::No) {
        return;
    }
    // With no ticked row the due synchronisation is skipped, and counts as done.
    if (SelectNextServer()) {
        StartQuery();
    }
    m_dwLastSyncTick = GetTickCount();
    m_bSyncPending = false;
}

bool MainDialog::SelectNextServer()
{
    std::vector<bool> ticked;
    for (int row = 0; row < ServerRowCount(m_serverList); ++row) {
        ticked.push_back(ReadServerRow(m_serverList, row).ticked);
    }
    const RotationChoice choice = ChooseNextServer(m_nNextServer, ticked);
    m_nNextServer = choice.nextCursor;
    if (choice.row < 0) {
        return false;
    }
    CopyRowTexts(m_serverList, choice.row, m_szServerName, m_szServerAddr);
    return true;
}

void MainDialog::SyncSelectedServer()
{
    const int row = SelectedServerRow(m_serverList);
    if (row < 0) {
        return;
    }
    CopyRowTexts(m_serverList, row, m_szServerName, m_szServerAddr);
    StartQuery();
}
