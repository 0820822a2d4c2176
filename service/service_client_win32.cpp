// The pipe's client: the service's process id checked, one request sent, its answer read (Win32).
#include "service_client_win32.h"

#include "service_folders_win32.h"

namespace {

constexpr DWORD kConnectWaitMs = 2000;

// One request of each kind at a time: the window asks again only after it took the last answer.
struct AnswerSlot {
    AnswerSlot() { InitializeCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    bool ready = false;
    ServiceAnswer answer;
};

AnswerSlot& Slot(ServiceRequest request)
{
    // A worker may outlive the window.
    static AnswerSlot* sync = new AnswerSlot;
    static AnswerSlot* status = new AnswerSlot;
    return request == ServiceRequest::Status ? *status : *sync;
}

// The service's state, and its process id when it runs.
ServiceState QueryService(DWORD* processId)
{
    *processId = 0;
    ServiceState state = ServiceState::NotInstalled;
    if (SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT)) {
        if (SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_QUERY_STATUS)) {
            SERVICE_STATUS_PROCESS status{};
            DWORD needed = 0;
            state = ServiceState::Stopped;
            if (QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                                     &needed) &&
                status.dwCurrentState == SERVICE_RUNNING) {
                state = ServiceState::Running;
                *processId = status.dwProcessId;
            }
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
    }
    return state;
}

// The pipe, waited for a few seconds while its instances are all taken (other users' requests).
HANDLE ConnectToPipe()
{
    const DWORD start = GetTickCount();
    for (;;) {
        // Identification only: the service has no use for acting as this user.
        const HANDLE pipe =
            CreateFileA(kServicePipeName, GENERIC_READ | FILE_WRITE_DATA | FILE_WRITE_ATTRIBUTES, 0, nullptr,
                        OPEN_EXISTING, SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
        const DWORD error = GetLastError();
        const DWORD waited = GetTickCount() - start;
        if (pipe != INVALID_HANDLE_VALUE || error != ERROR_PIPE_BUSY || waited >= kConnectWaitMs) {
            return pipe;
        }
        WaitNamedPipeA(kServicePipeName, kConnectWaitMs - waited);
    }
}

bool AskOnceAlone(ServiceRequest request, ServiceAnswer* answer)
{
    DWORD serviceProcess = 0;
    if (QueryService(&serviceProcess) != ServiceState::Running) {
        return false;
    }
    const HANDLE pipe = ConnectToPipe();
    if (pipe == INVALID_HANDLE_VALUE) {
        return false;
    }
    ULONG serverProcess = 0;
    DWORD mode = PIPE_READMODE_MESSAGE;
    bool ok = GetNamedPipeServerProcessId(pipe, &serverProcess) && serverProcess == serviceProcess &&
              SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr);
    std::string text;
    if (ok) {
        char buffer[4096];
        DWORD got = 0;
        std::string message = request == ServiceRequest::Status ? "STATUS" : "SYNC";
        BOOL done = TransactNamedPipe(pipe, &message[0], static_cast<DWORD>(message.size()), buffer, sizeof buffer, &got,
                                      nullptr);
        text.assign(buffer, got);
        while (!done && GetLastError() == ERROR_MORE_DATA) {
            done = ReadFile(pipe, buffer, sizeof buffer, &got, nullptr);
            text.append(buffer, got);
        }
        ok = done && ParseServiceAnswer(text, answer);
    }
    CloseHandle(pipe);
    return ok;
}

bool AskOnce(ServiceRequest request, ServiceAnswer* answer)
{
    // One request of this process at a time: the service gives a process one instance only.
    static CRITICAL_SECTION* oneAtATime = [] {
        auto* lock = new CRITICAL_SECTION;
        InitializeCriticalSection(lock);
        return lock;
    }();
    EnterCriticalSection(oneAtATime);
    const bool answered = AskOnceAlone(request, answer);
    LeaveCriticalSection(oneAtATime);
    return answered;
}

struct Request {
    HWND window;
    UINT message;
    ServiceRequest request;
};

DWORD WINAPI RunRequest(void* parameter)
{
    const Request request = *static_cast<Request*>(parameter);
    delete static_cast<Request*>(parameter);
    ServiceAnswer answer;
    const bool answered = AskOnce(request.request, &answer);
    AnswerSlot& slot = Slot(request.request);
    EnterCriticalSection(&slot.lock);
    slot.ready = answered;
    slot.answer = answer;
    LeaveCriticalSection(&slot.lock);
    PostMessageA(request.window, request.message, 0, 0);
    return 0;
}

}  // namespace

ServiceState TimeServiceState()
{
    DWORD processId = 0;
    return QueryService(&processId);
}

bool AskTimeServiceInBackground(HWND window, UINT message, ServiceRequest request)
{
    auto* ask = new Request{window, message, request};
    const HANDLE thread = CreateThread(nullptr, 0, RunRequest, ask, 0, nullptr);
    if (thread == nullptr) {
        delete ask;
        return false;
    }
    CloseHandle(thread);
    return true;
}

bool TakeTimeServiceAnswer(ServiceRequest request, ServiceAnswer* answer)
{
    AnswerSlot& slot = Slot(request);
    EnterCriticalSection(&slot.lock);
    const bool ready = slot.ready;
    if (ready) {
        *answer = slot.answer;
        slot.ready = false;
    }
    LeaveCriticalSection(&slot.lock);
    return ready;
}
