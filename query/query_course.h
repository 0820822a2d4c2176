// The course of one query to a time server, free of sockets: the order of its steps (address,
// NTS key exchange, host lookup, socket, request, wait, request again, reply, the further samples),
// every address of a name in turn, and what ends it. The network, the counters and the random source are reached through QueryNetwork,
// which the Win32 query provides with Winsock 2.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sntp/kiss_memory.h"
#include "base/net_address.h"
#include "nts/nts_exchange.h"
#include "nts/nts_sessions.h"
#include "query_status.h"
#include "round_requests.h"
#include "sntp/server_samples.h"
#include "sntp/server_time.h"
#include "sntp/sntp_exchange.h"

constexpr unsigned kLookupLimitMs = 5000;  // a name server that does not answer costs no more
constexpr unsigned kNameLimitMs = 8000;    // the exchanges with all the addresses of one name
// An NTS key exchange once its server's addresses are known: the wait for its turn (the exchanges
// run one at a time), then its connection and TLS, each within the exchange's limit.
constexpr unsigned kKeyExchangeLimitMs = 2 * kNtsKeTimeLimitMs;

class QueryNetwork {
public:
    virtual bool OpenSocket(NetAddress::Family family) = 0;  // a UDP socket; false when none can be made
    virtual bool WatchSocket() = 0;  // its datagrams reported as they come; false when that cannot be asked
    virtual void CloseSocket() = 0;
    // A dotted IPv4 address or an IPv6 literal; false for a host name.
    virtual bool NumericAddress(const std::string& host, NetAddress* address) = 0;
    // Starts looking the name up; its end is reported with the handle. False when it cannot start.
    virtual bool StartLookup(const std::string& host, uintptr_t* lookup) = 0;
    virtual void CancelLookup(uintptr_t lookup) = 0;  // a lookup or a key exchange
    // Starts an NTS key exchange with the server at these addresses (ports included; tried in turn),
    // whose certificate must name it, away from the caller's thread; its end is reported with the
    // handle like a lookup's. False when it cannot start.
    virtual bool StartKeyExchange(const std::vector<NetAddress>& addresses, const std::string& serverName,
                                  uintptr_t* exchange) = 0;
    virtual void Send(const uint8_t* request, size_t length, const NetAddress& to) = 0;
    // A datagram that has come: its length, or -1 when none (more) could be read; and its sender.
    virtual int Receive(uint8_t* buffer, size_t size, NetAddress* from) = 0;
    virtual void StartWait(unsigned milliseconds) = 0;  // its end is reported; a new one replaces it
    virtual void StopWait() = 0;
    virtual int64_t CounterNow() = 0;
    virtual int64_t CounterFrequency() = 0;
    virtual int64_t ClockNow() = 0;  // the system clock in 100 ns ticks since 1970 UTC
    virtual uint64_t RandomOrigin() = 0;

protected:
    ~QueryNetwork() = default;
};

// What a failed key exchange tells the user: a name without an address is an unknown server, as for
// any server; then whether the server took no connection, its certificate was refused, or the
// exchange itself failed.
QueryStatus StatusOfFailedKeyExchange(NtsKeFailure failure);

// Datagrams read at one notice of the socket before the window gets its turn again.
constexpr int kDatagramsPerNotice = 64;

class QueryCourse {
public:
    // Without a round's request counts of its own, each query counts its requests alone.
    QueryCourse(QueryNetwork& network, LocalTimeConversion toLocal, NtsSessions& sessions = ProcessNtsSessions(),
                KissMemory& kisses = ProcessKissMemory(), RoundRequests* roundRequests = nullptr)
        : m_network(network), m_toLocal(toLocal), m_sessions(sessions), m_kisses(kisses),
          m_requests(roundRequests != nullptr ? *roundRequests : m_ownRequests)
    {
    }

    // Ends the query under way, then asks the server at the address (a host name, a dotted address
    // or an IPv6 literal, optionally with a port; "nts:" in front for NTS) for up to this many
    // samples. Waiting, or why no request could go out.
    QueryStatus Start(const char* address, int samples = 1);

