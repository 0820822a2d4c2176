// One query to one time server over Winsock 2 (Win32): the socket of either family, the host lookup
// on a worker thread and the waits that QueryCourse asks for. It knows nothing of rows, lists or
// settings: it is told an address and a window to report to, takes the socket layer's two messages
// and its wait's timer, and says how the query stands.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <cstdint>

#include "res/message_ids.h"
#include "query_course.h"

// A wait on a window's timer: its end comes as WM_TIMER with the timer's id, a new wait replaces
// the one under way, and a stopped wait never ends. The synchronisation host times its rounds with one too.
class WindowWait {
public:
    explicit WindowWait(UINT_PTR timerId) : m_timerId(timerId) {}

    void Start(HWND window, unsigned milliseconds)
    {
        m_window = window;
        SetTimer(window, m_timerId, milliseconds, nullptr);
    }
    // Nothing when no wait was ever started on a window.
    void Stop()
    {
        if (m_window != nullptr) {
            KillTimer(m_window, m_timerId);
        }
    }
    UINT_PTR TimerId() const { return m_timerId; }

private:
    UINT_PTR m_timerId;
    HWND m_window = nullptr;
};

class ServerQuery : private QueryNetwork {
public:
    // The timer its waits use on the window it reports to, and the request counts of the round it
    // serves (without them it counts its own).
    explicit ServerQuery(UINT_PTR timerId = QUERY_TIMER_ID, RoundRequests* roundRequests = nullptr);
    ServerQuery(const ServerQuery&) = delete;
    ServerQuery& operator=(const ServerQuery&) = delete;
    ~ServerQuery() { End(); }

    // Ends the query under way, then asks the server at the address for up to this many samples.
    // Waiting, or why no request could go out.
    QueryStatus Start(const char* address, HWND window, int samples = 1);

    // The end of the lookup or key exchange with this id (its result is taken from the background
    // jobs' table), a notice of the socket, and the end of a wait: how the query stands after it,
    // with the server's time once it is answered.
    QueryResult OnLookupDone(uintptr_t lookup);
    QueryResult OnSocketEvent(SOCKET socket, int event, int error);
    QueryResult OnTimer();

    // Closes the socket, cancels the lookup and the wait; nothing when none is under way.
    void End() { m_course.End(); }
    // Ends it at once: Answered with the best of the samples in, or NoAnswer.
    QueryResult Cut() { return m_course.Result(m_course.Cut()); }

    // The server's time, once the query was answered.
    const ServerAnswer& Answer() const { return m_course.Answer(); }

    SOCKET Socket() const { return m_socket; }
    HANDLE Lookup() const { return reinterpret_cast<HANDLE>(m_course.Lookup()); }
    uintptr_t LookupId() const { return m_course.Lookup(); }
    int Port() const { return m_course.Port(); }
    UINT_PTR TimerId() const { return m_wait.TimerId(); }

private:
    bool OpenSocket(NetAddress::Family family) override;
    bool WatchSocket() override;
    void CloseSocket() override;
    bool NumericAddress(const std::string& host, NetAddress* address) override;
    bool StartLookup(const std::string& host, uintptr_t* lookup) override;
    void CancelJob(uintptr_t job) override;
    bool StartKeyExchange(const std::vector<NetAddress>& addresses, const std::string& serverName,
                          uintptr_t* exchange) override;
    void Send(const uint8_t* request, size_t length, const NetAddress& to) override;
    int Receive(uint8_t* buffer, size_t size, NetAddress* from) override;
    void StartWait(unsigned milliseconds) override;
    void StopWait() override;
    int64_t CounterNow() override;
    int64_t CounterFrequency() override;
    int64_t ClockNow() override;
    uint64_t Random64() override;

    WindowWait m_wait;
    HWND m_window = nullptr;
    SOCKET m_socket = INVALID_SOCKET;
    QueryCourse m_course;
};
