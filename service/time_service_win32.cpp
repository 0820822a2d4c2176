// The service's entry, its control handler and its one thread's loop over the engine's window
// messages, the pipe's events and the schedule (Win32).
#include "time_service_win32.h"

#include <windows.h>

#include <string>
#include <vector>

#include "res/message_ids.h"
#include "res/texts.h"
#include "shell/command_report_win32.h"
#include "event_log_win32.h"
#include "service_events.h"
#include "service_folders_win32.h"
#include "service_pipe_win32.h"
#include "round/service_schedule.h"
#include "store/log_file.h"
#include "store/log_row_line.h"
#include "store/server_list_file.h"
#include "store/settings_file.h"
#include "base/performance_counter.h"
#include "round/sync_host_win32.h"
#include "base/system_forms_win32.h"
#include "base/time_text.h"

namespace {

static_assert(WM_SERVICERESUME == WM_APP + 1, "the resume's number stays what it was");
constexpr DWORD kStopHintMs = 2000;
constexpr uint64_t kServicePipeRetryMs = 60000;

SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
HANDLE g_stopEvent = nullptr;
DWORD g_serviceThread = 0;

void Report(DWORD state, DWORD exitCode = NO_ERROR)
{
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN |
                                                               SERVICE_ACCEPT_PRESHUTDOWN | SERVICE_ACCEPT_POWEREVENT
                                                         : 0;
    status.dwWin32ExitCode = exitCode;
    status.dwWaitHint = state == SERVICE_STOP_PENDING || state == SERVICE_START_PENDING ? kStopHintMs : 0;
    SetServiceStatus(g_statusHandle, &status);
}

DWORD WINAPI OnControl(DWORD control, DWORD event, LPVOID /*data*/, LPVOID /*context*/)
{
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
    case SERVICE_CONTROL_PRESHUTDOWN:
        Report(SERVICE_STOP_PENDING);
        SetEvent(g_stopEvent);
        return NO_ERROR;
    case SERVICE_CONTROL_POWEREVENT:
        if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) {
            PostThreadMessageA(g_serviceThread, WM_SERVICERESUME, 0, 0);
        }
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

class TimeService final : private RoundLog, private ServicePipeRequests {
public:
    TimeService()
        : m_folder(ServiceDataFolder()), m_settings(ReadSettings(m_folder + "horavo.ini")), m_sync(*this),
          m_schedule(NowMs(), m_settings.IntervalMinutes()), m_pipe(*this)
    {
        m_logPath = m_settings.WritesLogFile() ? m_folder + "horavo.log" : std::string();
        ServerListFile file(m_folder + "server.data");
        m_servers = file.Load();
    }

    void Start()
    {
        Log({texts::kServiceLogName, texts::kServiceStarted, "", ""});
        m_events.OnStarted();
        OpenPipe(NowMs());
    }

    void Run()
    {
        for (;;) {
            const uint64_t now = NowMs();
            if (!m_pipe.IsOpen() && now >= m_pipeRetryMs) {
                OpenPipe(now);
            }
            m_pipe.CloseOverdue(now);
            const uint64_t sleep = MsToSleep(now);
            if (sleep == 0) {
                StartRound();
                continue;
            }
            std::vector<HANDLE> handles{g_stopEvent};
            handles.insert(handles.end(), m_pipe.Events().begin(), m_pipe.Events().end());
            const DWORD woke = MsgWaitForMultipleObjectsEx(static_cast<DWORD>(handles.size()), handles.data(),
                                                           static_cast<DWORD>(sleep), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (woke == WAIT_OBJECT_0) {
                break;
            }
            if (woke > WAIT_OBJECT_0 && woke < WAIT_OBJECT_0 + handles.size()) {
                m_pipe.OnEvent(woke - WAIT_OBJECT_0 - 1, NowMs());
            }
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_SERVICERESUME) {
                    m_schedule.OnResume(NowMs());
                } else {
                    DispatchMessageA(&message);
                }
            }
        }
        m_sync.Stop();
        m_pipe.Close();
        Log({texts::kServiceLogName, texts::kServiceStopped, "", ""});
        m_events.OnStopped();
    }

private:
    // A pipe that another program made first (one started at sign-in can be there before a service
    // of delayed start) does not stop the clock being kept: the schedule runs without the pipe, and
    // the pipe is tried again every minute. The log says so once, and once more when it is had.
    void OpenPipe(uint64_t nowMs)
    {
        DWORD error = ERROR_SUCCESS;
        if (m_pipe.Open(&error)) {
            if (m_pipeTakenLogged) {
                Log({texts::kServiceLogName, texts::kServicePipeOpened, "", ""});
            }
            return;
        }
        m_pipeRetryMs = nowMs + kServicePipeRetryMs;
        if (!m_pipeTakenLogged) {
            Log({texts::kServiceLogName, texts::kServicePipeTaken, "", texts::kStatusError});
            m_pipeTakenLogged = true;
        }
    }

