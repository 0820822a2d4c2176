// The pipe's instances and their overlapped steps: listen, read a request, answer, read again (Win32).
#include "service_pipe_win32.h"

#include <sddl.h>

#include "service_access.h"

namespace {

constexpr size_t kInstances = 4;
constexpr DWORD kAnswerBytes = 64 * 1024;

}  // namespace

ServicePipe::ServicePipe(ServicePipeRequests& requests) : m_requests(requests), m_connections(kInstances) {}

bool ServicePipe::Open(DWORD* error)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(ServicePipeAccessList().c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
        *error = GetLastError();
        return false;
    }
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    m_instances.resize(kInstances);
    for (size_t i = 0; i < kInstances; ++i) {
        // The first instance must be the first of all: a pipe of that name made earlier by someone
        // else would hear the users' requests and answer them.
        const DWORD first = i == 0 ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0;
        m_instances[i].pipe = CreateNamedPipeA(
            kServicePipeName, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | first,
            PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
            static_cast<DWORD>(kInstances), kAnswerBytes, kMaxServiceRequestBytes + 1, 0, &attributes);
        if (m_instances[i].pipe == INVALID_HANDLE_VALUE) {
            *error = GetLastError();
            LocalFree(descriptor);
            Close();
            return false;
        }
        m_instances[i].overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_events.push_back(m_instances[i].overlapped.hEvent);
    }
    LocalFree(descriptor);
    for (size_t i = 0; i < kInstances; ++i) {
        Listen(i);
    }
    return true;
}

void ServicePipe::Close()
{
    for (size_t i = 0; i < m_instances.size(); ++i) {
        m_connections.OnClosed(i);
    }
    for (Instance& instance : m_instances) {
        if (instance.pipe != INVALID_HANDLE_VALUE) {
            CancelIo(instance.pipe);
            DisconnectNamedPipe(instance.pipe);
            CloseHandle(instance.pipe);
            instance.pipe = INVALID_HANDLE_VALUE;
        }
        if (instance.overlapped.hEvent != nullptr) {
            CloseHandle(instance.overlapped.hEvent);
            instance.overlapped.hEvent = nullptr;
        }
    }
    m_instances.clear();
    m_events.clear();
}

void ServicePipe::Listen(size_t index)
{
    Instance& instance = m_instances[index];
    instance.state = State::Listening;
    ResetEvent(instance.overlapped.hEvent);
    if (ConnectNamedPipe(instance.pipe, &instance.overlapped)) {
        SetEvent(instance.overlapped.hEvent);
        return;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_PIPE_CONNECTED) {
        SetEvent(instance.overlapped.hEvent);  // a client came between the create and the connect
    } else if (error != ERROR_IO_PENDING) {
        Restart(index);
    }
}

void ServicePipe::Read(size_t index, State state)
{
    Instance& instance = m_instances[index];
    instance.state = state;
    ResetEvent(instance.overlapped.hEvent);
    if (!ReadFile(instance.pipe, instance.buffer, sizeof instance.buffer, nullptr, &instance.overlapped) &&
        GetLastError() != ERROR_IO_PENDING && GetLastError() != ERROR_MORE_DATA) {
        Restart(index);
    }
}

void ServicePipe::Restart(size_t index)
{
    // The client went (or misbehaved, or waited too long): the instance listens for the next one.
    m_connections.OnClosed(index);
    Instance& instance = m_instances[index];
    CancelIo(instance.pipe);
    DisconnectNamedPipe(instance.pipe);
    instance.closeAfterWrite = false;
    Listen(index);
}

void ServicePipe::CloseOverdue(uint64_t nowMs)
{
    for (size_t index : m_connections.Overdue(nowMs)) {
        Restart(index);
    }
}

void ServicePipe::OnEvent(size_t index, uint64_t nowMs)
{
    Instance& instance = m_instances[index];
    DWORD bytes = 0;
    const bool done = GetOverlappedResult(instance.pipe, &instance.overlapped, &bytes, FALSE) != FALSE;
    const DWORD error = done ? ERROR_SUCCESS : GetLastError();
    ResetEvent(instance.overlapped.hEvent);
    switch (instance.state) {
    case State::Listening: {
        ULONG client = 0;
        if (!(done || error == ERROR_PIPE_CONNECTED) || !GetNamedPipeClientProcessId(instance.pipe, &client)) {
            Restart(index);
            return;
        }
        // The process's earlier connection, closed just before this one came, is seen to end first.
        const int earlier = m_connections.OtherInstanceOf(client, index);
        if (earlier >= 0 && WaitForSingleObject(m_instances[earlier].overlapped.hEvent, 0) == WAIT_OBJECT_0) {
            OnEvent(static_cast<size_t>(earlier), nowMs);
        }
        if (m_connections.Admit(index, client, nowMs)) {
            Read(index);
        } else {
            Restart(index);  // a second instance for one process is not given
        }
        return;
    }
    case State::Reading:
        if (done || error == ERROR_MORE_DATA) {
            // More than one message's worth, or more than 64 bytes: not a request of ours.
            const bool whole = done && bytes <= kMaxServiceRequestBytes;
            instance.state = State::Answering;
            m_connections.OnRequest(index);
            m_requests.OnRequest(index, ParseServiceRequest(std::string(instance.buffer, bytes), whole));
        } else {
            Restart(index);  // the client closed its end
        }
        return;
    case State::Writing:
        if (!done) {
            Restart(index);
        } else if (instance.closeAfterWrite) {
            // The error answer is in the pipe: the connection ends at the client's next step, so
            // the client still reads it, and nothing more it sends is served.
            m_connections.OnAnswered(index, nowMs);
            Read(index, State::Closing);
        } else {
            m_connections.OnAnswered(index, nowMs);
            Read(index);
        }
        return;
    case State::Closing:
        Restart(index);
        return;
    case State::Answering:
        return;
    }
}

void ServicePipe::Answer(size_t index, const std::string& text)
{
    if (index >= m_instances.size() || m_instances[index].state != State::Answering) {
        return;  // the client went while its answer was being made
    }
    Instance& instance = m_instances[index];
    instance.answer = text.substr(0, kAnswerBytes);
    instance.closeAfterWrite = text == ErrorAnswer();
    instance.state = State::Writing;
    ResetEvent(instance.overlapped.hEvent);
    if (!WriteFile(instance.pipe, instance.answer.data(), static_cast<DWORD>(instance.answer.size()), nullptr,
                   &instance.overlapped) &&
        GetLastError() != ERROR_IO_PENDING) {
        Restart(index);
    }
}