    // The lookup's end with the addresses in the order the system gives them (none when it failed;
    // an NTS server's key exchange server is looked up this way too),
    // datagrams to read, and the end of a wait. Waiting while the query goes on; Answered once its
    // samples are in: each reply that counts is one, the next request goes kSampleSpacingMs later,
    // and the one with the shortest path delay is the answer. Sampling ends early, the samples in
    // counting, when the server falls silent, sends a kiss or NTS NAK, is out of cookies, has had
    // its round's share of requests, or the name's time is up. A silent address with no sample is
    // given up after its second request, and the next is asked; NoAnswer when none is left or the
    // name's time is up. Every wait is a deadline on the counter,
    // checked on every datagram as well: datagrams that keep the wait's timer from being delivered
    // cannot hold off the end, and a timer that comes early only waits on.
    QueryStatus OnLookupDone(uintptr_t lookup, int error, const std::vector<NetAddress>& addresses);
    // The end of the key exchange with this handle: its keys and cookies are kept for the server,
    // and the NTP server it names is asked. A failed one ends the query; any other's changes nothing.
    QueryStatus OnKeyExchangeDone(uintptr_t exchange, const NtsKeyExchangeResult& result);
    QueryStatus OnReadable();
    QueryStatus OnWaitOver();

    // Closes the socket, cancels the lookup and the wait; nothing when none is under way.
    void End();
    // Ends the query under way at once: Answered when samples are in, with the best as its answer;
    // NoAnswer otherwise.
    QueryStatus Cut();

    bool SocketOpen() const { return m_socketOpen; }
    uintptr_t Lookup() const { return m_lookup; }  // a lookup's or a key exchange's handle
    bool KeyExchangeUnderWay() const { return m_lookup != 0 && m_keyExchange; }
    int Port() const { return m_port; }
    const ServerAnswer& Answer() const { return m_answer; }

private:
    QueryStatus Fail(QueryStatus why);
    QueryStatus Resolve(const std::string& host);
    QueryStatus StartKeyExchange();
    QueryStatus KeyExchangeAt(std::vector<NetAddress> addresses);
    QueryStatus AskNtpServer();
    QueryStatus Ask(size_t address);
    // The first address from this one on that no kiss keeps away, or the end of the query.
    QueryStatus AskFrom(size_t address, QueryStatus ifNoneLeft);
    QueryStatus OnKiss(QueryStatus kiss);
    QueryStatus OnSample(const uint8_t* reply, NetAddress from, int64_t receivedAt, int64_t clockAt);
    QueryStatus NextSample();
    QueryStatus Finish();  // the samples in: the best is the answer
    bool Sampled() const { return m_samples.Count() > 0; }
    uint64_t NowMs();
    QueryStatus SendRequest();
    QueryStatus GoBackToKeyExchange();
    QueryStatus OnNtsDatagram(const uint8_t* datagram, size_t length, DatagramVerdict* verdict);
    // A request is out: its reply, or the spacing before the next sample, is waited for.
    bool Listening() const;
    bool Passed(int64_t deadline);
    unsigned MillisecondsTo(int64_t deadline);
    int64_t CounterIn(unsigned milliseconds);

    QueryNetwork& m_network;
    LocalTimeConversion m_toLocal;
    NtsSessions& m_sessions;
    KissMemory& m_kisses;
    bool m_socketOpen = false;
    NetAddress::Family m_socketFamily = NetAddress::Family::V4;
    uintptr_t m_lookup = 0;
    int64_t m_lookupDeadline = 0;
    std::vector<NetAddress> m_addresses;
    size_t m_asking = 0;          // the address asked now
    int64_t m_nameDeadline = 0;   // the counter when the name's exchanges are over
    int64_t m_waitDeadline = 0;   // the counter when the latest request's wait, or the spacing, is over
    int m_port = 0;
    SntpExchange m_exchange;
    ServerAnswer m_answer{};
    int m_samplesWanted = 1;
    ServerSamples m_samples;
    bool m_spacing = false;  // the latest request was answered, the next sample's not sent yet
    RoundRequests m_ownRequests;
    RoundRequests& m_requests;
    std::vector<uint8_t> m_datagram;  // large enough for an NTS reply with its cookies
    // NTS: the key exchange server, whether the handle is its lookup or its exchange, whether this
    // query went back to it already, and the sealing and opening of its exchanges.
    bool m_nts = false;
    std::string m_keHost;
    int32_t m_kePort = 0;
    bool m_keyServerLookup = false;
    bool m_keyExchange = false;
    bool m_keyExchangedAgain = false;
    NtsExchange m_ntsExchange;
};
