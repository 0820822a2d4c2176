// The one-second timer, the round robin over ticked servers, and the 同期 button (Win32).
#include <vector>

#include "ui/main_dialog.h"
#include "ui/server_list_view.h"

void MainDialog::TimerTick()
{
    if (DecideSync(m_schedule.syncPending, m_nInterval, GetTickCount(), m_schedule.lastSyncTick) == SyncDue::No) {
        return;
    }
    RunDueSynchronisation();
}

void MainDialog::RunDueSynchronisation()
{
    StartRound();
    m_schedule.lastSyncTick = GetTickCount();
    m_schedule.syncPending = false;
}

void MainDialog::StartRound()
{
    int ticked = 0;
    for (int row = 0; row < ServerRowCount(m_serverList); ++row) {
        ticked += ReadServerRow(m_serverList, row).ticked ? 1 : 0;
    }
    m_round = {true, 0, ticked};
    AskRound();
}

bool MainDialog::SelectNextServer()
{
    std::vector<bool> ticked;
    for (int row = 0; row < ServerRowCount(m_serverList); ++row) {
        ticked.push_back(ReadServerRow(m_serverList, row).ticked);
    }
    const RotationChoice choice = ChooseNextServer(m_schedule.nextServer, ticked);
    m_schedule.nextServer = choice.nextCursor;
    if (choice.row < 0) {
        return false;
    }
    m_currentServer = ServerRowAt(choice.row);
    return true;
}

void MainDialog::SyncSelectedServer()
{
    const int row = SelectedServerRow(m_serverList);
    if (row < 0) {
        return;
    }
    m_currentServer = ServerRowAt(row);
    m_round.active = false;  // this row alone: a failure asks no other
    StartQuery();
}
