// One query to one time server over Winsock 1.1: the address, the socket, the host lookup, the
// request and the reply (Win32). It knows nothing of rows, lists or settings: it is told an address
// and a window to report to, takes the two socket-layer messages and says how the query stands.
#pragma once

#include <windows.h>
#include <winsock.h>

#include <cstdint>

#include "sync/query_status.h"
#include "sync/sntp_exchange.h"

// The socket layer's two reports to the window that asked.
constexpr UINT WM_LOOKUPDONE = 3124;   // wParam: the lookup handle; high word of lParam: the error
constexpr UINT WM_SOCKETEVENT = 3224;  // wParam: the socket; lParam: the event, and the error above it
// The window timer a request waits with; its WM_TIMER goes to OnTimer.
constexpr UINT_PTR QUERY_TIMER_ID = 3525;

// The server's time when its answer arrived, and the performance counter at that moment: the clock
// is set to the first plus what the counter has run since.
struct ServerAnswer {
    int64_t unixTicksAtReceipt;  // 100 ns ticks since 1970 UTC
    int64_t receivedAtCounter;
};

class ServerQuery {
public:
    ServerQuery() = default;
    ServerQuery(const ServerQuery&) = delete;
    ServerQuery& operator=(const ServerQuery&) = delete;
    ~ServerQuery() { End(); }

    // Ends the query under way, then asks the server at the address (a host name or dotted address,
    // optionally a colon and a port). Waiting, or why no request could go out.
    QueryStatus Start(const char* address, HWND window);

    // The socket layer's reports, and the end of a request's wait. Waiting while the query goes on;
    // Answered once a reply counts; NoAnswer when the second request, too, waited in vain.
    QueryStatus OnLookupDone(HANDLE lookup, int error);
    QueryStatus OnSocketEvent(SOCKET socket, int event, int error);
    QueryStatus OnTimer();

    // Closes the socket, cancels the lookup and the wait; nothing when none is under way.
    void End();

    // The server's time, once the query was answered.
    const ServerAnswer& Answer() const { return m_answer; }

    SOCKET Socket() const { return m_socket; }
    HANDLE Lookup() const { return m_hLookup; }
    int Port() const { return m_nPort; }

private:
    QueryStatus Fail(QueryStatus why);
    void SendRequest();
    QueryStatus ReceiveReply();

    HWND m_window = nullptr;
    SOCKET m_socket = INVALID_SOCKET;
    ULONG m_ipAddr = 0;
    int m_nPort = 0;
    sockaddr_in m_sockAddr{};
    char m_hostEnt[MAXGETHOSTSTRUCT] = {};
    HANDLE m_hLookup = nullptr;
    SntpExchange m_exchange;
    ServerAnswer m_answer{};
};

// The performance counter now, and its frequency.
int64_t CounterNow();
int64_t CounterFrequency();
