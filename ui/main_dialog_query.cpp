// The main window's side of a query: it asks the current server, hands the socket layer's messages
// and the wait's end to the query, asks the next ticked server of a round after a failure, and
// turns the query's end into a log row or a set clock (Win32).
#include "main_dialog.h"

#include "shell/trace.h"
#include "sync/clock_setting.h"
#include "sync/host_local_time.h"
#include "sync/path_delay.h"
#include "sync/server_time.h"

void MainDialog::StartQuery()
{
    FinishQuery(m_query.Start(m_currentServer.address.c_str(), m_hWnd));
}

void MainDialog::EndQuery()
{
    m_query.End();
}

void MainDialog::AskServer(const std::string& name, const std::string& address)
{
    m_currentServer = {false, name, address};
    m_round.active = false;
    StartQuery();
}

void MainDialog::OnLookupDone(HANDLE lookup, int error)
{
    FinishQuery(m_query.OnLookupDone(lookup, error));
}

void MainDialog::OnSocketEvent(SOCKET socket, int event, int error)
{
    if (error != 0) {
        Trace("Socketイベントの通知エラー\n");
    }
    FinishQuery(m_query.OnSocketEvent(socket, event, error));
}

void MainDialog::OnQueryTimer()
{
    FinishQuery(m_query.OnTimer());
}

void MainDialog::FinishQuery(QueryStatus status)
{
    if (status == QueryStatus::Waiting) {
        return;
    }
    if (status == QueryStatus::Answered) {
        // Set or refused, the round ends here: a refused clock is no server's fault.
        m_round.active = false;
        ApplyServerTime(m_query.Answer());
        return;
    }
    ReportFailure(status);
    if (m_round.active) {
        AskRound();
    }
}

void MainDialog::ReportFailure(QueryStatus status)
{
    LogRow row;
    if (FailureRow(m_currentServer.name, status, &row)) {
        AddLogRow(row);
    }
}

void MainDialog::AskRound()
{
    // A loop, not recursion: each server whose query fails at once is passed at once.
    while (RoundGoesOn(m_round) && SelectNextServer()) {
        ++m_round.tried;
        const QueryStatus status = m_query.Start(m_currentServer.address.c_str(), m_hWnd);
        if (status == QueryStatus::Waiting) {
            return;
        }
        ReportFailure(status);
    }
    EndRoundUnanswered();
}

void MainDialog::EndRoundUnanswered()
{
    m_round.active = false;
    if (m_autoMode) {
        EndAutomaticMode(kExitNoAnswer);
    }
}

void MainDialog::ApplyServerTime(const ServerAnswer& answer)
{
    // The server's time carried forward to this moment, so the clock is set to the time it is set at.
    const int64_t now =
        answer.unixTicksAtReceipt + CounterToTicks(CounterNow() - answer.receivedAtCounter, CounterFrequency());
    CalendarTime corrected{};
    if (!CorrectedLocalTime(now, m_nOffset, HostLocalTime, &corrected)) {
        // The query took only a time that converts; should the zone fail us now, nothing is set.
        if (m_autoMode) {
            EndAutomaticMode(kExitNoAnswer);
        }
        return;
    }
    const ClockResult clock = SetClock(corrected);
    if (clock.outcome != ClockOutcome::Set) {
        Trace("SetLocalTime failed, error %lu\n", static_cast<unsigned long>(clock.error));
    }
    const LogRow row = ClockRow(m_currentServer.name, corrected, m_nOffset, clock.clockBefore, clock.outcome);
    if (m_autoMode) {
        // No window to show a row in; the log file still gets its line.
        RecordSynchronisation(row);
        EndAutomaticMode(AutomaticExitCode(clock.outcome));
        return;
    }
    AddLogRow(row);
}

void MainDialog::EndAutomaticMode(int exitCode)
{
    KillTimer(m_hWnd, SYNC_TIMER_ID);
    EndQuery();
    DestroyWindow(m_hWnd);
    PostQuitMessage(exitCode);
}
