// The way past 権限エラー: the tray's word after a round, the rights notice, and its two remedies, each
// ending in the user's round run again: the service installed, then asked to synchronise; or this
// program restarted as administrator, which runs the round at once (Win32).
#include "main_dialog_win32.h"

#include <string>

#include "res/message_ids.h"
#include "res/resource.h"
#include "res/texts.h"
#include "shell/command_line.h"
#include "shell/help_engine_win32.h"
#include "shell/single_instance_win32.h"
#include "rights/rights_notice_win32.h"

namespace {

bool ProcessIsElevated()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return false;
    }
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool elevated = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
                          elevation.TokenIsElevated != 0;
    CloseHandle(token);
    return elevated;
}

}  // namespace

void MainDialog::TellRoundEnd(RoundOutcome outcome, bool lacksRight)
{
    // Explained once a run, for a round the user started: a scheduled round must not put a dialog
    // in front of whatever the user is doing. The notice says more than the balloon, so no balloon
    // comes with it, nor while it is open.
    const bool explain = outcome == RoundOutcome::Refused && lacksRight && m_rounds.UserStarted() &&
                         !m_rightsNoticeShown && m_settings.ExplainsMissingRight();
    m_tray.AfterRound(outcome, lacksRight, !explain && !m_rightsNoticeOpen);
    if (explain) {
        m_rightsNoticeShown = true;
        ExplainMissingRight();
    }
    m_serviceLine.Refresh();
}

void MainDialog::ExplainMissingRight()
{
    bool dontShowAgain = false;
    m_rightsNoticeOpen = true;
    const RightsChoice choice = AskAboutRights(m_hWnd, &dontShowAgain);
    m_rightsNoticeOpen = false;
    if (dontShowAgain) {
        SetExplainsMissingRight(false);
    }
    switch (choice) {
    case RightsChoice::InstallService:
        InstallServiceThenRetry();
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

void MainDialog::SetExplainsMissingRight(bool explains)
{
    // Turned on again, it may come once more in this run too.
    m_settings.SetExplainsMissingRight(explains);
    if (explains) {
        m_rightsNoticeShown = false;
    }
    CheckMenuItem(GetSystemMenu(m_hWnd, FALSE), IDM_RIGHTS_NOTICE, MF_BYCOMMAND | (explains ? MF_CHECKED : MF_UNCHECKED));
}

bool MainDialog::RunElevated(const char* arguments, bool watched)
{
    // The new process gets the list, the settings and the window's size as they stand now.
    SaveSettings();
    m_servers.Save();
    return watched ? m_elevated.RunAndWatch(m_hWnd, arguments, WM_ELEVATEDENDED) : ElevatedCommand::Run(m_hWnd, arguments);
}

void MainDialog::InstallServiceThenRetry()
{
    // The install command tells the user itself; once it has ended well, the service does the round.
    RunElevated("-install-service", true);
}

void MainDialog::OnElevatedEnded()
{
    if (m_elevated.EndedWell()) {
        m_rounds.AskServiceAfterInstall();
    }
}

void MainDialog::RestartElevated()
{
    // The new process must not find this one still holding the session's instance; it runs the
    // user's round again as soon as its window is up.
    ReleaseSingleInstance();
    if (RunElevated(RetryArguments(m_rounds.UserRoundRow()).c_str())) {
        CloseMainDialog(IDCANCEL);
    } else {
        ClaimSingleInstance();  // declined at the prompt: this window stays the one
    }
}

void MainDialog::RetryRound(int row)
{
    // The window the notice restarted says what it is: one that may set the clock.
    if (ProcessIsElevated()) {
        SetWindowTextA(m_hWnd, (std::string(texts::kProgramName) + texts::kTitleElevated).c_str());
    }
    if (m_servers.Servers().Has(row)) {
        m_servers.SelectRow(row);
        m_rounds.SyncSelected();
    } else {
        m_rounds.RunDue(true);
    }
}
