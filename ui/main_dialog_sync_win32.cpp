// The main window's synchronisations: the one-second schedule, the rotation over ticked servers,
// the 同期 button, and a round's course as the engine reports it: the server asked, its rows, its end
// (in automatic mode, the end of the program) (Win32).
#include "main_dialog_win32.h"

#include "res/texts.h"
#include "sync/step_guard.h"
#include "ui/server_list_view_win32.h"
#include "shell/command_line.h"
#include "shell/help_engine_win32.h"
#include "shell/single_instance_win32.h"
#include "ui/rights_notice_win32.h"
#include "ui/service_client_win32.h"

#include <shellapi.h>

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
    m_sync.StartRound(std::move(servers), rules);
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
    AddLogRow(row.server.c_str(), row.serverTime.c_str(), row.localTime.c_str(), row.status.c_str(),
              row.correction.c_str());
}

void MainDialog::OnRoundEnded(const RoundResult& result)
{
    WriteLogLines();
    // Refused for lack of the right: the time service, which holds it, is asked to do the round.
    if (result.lacksRight && !m_askingService && TimeServiceRunning() &&
        AskTimeServiceInBackground(m_hWnd, WM_SERVICEANSWER, ServiceRequest::Sync)) {
        m_askingService = true;
        return;  // automatic mode ends with the service's result
    }
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
    ServiceAnswer answer;
    const bool answered = TakeTimeServiceAnswer(ServiceRequest::Sync, &answer) && answer.kind == ServiceAnswer::Kind::Done;
    if (answered) {
        for (const LogRow& row : answer.rows) {
            AddRow({texts::kServiceRowPrefix + row.server, row.serverTime, row.localTime, row.status,
                    row.correction});
        }
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

bool MainDialog::RunElevated(const char* arguments)
{
    // The new process gets the list and settings as they stand now.
    SaveSettings();
    SaveServerList();
    char program[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    run.hwnd = m_hWnd;
    run.lpVerb = "runas";
    run.lpFile = program;
    run.lpParameters = arguments;
    run.nShow = SW_SHOWNORMAL;
    return ShellExecuteExA(&run) != FALSE;
}

void MainDialog::TellRoundEnd(RoundOutcome outcome, bool lacksRight)
{
    const TrayNotice notice = m_trayNotices.AfterRound(outcome, lacksRight);
    m_trayIcon.ShowTrouble(notice.trouble);
    if (notice.balloon != nullptr) {
        m_trayIcon.ShowBalloon(texts::kBalloonTitle, notice.balloon);
    }
    // Explained once a run, for a round the user started: a scheduled round must not put a dialog
    // in front of whatever the user is doing.
    if (outcome == RoundOutcome::Refused && lacksRight && m_roundUserStarted && !m_rightsNoticeShown &&
        m_rightsNoticeSetting != "0") {
        m_rightsNoticeShown = true;
        ExplainMissingRight();
    }
}

void MainDialog::ExplainMissingRight()
{
    bool dontShowAgain = false;
    const RightsChoice choice = AskAboutRights(m_hWnd, &dontShowAgain);
    if (dontShowAgain) {
        m_rightsNoticeSetting = "0";
    }
    switch (choice) {
    case RightsChoice::InstallService:
        RunElevated("-install-service");
        break;
    case RightsChoice::RestartElevated:
        RestartElevated();
        break;
    case RightsChoice::Help:
        ShowHelpPage(m_hWnd, "rights.html");
        break;
    case RightsChoice::Close:
        break;
    }
}

void MainDialog::RestartElevated()
{
    // The new process must not find this one still holding the session's instance.
    ReleaseSingleInstance();
    if (RunElevated(SkipProgramName(GetCommandLineA()))) {
        CloseMainDialog(IDCANCEL);
    } else {
        ClaimSingleInstance();  // declined at the prompt: this window stays the one
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
