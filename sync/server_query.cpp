// A query's socket, lookup and time-out on Winsock 1.1; the exchange's rules are SntpExchange's (Win32).
#include "server_query.h"

#include <ntsecapi.h>

#include <cstring>

#include "sync/host_local_time.h"
#include "sync/server_address.h"

namespace {

// A fresh origin value from the system's random source. Only if that fails, the counter: a value a
// spoofer on another machine still cannot see.
uint64_t RandomOrigin()
{
    uint64_t value = 0;
    if (!RtlGenRandom(&value, sizeof value)) {
        value = static_cast<uint64_t>(CounterNow()) * 0x9E3779B97F4A7C15u;
    }
    return value;
}

}  // namespace

int64_t CounterNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t CounterFrequency()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

QueryStatus ServerQuery::Start(const char* address, HWND window)
{
    // One query at a time: whatever the last one left open is closed, so no stale lookup or socket
    // can end this query.
    End();
    m_window = window;
    m_exchange = SntpExchange();

    const ServerAddress parsed = ParseServerAddress(address);
    m_nPort = parsed.port;
    // No address, a host or port that does not fit, or no host before the colon: nobody to ask.
    if (parsed.status != ServerAddress::Status::Ok || parsed.host.empty()) {
        return QueryStatus::UnknownServer;
    }

    m_socket = socket(AF_INET, SOCK_DGRAM, 0);
    if (m_socket == INVALID_SOCKET) {
        return QueryStatus::SocketFailed;
    }
    if (WSAAsyncSelect(m_socket, m_window, WM_SOCKETEVENT, FD_READ) == SOCKET_ERROR) {
        return Fail(QueryStatus::NotifyFailed);
    }

    m_ipAddr = inet_addr(parsed.host.c_str());
    if (m_ipAddr != INADDR_NONE) {
        SendRequest();
        return QueryStatus::Waiting;
    }
    m_hLookup = WSAAsyncGetHostByName(m_window, WM_LOOKUPDONE, parsed.host.c_str(), m_hostEnt, sizeof m_hostEnt);
    if (m_hLookup == nullptr) {
        return Fail(QueryStatus::UnknownServer);
    }
    return QueryStatus::Waiting;
}

QueryStatus ServerQuery::OnLookupDone(HANDLE lookup, int error)
{
    // The completion of a lookup this query no longer waits for: nothing ends.
    if (m_hLookup == nullptr || lookup != m_hLookup) {
        return QueryStatus::Waiting;
    }
    m_hLookup = nullptr;
    const auto* host = reinterpret_cast<const hostent*>(m_hostEnt);
    if (error != 0 || host->h_addrtype != AF_INET || host->h_addr_list[0] == nullptr) {
        return Fail(QueryStatus::UnknownServer);
    }
    std::memcpy(&m_ipAddr, host->h_addr_list[0], sizeof m_ipAddr);
    SendRequest();
    return QueryStatus::Waiting;
}

QueryStatus ServerQuery::OnSocketEvent(SOCKET socket, int event, int error)
{
    // A notification with an error, or of another socket, ends nothing: the query waits on.
    if (error != 0 || socket != m_socket || event != FD_READ) {
        return QueryStatus::Waiting;
    }
    return ReceiveReply();
}

QueryStatus ServerQuery::OnTimer()
{
    // Only a request waits with the timer; a late tick after the end changes nothing.
    if (m_socket == INVALID_SOCKET || m_hLookup != nullptr || m_exchange.RequestsSent() == 0) {
        return QueryStatus::Waiting;
    }
    if (!m_exchange.MaySendAgain()) {
        return Fail(QueryStatus::NoAnswer);
    }
    SendRequest();
    return QueryStatus::Waiting;
}

void ServerQuery::End()
{
    if (m_window != nullptr) {
        KillTimer(m_window, QUERY_TIMER_ID);
    }
    if (m_hLookup != nullptr) {
        WSACancelAsyncRequest(m_hLookup);
        m_hLookup = nullptr;
    }
    if (m_socket != INVALID_SOCKET) {
        WSAAsyncSelect(m_socket, m_window, 0, 0);
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
}

QueryStatus ServerQuery::Fail(QueryStatus why)
{
    End();
    return why;
}

void ServerQuery::SendRequest()
{
    std::memset(&m_sockAddr, 0, sizeof m_sockAddr);
    m_sockAddr.sin_family = AF_INET;
    m_sockAddr.sin_port = htons(static_cast<u_short>(m_nPort));  // the low 16 bits
    m_sockAddr.sin_addr.s_addr = m_ipAddr;
    const SntpMessage request = m_exchange.NextRequest(RandomOrigin(), CounterNow());
    // A failed send ends nothing: the query waits, like one whose server does not answer.
    sendto(m_socket, reinterpret_cast<const char*>(request.data()), static_cast<int>(request.size()), 0,
           reinterpret_cast<const sockaddr*>(&m_sockAddr), sizeof m_sockAddr);
    SetTimer(m_window, QUERY_TIMER_ID, kReplyWaitMs, nullptr);
}

QueryStatus ServerQuery::ReceiveReply()
{
    // Extension fields and a key and digest may follow the 48 bytes of the reply: a datagram is
    // taken whole, and its first 48 bytes are what the checks read.
    uint8_t reply[1024];
    sockaddr_in sender{};
    int senderLength = sizeof sender;
    const int received = recvfrom(m_socket, reinterpret_cast<char*>(reply), sizeof reply, 0,
                                  reinterpret_cast<sockaddr*>(&sender), &senderLength);
    // The round trip ends here, before anything else is done with the datagram.
    const int64_t receivedAt = CounterNow();
    if (received == SOCKET_ERROR) {
        return QueryStatus::Waiting;  // for example a datagram longer than the buffer
    }
    const bool fromServerAsked =
        sender.sin_addr.s_addr == m_sockAddr.sin_addr.s_addr && sender.sin_port == m_sockAddr.sin_port;
    if (m_exchange.Judge(fromServerAsked, reply, static_cast<size_t>(received), HostLocalTime) !=
        DatagramVerdict::Answer) {
        return QueryStatus::Waiting;
    }
    m_answer = {m_exchange.ServerTimeAtReceipt(reply, receivedAt, CounterFrequency()), receivedAt};
    End();
    return QueryStatus::Answered;
}
