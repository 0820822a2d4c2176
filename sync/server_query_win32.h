// One query to one time server over Winsock 1.1 (Win32): the socket, the host lookup and the wait
// that QueryCourse asks for. It knows nothing of rows, lists or settings: it is told an address
// and a window to report to, takes the socket layer's two messages and the wait's timer, and says
// how the query stands.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <cstdint>

#include "res/message_ids.h"
#include "sync/query_course.h"

class ServerQuery : private QueryNetwork {
public:
    ServerQuery();
    ServerQuery(const ServerQuery&) = delete;
    ServerQuery& operator=(const ServerQuery&) = delete;
    ~ServerQuery() { End(); }

    // Ends the query under way, then asks the server at the address. Waiting, or why no request
    // could go out.
    QueryStatus Start(const char* address, HWND window);

    // The socket layer's reports, and the end of a request's wait.
    QueryStatus OnLookupDone(HANDLE lookup, int error);
    QueryStatus OnSocketEvent(SOCKET socket, int event, int error);
    QueryStatus OnTimer();

    // Closes the socket, cancels the lookup and the wait; nothing when none is under way.
    void End() { m_course.End(); }

    // The server's time, once the query was answered.
    const ServerAnswer& Answer() const { return m_course.Answer(); }

    SOCKET Socket() const { return m_socket; }
    HANDLE Lookup() const { return reinterpret_cast<HANDLE>(m_course.Lookup()); }
    int Port() const { return m_course.Port(); }

private:
    bool OpenSocket() override;
    bool WatchSocket() override;
    void CloseSocket() override;
    bool DottedAddress(const std::string& host, uint32_t* address) override;
    bool StartLookup(const std::string& host, uintptr_t* lookup) override;
    void CancelLookup(uintptr_t lookup) override;
    void Send(const SntpMessage& request, uint32_t address, uint16_t port) override;
    int Receive(uint8_t* buffer, size_t size, uint32_t address, uint16_t port, bool* fromServer) override;
    void StartWait(unsigned milliseconds) override;
    void StopWait() override;
    int64_t CounterNow() override;
    int64_t CounterFrequency() override;
    uint64_t RandomOrigin() override;

    HWND m_window = nullptr;
    SOCKET m_socket = INVALID_SOCKET;
    char m_hostEnt[MAXGETHOSTSTRUCT] = {};
    QueryCourse m_course;
};
