// The main window's synchronisations: the one-second schedule, the rotation over ticked servers,
// the 同期 button, and a round's course as the engine reports it: the server asked, its rows, its end
// (in automatic mode, the end of the program); the service's rows after a refusal (Win32).
#include "main_dialog_win32.h"

#include "res/resource.h"
#include "res/texts.h"
#include "round/step_guard.h"
#include "server_list_view_win32.h"
#include "service/service_client_win32.h"

void MainDialog::TimerTick()
{
    m_serviceLine.Tick();
    switch (DecideTick(m_schedule, m_nInterval, GetTickCount(), m_sync.Running())) {
    case TickAction::Nothing:
        break;
    case TickAction::StartRound:
        RunDueSynchronisation();
        break;
    case TickAction::SkipRound:
        m_schedule.lastSyncTick = GetTickCount();
        m_schedule.syncPending = false;
        break;
    }
}

void MainDialog::RunDueSynchronisation(bool userStarted)
{
    // The ticked rows from the rotation cursor on, each once; the cursor moves as each is asked.
    if (userStarted) {
        m_userRoundRow = -1;
    }
    StartRound(m_servers.RotationFrom(m_schedule.nextServer), true, userStarted);
    m_schedule.lastSyncTick = GetTickCount();
    m_schedule.syncPending = false;
}

bool MainDialog::SelectNextServer()
{
    const RotationChoice choice = m_servers.NextTicked(m_schedule.nextServer);
    m_schedule.nextServer = choice.nextCursor;
    if (choice.row < 0) {
        return false;
    }
    m_currentServer = m_servers.Row(choice.row);
    return true;
}

void MainDialog::SyncSelectedServer()
{
    const int row = SelectedServerRow(m_serverList);
    if (m_servers.Has(row)) {
        // This row alone: a failure asks no other, and the rotation is left as it is.
        m_userRoundRow = row;
        StartRound({{row, m_servers.Row(row).name, m_servers.Row(row).address}}, false, true);
    }
}

void MainDialog::AskServer(const std::string& name, const std::string& address)
{
    StartRound({{-1, name, address}}, false, true);
}

void MainDialog::StartRound(std::vector<RoundServer> servers, bool movesCursor, bool userStarted)
{
    m_roundMovesCursor = movesCursor;
    m_roundUserStarted = userStarted && !m_autoMode;
    RoundRules rules;
    rules.offsetSeconds = m_nOffset;
    rules.together = SendMessageA(m_consensusCheck, BM_GETCHECK, 0, 0) == BST_CHECKED;
    rules.maxStepSeconds = MaxStepFrom(m_maxStepSetting);
    rules.samples = SamplesFrom(m_samplesSetting);
    rules.userStarted = userStarted && !m_autoMode;
    rules.intervalMinutes = m_nInterval;
    // Asked before the round: its refused row already says the service takes over.
    m_serviceStandsBy = TimeServiceRunning();
    m_sync.StartRound(std::move(servers), rules);
    ShowAsking(m_sync.Running());
}

void MainDialog::ShowAsking(bool asking)
{
    // A server may take 8 s to answer: the button says so meanwhile, and cannot be pressed again.
    HWND button = GetDlgItem(m_hWnd, IDC_SYNC);
    if (asking == (IsWindowEnabled(button) == FALSE)) {
        return;
    }
    if (asking) {
        if (GetFocus() == button) {
            SetFocus(m_serverList);  // a disabled button cannot keep it; the list the button acts on takes it
        }
        SetWindowTextA(button, texts::kSyncButtonAsking);
    } else {
        SetWindowTextA(button, m_syncButtonText.c_str());
    }
    EnableWindow(button, asking ? FALSE : TRUE);
}

bool MainDialog::ConfirmStep(const LargeStep& step)
{
    // No is the default: a click through must not move the clock hours away.
    return MessageBoxA(m_hWnd, LargeStepQuestion(step).c_str(), texts::kStepCaption,
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void MainDialog::OnAsking(const RoundServer& server)
{
    m_currentServer = {false, server.name, server.address};
    if (m_roundMovesCursor) {
        m_schedule.nextServer = server.row + 1;
    }
}

void MainDialog::AddRow(const LogRow& row)
{
    AddLogRow(m_serviceStandsBy ? HandedToService(row) : row);
}

void MainDialog::AddServiceSilentRow()
{
    AddLogRow({std::string(texts::kServiceRowPrefix) + texts::kServiceLogName, "", "", texts::kStatusError, ""});
}

void MainDialog::OnRoundEnded(const RoundResult& result)
{
    WriteLogLines();
    // Refused for lack of the right: the time service, which holds it, is asked to do the round.
    if (result.lacksRight && !m_askingService && m_serviceStandsBy) {
        if (AskTimeServiceInBackground(m_hWnd, WM_SERVICEANSWER, ServiceRequest::Sync)) {
            m_askingService = true;
            return;  // automatic mode ends with the service's result; the button still says it is asking
        }
        AddServiceSilentRow();  // the row above promised the service
    }
    ShowAsking(false);
    if (!m_autoMode) {
        TellRoundEnd(result.outcome, result.lacksRight);
        m_serviceLine.Refresh();
        return;
    }
    AutomaticEnd why = result.EndOfAutomaticMode();
    if (why == AutomaticEnd::NoneTicked && m_serverFile.State() != ServerListFileState::Read) {
        why = m_folderHoldsFiles ? AutomaticEnd::NoServerList : AutomaticEnd::FolderTooLong;
    }
    EndAutomaticMode(why);
}

void MainDialog::OnServiceAnswer()
{
    m_askingService = false;
    ShowAsking(false);
    ServiceAnswer answer;
    const bool answered = TakeTimeServiceAnswer(ServiceRequest::Sync, &answer) && answer.kind == ServiceAnswer::Kind::Done;
    if (answered) {
        for (const LogRow& row : answer.rows) {
            AddRow({texts::kServiceRowPrefix + row.server, row.serverTime, row.localTime, row.status,
                    row.correction});
        }
    } else {
        AddServiceSilentRow();
    }
    if (!m_autoMode) {
        const bool set = answered && answer.exitCode == 0;
        TellRoundEnd(set ? RoundOutcome::Set : RoundOutcome::Refused, !answered);
        m_serviceLine.Refresh();
    }
    if (m_autoMode && IsWindow(m_hWnd)) {
        EndAutomaticMode(answered ? AutomaticEndOfExitCode(answer.exitCode) : AutomaticEnd::Refused);
    }
}

void MainDialog::EndAutomaticMode(AutomaticEnd why)
{
    KillTimer(m_hWnd, SYNC_TIMER_ID);
    m_sync.Stop();
    // Nothing is written but this line: the Task Scheduler's history shows the code, the log why.
    RecordSynchronisation(AutomaticEndRow(why));
    DestroyWindow(m_hWnd);
    PostQuitMessage(AutomaticEndExitCode(why));
}
