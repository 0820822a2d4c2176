// The course of one query to a time server, free of sockets: the order of its steps (address,
// socket, host lookup, request, wait, request again, reply) and what ends it. The network, the
// performance counter and the random source are reached through QueryNetwork, which the Win32
// query provides with Winsock 1.1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sync/query_status.h"
#include "sync/server_time.h"
#include "sync/sntp_exchange.h"

class QueryNetwork {
public:
    virtual bool OpenSocket() = 0;   // a UDP socket; false when none can be made
    virtual bool WatchSocket() = 0;  // its datagrams reported as they come; false when that cannot be asked
    virtual void CloseSocket() = 0;
    // A dotted IPv4 address (network byte order); false for a host name.
    virtual bool DottedAddress(const std::string& host, uint32_t* address) = 0;
    // Starts looking the name up; its end is reported with the handle. False when it cannot start.
    virtual bool StartLookup(const std::string& host, uintptr_t* lookup) = 0;
    virtual void CancelLookup(uintptr_t lookup) = 0;
    virtual void Send(const SntpMessage& request, uint32_t address, uint16_t port) = 0;
    // A datagram that has come: its length, or -1 when none (more) could be read; and whether it
    // came from the address and port given.
    virtual int Receive(uint8_t* buffer, size_t size, uint32_t address, uint16_t port, bool* fromServer) = 0;
    virtual void StartWait(unsigned milliseconds) = 0;  // its end is reported; a new one replaces it
    virtual void StopWait() = 0;
    virtual int64_t CounterNow() = 0;
    virtual int64_t CounterFrequency() = 0;
    virtual uint64_t RandomOrigin() = 0;

protected:
    ~QueryNetwork() = default;
};

// Datagrams read at one notice of the socket before the window gets its turn again.
constexpr int kDatagramsPerNotice = 64;

class QueryCourse {
public:
    QueryCourse(QueryNetwork& network, LocalTimeConversion toLocal) : m_network(network), m_toLocal(toLocal) {}

    // Ends the query under way, then asks the server at the address (a host name or dotted address,
    // optionally a colon and a port). Waiting, or why no request could go out.
    QueryStatus Start(const char* address);

    // The lookup's end (address null when it found no IPv4 address), datagrams to read, and the
    // end of a request's wait. Waiting while the query goes on; Answered once a reply counts;
    // NoAnswer when the second request, too, waited in vain. A request's wait is a deadline on the
    // performance counter, checked on every datagram as well: a flood of datagrams that keeps the
    // wait's timer from being delivered cannot hold off the end.
    QueryStatus OnLookupDone(uintptr_t lookup, int error, const uint32_t* address);
    QueryStatus OnReadable();
    QueryStatus OnWaitOver();

    // Closes the socket, cancels the lookup and the wait; nothing when none is under way.
    void End();

    bool SocketOpen() const { return m_socketOpen; }
    uintptr_t Lookup() const { return m_lookup; }
    int Port() const { return m_port; }
    const ServerAnswer& Answer() const { return m_answer; }

private:
    QueryStatus Fail(QueryStatus why);
    bool WaitingForReply() const;
    void SendRequest();

    QueryNetwork& m_network;
    LocalTimeConversion m_toLocal;
    bool m_socketOpen = false;
    uintptr_t m_lookup = 0;
    uint32_t m_address = 0;
    int m_port = 0;
    int64_t m_waitDeadline = 0;  // the counter when the latest request's wait is over
    SntpExchange m_exchange;
    ServerAnswer m_answer{};
};
