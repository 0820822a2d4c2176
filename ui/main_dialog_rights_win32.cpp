// The way past 権限エラー: the tray's word after a round, the rights notice, and its two remedies, each
// ending in the user's round run again: the service installed, then asked to synchronise; or this
// program restarted as administrator, which runs the round at once (Win32).
#include "main_dialog_win32.h"

#include <shellapi.h>

#include <string>

#include "res/resource.h"
#include "res/texts.h"
#include "shell/command_line.h"
#include "shell/help_engine_win32.h"
#include "shell/single_instance_win32.h"
#include "rights_notice_win32.h"
#include "server_list_view_win32.h"
#include "service/service_client_win32.h"

namespace {

// A thread-pool wait's callback: only tells the window, whose thread does the rest.
VOID CALLBACK ElevatedProcessEnded(PVOID window, BOOLEAN /*timedOut*/)
{
    PostMessageA(static_cast<HWND>(window), WM_ELEVATEDENDED, 0, 0);
}

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

HANDLE MainDialog::StartElevated(const char* arguments)
{
    // The new process gets the list and settings as they stand now.
    SaveSettings();
    SaveServerList();
    char program[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS;
    run.hwnd = m_hWnd;
    run.lpVerb = "runas";
    run.lpFile = program;
    run.lpParameters = arguments;
    run.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&run)) {
        return nullptr;
    }
    return run.hProcess != nullptr ? run.hProcess : INVALID_HANDLE_VALUE;  // started, without a handle
}

bool MainDialog::RunElevated(const char* arguments)
{
    HANDLE process = StartElevated(arguments);
    if (process != nullptr && process != INVALID_HANDLE_VALUE) {
        CloseHandle(process);
    }
    return process != nullptr;
}

void MainDialog::TellRoundEnd(RoundOutcome outcome, bool lacksRight)
{
    // Explained once a run, for a round the user started: a scheduled round must not put a dialog
    // in front of whatever the user is doing. The notice says more than the balloon, so no balloon
    // comes with it, nor while it is open.
    const bool explain = outcome == RoundOutcome::Refused && lacksRight && m_roundUserStarted &&
                         !m_rightsNoticeShown && m_rightsNoticeSetting != "0";
    const TrayNotice notice = m_trayNotices.AfterRound(outcome, lacksRight, m_lastSyncLine);
    m_trayIcon.ShowTrouble(notice.trouble);
    if (!notice.balloon.empty() && !explain && !m_rightsNoticeOpen) {
        m_trayIcon.ShowBalloon(texts::kBalloonTitle, notice.balloon.c_str());
    }
    if (explain) {
        m_rightsNoticeShown = true;
        ExplainMissingRight();
    }
}

void MainDialog::ExplainMissingRight()
{
    bool dontShowAgain = false;
    m_rightsNoticeOpen = true;
    const RightsChoice choice = AskAboutRights(m_hWnd, &dontShowAgain);
    m_rightsNoticeOpen = false;
    if (dontShowAgain) {
        m_rightsNoticeSetting = "0";
        CheckMenuItem(GetSystemMenu(m_hWnd, FALSE), IDM_RIGHTS_NOTICE, MF_BYCOMMAND | MF_UNCHECKED);
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

void MainDialog::InstallServiceThenRetry()
{
    // The install command tells the user itself; once it has ended well, the service does the round.
    if (m_elevatedWait != nullptr) {
        return;  // one install at a time
    }
    HANDLE process = StartElevated("-install-service");
    if (process == nullptr || process == INVALID_HANDLE_VALUE) {
        return;
    }
    if (!RegisterWaitForSingleObject(&m_elevatedWait, process, ElevatedProcessEnded, m_hWnd, INFINITE,
                                     WT_EXECUTEONLYONCE)) {
        m_elevatedWait = nullptr;
        CloseHandle(process);
        return;
    }
    m_elevatedProcess = process;
}

void MainDialog::OnElevatedEnded()
{
    if (m_elevatedWait == nullptr) {
        return;
    }
    UnregisterWait(m_elevatedWait);
    m_elevatedWait = nullptr;
    DWORD exitCode = 1;
    GetExitCodeProcess(m_elevatedProcess, &exitCode);
    CloseHandle(m_elevatedProcess);
    m_elevatedProcess = nullptr;
    if (exitCode == 0 && !m_askingService &&
        AskTimeServiceInBackground(m_hWnd, WM_SERVICEANSWER, ServiceRequest::Sync)) {
        m_askingService = true;
        ShowAsking(true);
    }
}

void MainDialog::StopWaitingForElevated()
{
    if (m_elevatedWait != nullptr) {
        UnregisterWaitEx(m_elevatedWait, INVALID_HANDLE_VALUE);  // its callback has run or never will
        m_elevatedWait = nullptr;
        CloseHandle(m_elevatedProcess);
        m_elevatedProcess = nullptr;
    }
}

void MainDialog::RestartElevated()
{
    // The new process must not find this one still holding the session's instance; it runs the
    // user's round again as soon as its window is up.
    ReleaseSingleInstance();
    if (RunElevated(RetryArguments(m_userRoundRow).c_str())) {
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
    if (m_servers.Has(row)) {
        SelectServerRow(m_serverList, row);
        SyncSelectedServer();
    } else {
        RunDueSynchronisation(true);
    }
}
