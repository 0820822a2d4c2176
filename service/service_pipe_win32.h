// The time service's pipe (Win32): \\.\pipe\Tempivo, made by the service first or not at all,
// local clients only, message mode, four instances at most, each served by overlapped reads and
// writes that the service's one thread waits on beside its window messages. A client must send a
// whole request within 2 s of connecting (or of its last answer), and a process holds one instance
// at a time.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "service_connections.h"
#include "service_protocol.h"

class ServicePipeRequests {
public:
    // A whole request of a client; an answer is owed with ServicePipe::Answer (now or later).
    virtual void OnRequest(size_t instance, ServiceRequest request) = 0;

protected:
    ~ServicePipeRequests() = default;
};

class ServicePipe {
public:
    explicit ServicePipe(ServicePipeRequests& requests);
    ~ServicePipe() { Close(); }
    ServicePipe(const ServicePipe&) = delete;
    ServicePipe& operator=(const ServicePipe&) = delete;

    // Makes the pipe's instances; false with the error when it cannot, ERROR_ACCESS_DENIED among
    // others when another program made a pipe of that name first.
    bool Open(DWORD* error);
    void Close();
    bool IsOpen() const { return !m_instances.empty(); }

    // The events the service waits on, one an instance, and what to do when one is signalled.
    const std::vector<HANDLE>& Events() const { return m_events; }
    void OnEvent(size_t instance, uint64_t nowMs);
    // Closes the connections that have not sent a request in time; how long until the next may be.
    void CloseOverdue(uint64_t nowMs);
    bool MsUntilNextDeadline(uint64_t nowMs, uint64_t* ms) const { return m_connections.MsUntilNextDeadline(nowMs, ms); }

    // Writes the answer; after an error answer the connection is closed.
    void Answer(size_t instance, const std::string& text);

private:
    enum class State { Listening, Reading, Answering, Writing, Closing };
    struct Instance {
        HANDLE pipe = INVALID_HANDLE_VALUE;
        OVERLAPPED overlapped{};
        State state = State::Listening;
        char buffer[kMaxServiceRequestBytes + 1] = {};
        std::string answer;
        bool closeAfterWrite = false;
    };

    void Listen(size_t instance);
    void Read(size_t instance, State state = State::Reading);
    void Restart(size_t instance);

    ServicePipeRequests& m_requests;
    std::vector<Instance> m_instances;
    std::vector<HANDLE> m_events;
    ServiceConnections m_connections;
};