    // Until the schedule's next step, a connection's deadline or the pipe's next try.
    uint64_t MsToSleep(uint64_t nowMs) const
    {
        uint64_t sleep = m_schedule.MsToSleep(nowMs, m_sync.Running());
        uint64_t deadline = 0;
        if (m_pipe.MsUntilNextDeadline(nowMs, &deadline) && deadline < sleep) {
            sleep = deadline == 0 ? 1 : deadline;
        }
        if (!m_pipe.IsOpen()) {
            const uint64_t untilRetry = m_pipeRetryMs > nowMs ? m_pipeRetryMs - nowMs : 1;
            sleep = untilRetry < sleep ? untilRetry : sleep;
        }
        return sleep;
    }

    void StartRound()
    {
        RoundRules rules;
        rules.offsetSeconds = m_settings.OffsetSeconds();
        rules.together = m_settings.AsksTogether();
        rules.maxStepSeconds = m_settings.MaxStepSeconds();
        rules.samples = m_settings.Samples();
        rules.intervalMinutes = m_settings.IntervalMinutes();
        // Nobody watches a service: a large correction needs a second server, always.
        rules.userStarted = false;
        m_schedule.OnRoundStarted(NowMs());
        m_sync.StartRound(m_servers.RotationFrom(m_cursor), rules);
    }

    // The service alone writes its log: it takes no lock that another account could hold, so no
    // write can sit between a request and the reading of its reply, where it would land in the clock.
    void Log(const LogRow& row)
    {
        if (m_logPath.empty()) {
            return;
        }
        AppendLogLine(m_logPath, LogFileLineFor(FormatSecondsTime(LocalClockNow()), row), LogWriters::ThisProcessAlone);
    }

    void OnAsking(const RoundServer& server) override { m_cursor = server.row + 1; }
    void AddRow(const LogRow& row) override { Log(row); }
    void OnRoundEnded(const RoundResult& result) override
    {
        m_schedule.OnRoundEnded(NowMs());
        m_events.OnRoundEnded(result, NowMs());
        m_lastExitCode = result.ExitCode();
        m_lastRows = result.rows;
        for (size_t instance : m_waiting) {
            m_pipe.Answer(instance, RoundAnswer(m_lastExitCode, m_lastRows));
        }
        m_waiting.clear();
    }

    void OnRequest(size_t instance, ServiceRequest request) override
    {
        switch (request) {
        case ServiceRequest::Invalid:
            m_pipe.Answer(instance, ErrorAnswer());
            return;
        case ServiceRequest::Status: {
            uint64_t sinceLast = 0;
            const bool ended = m_schedule.MsSinceLastRound(NowMs(), &sinceLast);
            m_pipe.Answer(instance, StatusAnswer(static_cast<int64_t>(m_schedule.MsUntilDue(NowMs()) / 1000),
                                                 m_lastExitCode, ended ? static_cast<int64_t>(sinceLast / 1000) : -1,
                                                 m_lastRows));
            return;
        }
        case ServiceRequest::Sync:
            // Every user's SYNC gets a round's end: the one under way, one that just ended, or a new one.
            switch (m_schedule.OnSyncRequest(NowMs(), m_sync.Running())) {
            case SyncReply::JoinRound:
                m_waiting.push_back(instance);
                return;
            case SyncReply::LastRound:
                m_pipe.Answer(instance, RoundAnswer(m_lastExitCode, m_lastRows));
                return;
            case SyncReply::StartRound:
                m_waiting.push_back(instance);  // before the start: a round with nobody to ask ends at once
                StartRound();
                return;
            }
        }
    }

    WindowsEventLog m_eventLog;
    ServiceEvents m_events{m_eventLog};
    std::string m_folder;
    Settings m_settings;
    std::string m_logPath;
    ServerList m_servers;
    int m_cursor = 0;
    SyncHost m_sync;
    ServiceSchedule m_schedule;
    ServicePipe m_pipe;
    uint64_t m_pipeRetryMs = 0;
    bool m_pipeTakenLogged = false;
    std::vector<size_t> m_waiting;  // pipe instances owed the end of the round
    int m_lastExitCode = -1;
    std::vector<LogRow> m_lastRows;
};

void WINAPI ServiceMain(DWORD /*argc*/, LPSTR* /*argv*/)
{
    g_statusHandle = RegisterServiceCtrlHandlerExA(kServiceName, OnControl, nullptr);
    if (g_statusHandle == nullptr) {
        return;
    }
    g_serviceThread = GetCurrentThreadId();
    Report(SERVICE_START_PENDING);
    {
        TimeService service;
        service.Start();
        Report(SERVICE_RUNNING);
        service.Run();
    }
    Report(SERVICE_STOPPED);
}

}  // namespace

int RunTimeService()
{
    g_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SERVICE_TABLE_ENTRYA services[] = {{const_cast<char*>(kServiceName), ServiceMain}, {nullptr, nullptr}};
    if (!StartServiceCtrlDispatcherA(services)) {
        ReportToUser(texts::kServiceOnlyFromManager, true);
        return 1;
    }
    return 0;
}
