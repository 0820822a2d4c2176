// What a query reaches the world through: a UDP socket and its datagrams, name lookups and NTS key
// exchanges away from the caller's thread, one wait at a time, the counters and the random source.
// The Win32 query provides it with Winsock 2; the tests with a script.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/net_address.h"
#include "base/performance_counter.h"

class QueryNetwork {
public:
    virtual bool OpenSocket(NetAddress::Family family) = 0;  // a UDP socket; false when none can be made
    virtual bool WatchSocket() = 0;  // its datagrams reported as they come; false when that cannot be asked
    virtual void CloseSocket() = 0;
    // A dotted IPv4 address or an IPv6 literal; false for a host name.
    virtual bool NumericAddress(const std::string& host, NetAddress* address) = 0;
    // Starts looking the name up; its end is reported with the handle. False when it cannot start.
    virtual bool StartLookup(const std::string& host, uintptr_t* lookup) = 0;
    // Starts an NTS key exchange with the server at these addresses (ports included; tried in turn),
    // whose certificate must name it, away from the caller's thread; its end is reported with the
    // handle like a lookup's. False when it cannot start.
    virtual bool StartKeyExchange(const std::vector<NetAddress>& addresses, const std::string& serverName,
                                  uintptr_t* exchange) = 0;
    virtual void CancelJob(uintptr_t job) = 0;  // a lookup or a key exchange: its end never comes
    virtual void Send(const uint8_t* request, size_t length, const NetAddress& to) = 0;
    // A datagram that has come: its length, or -1 when none (more) could be read; and its sender.
    virtual int Receive(uint8_t* buffer, size_t size, NetAddress* from) = 0;
    virtual void StartWait(unsigned milliseconds) = 0;  // its end is reported; a new one replaces it
    virtual void StopWait() = 0;
    virtual int64_t CounterNow() = 0;
    virtual int64_t CounterFrequency() = 0;
    virtual int64_t ClockNow() = 0;  // the system clock in 100 ns ticks since 1970 UTC
    // 64 fresh bits of the system's random source: origin values, NTS identifiers and nonces.
    virtual uint64_t Random64() = 0;

    // Deadlines on the counter: every wait is one, so that a timer that comes early only waits on.
    int64_t CounterIn(unsigned milliseconds) { return CounterNow() + CounterFrequency() * milliseconds / 1000; }
    bool Passed(int64_t deadline) { return CounterNow() >= deadline; }
    // Rounded up: a wait for it never ends before it. 0 once it has passed.
    unsigned MillisecondsTo(int64_t deadline)
    {
        const int64_t left = deadline - CounterNow();
        return left <= 0 ? 0u : static_cast<unsigned>(left * 1000 / CounterFrequency()) + 1;
    }
    // The counter as the forward-only clock of the kisses' holds.
    uint64_t CounterMs() { return CounterToMs(CounterNow(), CounterFrequency()); }

protected:
    ~QueryNetwork() = default;
};
