// Winsock 1.1, the window's timer, the performance counter and the system's random source for
// QueryCourse; the query's rules are all there (Win32).
#include "server_query_win32.h"

#include <cstring>

#include "sync/host_local_time.h"
#include "sync/performance_counter.h"
#include "sync/system_random.h"
#include "sync/winsock_session.h"

ServerQuery::ServerQuery() : m_course(*this, HostLocalTime)
{
}

QueryStatus ServerQuery::Start(const char* address, HWND window)
{
    m_window = window;
    StartWinsockOnce();
    return m_course.Start(address);
}

QueryStatus ServerQuery::OnLookupDone(HANDLE lookup, int error)
{
    const auto* host = reinterpret_cast<const hostent*>(m_hostEnt);
    uint32_t address = 0;
    const bool found = error == 0 && host->h_addrtype == AF_INET && host->h_addr_list[0] != nullptr;
    if (found) {
        std::memcpy(&address, host->h_addr_list[0], sizeof address);
    }
    return m_course.OnLookupDone(reinterpret_cast<uintptr_t>(lookup), error, found ? &address : nullptr);
}

QueryStatus ServerQuery::OnSocketEvent(SOCKET socket, int event, int error)
{
    // A notification with an error, or of another socket, ends nothing: the query waits on.
    if (error != 0 || socket != m_socket || event != FD_READ) {
        return QueryStatus::Waiting;
    }
    return m_course.OnReadable();
}

QueryStatus ServerQuery::OnTimer()
{
    return m_course.OnWaitOver();
}

bool ServerQuery::OpenSocket()
{
    m_socket = socket(AF_INET, SOCK_DGRAM, 0);
    return m_socket != INVALID_SOCKET;
}

bool ServerQuery::WatchSocket()
{
    return WSAAsyncSelect(m_socket, m_window, WM_SOCKETEVENT, FD_READ) != SOCKET_ERROR;
}

void ServerQuery::CloseSocket()
{
    WSAAsyncSelect(m_socket, m_window, 0, 0);
    closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

bool ServerQuery::DottedAddress(const std::string& host, uint32_t* address)
{
    *address = inet_addr(host.c_str());
    return *address != INADDR_NONE;
}

bool ServerQuery::StartLookup(const std::string& host, uintptr_t* lookup)
{
    const HANDLE handle = WSAAsyncGetHostByName(m_window, WM_LOOKUPDONE, host.c_str(), m_hostEnt, sizeof m_hostEnt);
    *lookup = reinterpret_cast<uintptr_t>(handle);
    return handle != nullptr;
}

void ServerQuery::CancelLookup(uintptr_t lookup)
{
    WSACancelAsyncRequest(reinterpret_cast<HANDLE>(lookup));
}

void ServerQuery::Send(const SntpMessage& request, uint32_t address, uint16_t port)
{
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(port);
    destination.sin_addr.s_addr = address;
    sendto(m_socket, reinterpret_cast<const char*>(request.data()), static_cast<int>(request.size()), 0,
           reinterpret_cast<const sockaddr*>(&destination), sizeof destination);
}

int ServerQuery::Receive(uint8_t* buffer, size_t size, uint32_t address, uint16_t port, bool* fromServer)
{
    sockaddr_in sender{};
    int senderLength = sizeof sender;
    const int received = recvfrom(m_socket, reinterpret_cast<char*>(buffer), static_cast<int>(size), 0,
                                  reinterpret_cast<sockaddr*>(&sender), &senderLength);
    *fromServer = sender.sin_addr.s_addr == address && sender.sin_port == htons(port);
    return received == SOCKET_ERROR ? -1 : received;
}

void ServerQuery::StartWait(unsigned milliseconds)
{
    SetTimer(m_window, QUERY_TIMER_ID, milliseconds, nullptr);
}

void ServerQuery::StopWait()
{
    if (m_window != nullptr) {
        KillTimer(m_window, QUERY_TIMER_ID);
    }
}

int64_t ServerQuery::CounterNow()
{
    return ::CounterNow();
}

int64_t ServerQuery::CounterFrequency()
{
    return ::CounterFrequency();
}

uint64_t ServerQuery::RandomOrigin()
{
    return SystemRandom();
}
