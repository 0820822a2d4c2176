// The one-second timer, the round robin over ticked servers, and the 同期 button (Win32).
#include <algorithm>
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
    const std::vector<bool> ticked = TickedRows();
    m_round = {true, 0, static_cast<int>(std::count(ticked.begin(), ticked.end(), true))};
    AskRound();
}

std::vector<bool> MainDialog::TickedRows() const
{
    std::vector<bool> ticked;
    for (int row = 0; row < ServerRowCount(m_serverList); ++row) {
        ticked.push_back(ServerRowTicked(m_serverList, row));
    }
    return ticked;
}

bool MainDialog::SelectNextServer()
{
    const RotationChoice choice = ChooseNextServer(m_schedule.nextServer, TickedRows());
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
