// The pipe's client: the service's process id checked, one SYNC sent, its answer read (Win32).
#include "service_client_win32.h"

#include "shell/service_folders_win32.h"

namespace {

constexpr DWORD kConnectWaitMs = 2000;

// One request at a time: the window asks again only after it took the last answer.
struct AnswerSlot {
    AnswerSlot() { InitializeCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    bool ready = false;
    ServiceAnswer answer;
};

AnswerSlot& Slot()
{
    static AnswerSlot* slot = new AnswerSlot;  // a worker may outlive the window
    return *slot;
}

DWORD ServiceProcessId()
{
    DWORD processId = 0;
    if (SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT)) {
        if (SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_QUERY_STATUS)) {
            SERVICE_STATUS_PROCESS status{};
            DWORD needed = 0;
            if (QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                                     &needed) &&
                status.dwCurrentState == SERVICE_RUNNING) {
                processId = status.dwProcessId;
            }
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
    }
    return processId;
}

bool AskOnce(ServiceAnswer* answer)
{
    const DWORD serviceProcess = ServiceProcessId();
    if (serviceProcess == 0) {
        return false;
    }
    WaitNamedPipeA(kServicePipeName, kConnectWaitMs);
    // Identification only: the service has no use for acting as this user.
    const HANDLE pipe =
        CreateFileA(kServicePipeName, GENERIC_READ | FILE_WRITE_DATA | FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                    SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
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
        static const char kSync[] = "SYNC";
        BOOL done = TransactNamedPipe(pipe, const_cast<char*>(kSync), 4, buffer, sizeof buffer, &got, nullptr);
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

struct Request {
    HWND window;
    UINT message;
};

DWORD WINAPI RunRequest(void* parameter)
{
    const Request request = *static_cast<Request*>(parameter);
    delete static_cast<Request*>(parameter);
    ServiceAnswer answer;
    const bool answered = AskOnce(&answer);
    AnswerSlot& slot = Slot();
    EnterCriticalSection(&slot.lock);
    slot.ready = answered;
    slot.answer = answer;
    LeaveCriticalSection(&slot.lock);
    PostMessageA(request.window, request.message, 0, 0);
    return 0;
}

}  // namespace

bool TimeServiceRunning()
{
    return ServiceProcessId() != 0;
}

bool AskTimeServiceInBackground(HWND window, UINT message)
{
    auto* request = new Request{window, message};
    const HANDLE thread = CreateThread(nullptr, 0, RunRequest, request, 0, nullptr);
    if (thread == nullptr) {
        delete request;
        return false;
    }
    CloseHandle(thread);
    return true;
}

bool TakeTimeServiceAnswer(ServiceAnswer* answer)
{
    AnswerSlot& slot = Slot();
    EnterCriticalSection(&slot.lock);
    const bool ready = slot.ready;
    if (ready) {
        *answer = slot.answer;
        slot.ready = false;
    }
    LeaveCriticalSection(&slot.lock);
    return ready;
}
