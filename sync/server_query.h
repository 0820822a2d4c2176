// One query to one time server over Winsock 1.1: the address, the socket, the host lookup, the
// request and the reply (Win32). It knows nothing of rows, lists or settings: it is told an address
// and a window to report to, takes the two socket-layer messages and says how the query stands.
#pragma once

#include <windows.h>
#include <winsock.h>

#include "sync/query_status.h"
#include "sync/sntp_message.h"

// The socket layer's two reports to the window that asked.
constexpr UINT WM_LOOKUPDONE = 3124;   // wParam: the lookup handle; high word of lParam: the error
constexpr UINT WM_SOCKETEVENT = 3224;  // wParam: the socket; lParam: the event, and the error above it

class ServerQuery {
public:
    ServerQuery() = default;
    ServerQuery(const ServerQuery&) = delete;
    ServerQuery& operator=(const ServerQuery&) = delete;
    ~ServerQuery() { End(); }

    // Ends the query under way, then asks the server at the address (a host name or dotted address,
    // optionally a colon and a port). Waiting, or why no request could go out.
    QueryStatus Start(const char* address, HWND window);

    // The socket layer's reports. Waiting while the query goes on; Answered once a reply counts.
    QueryStatus OnLookupDone(HANDLE lookup, int error);
    QueryStatus OnSocketEvent(SOCKET socket, int event, int error);

    // Closes the socket and cancels the lookup; nothing when neither is open.
    void End();

    // The server's transmit timestamp, once the query was answered.
    NtpTimestamp ServerTime() const { return m_serverTime; }

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
    NtpTimestamp m_serverTime{};
};
