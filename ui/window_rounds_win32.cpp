// The main window's rounds: the servers asked, the 同期 button meanwhile, the rows and the end (in
// automatic mode, the end of the program), and the service's rows after a refusal (Win32).
#include "window_rounds_win32.h"

#include "res/message_ids.h"
#include "res/resource.h"
#include "res/texts.h"
#include "round/step_guard.h"
#include "service/service_client_win32.h"

WindowRounds::WindowRounds(RoundWindow& window, ScheduleState& schedule, const ServerListPane& servers, bool autoMode)
    : m_window(window), m_schedule(schedule), m_servers(servers), m_autoMode(autoMode), m_sync(*this, this)
{
}

void WindowRounds::Attach(HWND dialog)
{
    m_dialog = dialog;
    char syncText[64] = "";
    GetDlgItemTextA(m_dialog, IDC_SYNC, syncText, sizeof syncText);
    m_syncButtonText = syncText;
}

void WindowRounds::RunDue(bool userStarted)
{
    if (userStarted) {
        m_userRoundRow = -1;
    }
    StartRound(m_servers.Servers().RotationFrom(m_schedule.nextServer), true, userStarted);
    m_schedule.lastSyncTick = GetTickCount();
    m_schedule.syncPending = false;
}

bool WindowRounds::SelectNextServer()
{
    const RotationChoice choice = m_servers.Servers().NextTicked(m_schedule.nextServer);
    m_schedule.nextServer = choice.nextCursor;
    if (choice.row < 0) {
        return false;
    }
    m_currentServer = m_servers.Servers().Row(choice.row);
    return true;
}

void WindowRounds::SyncSelected()
{
    const int row = m_servers.SelectedRow();
    const ServerList& servers = m_servers.Servers();
    if (servers.Has(row)) {
        m_userRoundRow = row;
        StartRound({{row, servers.Row(row).name, servers.Row(row).address}}, false, true);
    }
}

void WindowRounds::AskServer(const std::string& name, const std::string& address)
{
    StartRound({{-1, name, address}}, false, true);
}

void WindowRounds::StartRound(std::vector<RoundServer> servers, bool movesCursor, bool userStarted)
{
    m_movesCursor = movesCursor;
    m_userStarted = userStarted && !m_autoMode;
    // Asked before the round: its refused row already says the service takes over.
    m_serviceStandsBy = TimeServiceRunning();
    m_sync.StartRound(std::move(servers), m_window.RulesNow(m_userStarted));
    ShowAsking(m_sync.Running());
}

void WindowRounds::ShowAsking(bool asking)
{
    // A server may take 8 s to answer: the button says so meanwhile, and cannot be pressed again.
    HWND button = GetDlgItem(m_dialog, IDC_SYNC);
    if (asking == (IsWindowEnabled(button) == FALSE)) {
        return;
    }
    if (asking) {
        if (GetFocus() == button) {
            SetFocus(m_servers.Control());  // a disabled button cannot keep it; the list the button acts on takes it
        }
        SetWindowTextA(button, texts::kSyncButtonAsking);
    } else {
        SetWindowTextA(button, m_syncButtonText.c_str());
    }
    EnableWindow(button, asking ? FALSE : TRUE);
}

bool WindowRounds::ConfirmStep(const LargeStep& step)
{
    // No is the default: a click through must not move the clock hours away.
    return MessageBoxA(m_dialog, LargeStepQuestion(step).c_str(), texts::kStepCaption,
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void WindowRounds::OnAsking(const RoundServer& server)
{
    m_currentServer = {false, server.name, server.address};
    if (m_movesCursor) {
        m_schedule.nextServer = server.row + 1;
    }
}

void WindowRounds::AddRow(const LogRow& row)
{
    m_window.AddLogRow(m_serviceStandsBy ? HandedToService(row) : row);
}

void WindowRounds::AddServiceSilentRow()
{
    m_window.AddLogRow({std::string(texts::kServiceRowPrefix) + texts::kServiceLogName, "", "", texts::kStatusError, ""});
}

void WindowRounds::OnRoundEnded(const RoundResult& result)
{
    m_window.WriteHeldLogLines();
    // Refused for lack of the right: the time service, which holds it, is asked to do the round.
    if (result.lacksRight && !m_askingService && m_serviceStandsBy) {
        if (AskTimeServiceInBackground(m_dialog, WM_SERVICEANSWER, ServiceRequest::Sync)) {
            m_askingService = true;
            return;  // automatic mode ends with the service's result; the button still says it is asking
        }
        AddServiceSilentRow();  // the row above promised the service
    }
    ShowAsking(false);
    if (!m_autoMode) {
        m_window.TellRoundEnd(result.outcome, result.lacksRight);
        return;
    }
    AutomaticEnd why = result.EndOfAutomaticMode();
    if (why == AutomaticEnd::NoneTicked && !m_servers.FileWasRead()) {
        why = m_servers.FolderHoldsFiles() ? AutomaticEnd::NoServerList : AutomaticEnd::FolderTooLong;
    }
    m_window.EndAutomaticMode(why);
}

void WindowRounds::OnServiceAnswer()
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
        m_window.TellRoundEnd(set ? RoundOutcome::Set : RoundOutcome::Refused, !answered);
    } else if (IsWindow(m_dialog)) {
        m_window.EndAutomaticMode(answered ? AutomaticEndOfExitCode(answer.exitCode) : AutomaticEnd::Refused);
    }
}

void WindowRounds::AskServiceAfterInstall()
{
    if (!m_askingService && AskTimeServiceInBackground(m_dialog, WM_SERVICEANSWER, ServiceRequest::Sync)) {
        m_askingService = true;
        ShowAsking(true);
    }
}
