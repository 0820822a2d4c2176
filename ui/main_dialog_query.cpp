// The main window's side of a query: it asks the current server, hands the socket layer's messages
// to the query, and turns the query's end into a log row or a set clock (Win32).
#include "main_dialog.h"

#include "shell/trace.h"
#include "sync/clock_setting.h"
#include "sync/host_local_time.h"
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

void MainDialog::FinishQuery(QueryStatus status)
{
    if (status == QueryStatus::Answered) {
        ApplyServerTime(m_query.ServerTime());
        return;
    }
    LogRow row;
    if (FailureRow(m_currentServer.name, status, &row)) {
        AddLogRow(row);
    }
}

void MainDialog::ApplyServerTime(NtpTimestamp serverTime)
{
    // The query accepted only a time that converts, so this cannot fail.
    CalendarTime corrected{};
    CorrectedServerTime(serverTime, m_nOffset, HostLocalTime, &corrected);
    const ClockResult clock = SetClock(corrected);
    if (clock.outcome != ClockOutcome::Set) {
        Trace("SetLocalTime failed, error %lu\n", static_cast<unsigned long>(clock.error));
    }
    if (m_autoMode) {
        EndAutomaticMode(AutomaticExitCode(clock.outcome));
        return;
    }
    AddLogRow(ClockRow(m_currentServer.name, corrected, m_nOffset, clock.clockBefore, clock.outcome));
}

void MainDialog::EndAutomaticMode(int exitCode)
{
    KillTimer(m_hWnd, SYNC_TIMER_ID);
    DestroyWindow(m_hWnd);
    PostQuitMessage(exitCode);
}
