// Winsock 2 and the system's trust under the platform-free key exchange (Win32).
#include "nts_key_exchange_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include "base/system_forms_win32.h"
#include "system_trust_win32.h"

namespace {

// Winsock 2 for the length of one exchange; the process may have started 1.1 already.
class Winsock2 {
public:
    Winsock2() { m_started = WSAStartup(MAKEWORD(2, 2), &m_data) == 0; }
    ~Winsock2()
    {
        if (m_started) {
            WSACleanup();
        }
    }
    Winsock2(const Winsock2&) = delete;
    Winsock2& operator=(const Winsock2&) = delete;
    bool Started() const { return m_started; }

private:
    WSADATA m_data{};
    bool m_started = false;
};

// A connected TCP socket whose every send and receive waits no later than the deadline.
class SocketStream : public NtsByteStream {
public:
    explicit SocketStream(ULONGLONG deadline) : m_deadline(deadline) {}
    ~SocketStream()
    {
        if (m_socket != INVALID_SOCKET) {
            closesocket(m_socket);
        }
    }
    SocketStream(const SocketStream&) = delete;
    SocketStream& operator=(const SocketStream&) = delete;

    // Connects without blocking past the deadline.
    bool Connect(const sockaddr* address, int addressSize)
    {
        m_socket = socket(address->sa_family, SOCK_STREAM, IPPROTO_TCP);
        if (m_socket == INVALID_SOCKET) {
            return false;
        }
        u_long nonBlocking = 1;
        ioctlsocket(m_socket, FIONBIO, &nonBlocking);
        if (connect(m_socket, address, addressSize) == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK) {
            return false;
        }
        fd_set writable;
        fd_set failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(m_socket, &writable);
        FD_SET(m_socket, &failed);
        const DWORD left = MillisecondsLeft();
        timeval wait = {static_cast<long>(left / 1000), static_cast<long>(left % 1000 * 1000)};
        if (select(0, nullptr, &writable, &failed, &wait) != 1 || !FD_ISSET(m_socket, &writable)) {
            return false;
        }
        nonBlocking = 0;
        ioctlsocket(m_socket, FIONBIO, &nonBlocking);
        return true;
    }

    int Send(const uint8_t* data, size_t size) override
    {
        if (!WaitNoLaterThanTheDeadline(SO_SNDTIMEO)) {
            return kTimedOut;
        }
        const int sent = send(m_socket, reinterpret_cast<const char*>(data), static_cast<int>(size), 0);
        return sent != SOCKET_ERROR ? sent : Failure();
    }

    int Receive(uint8_t* buffer, size_t size) override
    {
        if (!WaitNoLaterThanTheDeadline(SO_RCVTIMEO)) {
            return kTimedOut;
        }
        const int received = recv(m_socket, reinterpret_cast<char*>(buffer), static_cast<int>(size), 0);
        return received != SOCKET_ERROR ? received : Failure();
    }

private:
    DWORD MillisecondsLeft() const
    {
        const ULONGLONG now = GetTickCount64();
        return now >= m_deadline ? 0 : static_cast<DWORD>(m_deadline - now);
    }

    bool WaitNoLaterThanTheDeadline(int option)
    {
        const DWORD left = MillisecondsLeft();
        return left > 0 && setsockopt(m_socket, SOL_SOCKET, option, reinterpret_cast<const char*>(&left),
                                      sizeof left) != SOCKET_ERROR;
    }

    int Failure() const { return WSAGetLastError() == WSAETIMEDOUT ? kTimedOut : kFailed; }

    SOCKET m_socket = INVALID_SOCKET;
    ULONGLONG m_deadline;
};

NtsKeyExchangeResult Failed(NtsKeFailure why)
{
    NtsKeyExchangeResult result;
    result.failure = why;
    return result;
}

NtsKeyExchangeResult ExchangeAt(const sockaddr* address, int addressSize, const std::string& serverName,
                                ULONGLONG deadline)
{
    SocketStream stream(deadline);
    if (!stream.Connect(address, addressSize)) {
        return Failed(NtsKeFailure::NoConnection);
    }
    SystemTrust trust;
    return RunNtsKeSession(stream, trust, serverName);
}

}  // namespace

NtsKeyExchangeResult RunNtsKeyExchange(const sockaddr* address, int addressSize, const std::string& serverName,
                                       unsigned timeLimitMs)
{
    const Winsock2 winsock;
    if (!winsock.Started()) {
        return Failed(NtsKeFailure::NoConnection);
    }
    return ExchangeAt(address, addressSize, serverName, GetTickCount64() + timeLimitMs);
}

NtsKeyExchangeResult RunNtsKeyExchange(const std::vector<NetAddress>& addresses, const std::string& serverName,
                                       unsigned timeLimitMs)
{
    const Winsock2 winsock;
    if (!winsock.Started()) {
        return Failed(NtsKeFailure::NoConnection);
    }
    const ULONGLONG deadline = GetTickCount64() + timeLimitMs;
    NtsKeyExchangeResult result = Failed(addresses.empty() ? NtsKeFailure::NoAddress : NtsKeFailure::NoConnection);
    // The next address only when this one took no connection: a TLS failure is the server's answer.
    for (size_t i = 0; i < addresses.size() && result.failure == NtsKeFailure::NoConnection; ++i) {
        sockaddr_storage address;
        const int size = ToSocketAddress(addresses[i], &address);
        result = ExchangeAt(reinterpret_cast<const sockaddr*>(&address), size, serverName, deadline);
    }
    return result;
}

NtsKeyExchangeResult RunNtsKeyExchange(const std::string& host, uint16_t port, unsigned timeLimitMs)
{
    const Winsock2 winsock;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    if (!winsock.Started()) {
        return Failed(NtsKeFailure::NoConnection);
    }
    std::vector<NetAddress> addresses;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) == 0) {
        for (const addrinfo* each = found; each != nullptr; each = each->ai_next) {
            NetAddress address;
            if (FromSocketAddress(each->ai_addr, &address)) {
                address.port = port;
                addresses.push_back(address);
            }
        }
        freeaddrinfo(found);
    }
    return RunNtsKeyExchange(addresses, host, timeLimitMs);
}
