// Winsock 2, the window's timer, the counters and the system's random source for QueryCourse; the
// query's rules are all there (Win32).
#include "server_query_win32.h"

#include <ws2tcpip.h>

#include <cstring>

#include "address_lookup_win32.h"
#include "base/host_local_time.h"
#include "base/performance_counter.h"
#include "base/system_random.h"
#include "base/system_forms_win32.h"
#include "winsock_session.h"

ServerQuery::ServerQuery(UINT_PTR timerId, RoundRequests* roundRequests)
    : m_wait(timerId), m_course(*this, HostLocalTime, ProcessNtsSessions(), ProcessKissMemory(), roundRequests)
{
}

QueryStatus ServerQuery::Start(const char* address, HWND window, int samples)
{
    m_window = window;
    StartWinsockOnce();
    return m_course.Start(address, samples);
}

QueryResult ServerQuery::OnLookupDone(uintptr_t lookup)
{
    if (m_course.KeyExchangeUnderWay()) {
        NtsKeyExchangeResult exchange;
        if (lookup != m_course.Lookup() || !TakeNtsKeyExchange(lookup, &exchange)) {
            return {};
        }
        return m_course.Result(m_course.OnKeyExchangeDone(lookup, exchange));
    }
    int error = 0;
    std::vector<NetAddress> addresses;
    if (lookup != m_course.Lookup() || !TakeAddressLookup(lookup, &error, &addresses)) {
        return {};  // not this query's lookup, or not one of the program's at all: it waits on
    }
    return m_course.Result(m_course.OnLookupDone(lookup, error, addresses));
}

QueryResult ServerQuery::OnSocketEvent(SOCKET socket, int event, int error)
{
    // A notification with an error, or of another socket, ends nothing: the query waits on.
    if (error != 0 || socket != m_socket || event != FD_READ) {
        return {};
    }
    return m_course.Result(m_course.OnReadable());
}

QueryResult ServerQuery::OnTimer()
{
    return m_course.Result(m_course.OnWaitOver());
}

bool ServerQuery::OpenSocket(NetAddress::Family family)
{
    m_socket = socket(family == NetAddress::Family::V6 ? AF_INET6 : AF_INET, SOCK_DGRAM, IPPROTO_UDP);
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

bool ServerQuery::NumericAddress(const std::string& host, NetAddress* address)
{
    // Dotted addresses as inet_addr has always read them; a colon makes an IPv6 literal.
    if (host.find(':') == std::string::npos) {
        const unsigned long v4 = inet_addr(host.c_str());
        if (v4 == INADDR_NONE) {
            return false;
        }
        *address = NetAddress();
        std::memcpy(address->bytes.data(), &v4, 4);
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET6;
    hints.ai_flags = AI_NUMERICHOST;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return false;
    }
    const bool ok = FromSocketAddress(found->ai_addr, address);
    freeaddrinfo(found);
    return ok;
}

bool ServerQuery::StartLookup(const std::string& host, uintptr_t* lookup)
{
    *lookup = StartAddressLookup(host, m_window, WM_LOOKUPDONE);
    return *lookup != 0;
}

void ServerQuery::CancelJob(uintptr_t job)
{
    CancelBackgroundJob(job);
}

bool ServerQuery::StartKeyExchange(const std::vector<NetAddress>& addresses, const std::string& serverName,
                                   uintptr_t* exchange)
{
    *exchange = StartNtsKeyExchange(addresses, serverName, m_window, WM_LOOKUPDONE);
    return *exchange != 0;
}

void ServerQuery::Send(const uint8_t* request, size_t length, const NetAddress& to)
{
    sockaddr_storage destination;
    const int size = ToSocketAddress(to, &destination);
    sendto(m_socket, reinterpret_cast<const char*>(request), static_cast<int>(length), 0,
           reinterpret_cast<const sockaddr*>(&destination), size);
}

int ServerQuery::Receive(uint8_t* buffer, size_t size, NetAddress* from)
{
    sockaddr_storage sender{};
    int senderLength = sizeof sender;
    const int received = recvfrom(m_socket, reinterpret_cast<char*>(buffer), static_cast<int>(size), 0,
                                  reinterpret_cast<sockaddr*>(&sender), &senderLength);
    if (received == SOCKET_ERROR || !FromSocketAddress(reinterpret_cast<const sockaddr*>(&sender), from)) {
        return -1;
    }
    return received;
}

void ServerQuery::StartWait(unsigned milliseconds)
{
    m_wait.Start(m_window, milliseconds);
}

void ServerQuery::StopWait()
{
    m_wait.Stop();
}

int64_t ServerQuery::CounterNow()
{
    return ::CounterNow();
}

int64_t ServerQuery::CounterFrequency()
{
    return ::CounterFrequency();
}

int64_t ServerQuery::ClockNow()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FileTimeToUnixTicks(now);
}

uint64_t ServerQuery::Random64()
{
    return SystemRandom();
}
