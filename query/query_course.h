// The course of one query to a time server, free of sockets: the order of its steps (the server's
// addresses, socket, request, wait, request again, reply, the further samples), every address of a
// name in turn, and what ends it. Where the server is, NTS key exchange included, is
// ServerResolution's. The network, the counters and the random source are reached through
// QueryNetwork, which the Win32 query provides with Winsock 2.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/net_address.h"
#include "nts/nts_exchange.h"
#include "nts/nts_sessions.h"
#include "query_network.h"
#include "query_status.h"
#include "round_requests.h"
#include "server_resolution.h"
#include "sntp/kiss_memory.h"
#include "sntp/ntp_time.h"
#include "sntp/server_samples.h"
#include "sntp/sntp_exchange.h"

constexpr unsigned kNameLimitMs = 8000;  // the exchanges with all the addresses of one name

// Datagrams read at one notice of the socket before the window gets its turn again.
constexpr int kDatagramsPerNotice = 64;

class QueryCourse {
public:
    // Without a round's request counts of its own, each query counts its requests alone.
    QueryCourse(QueryNetwork& network, LocalTimeConversion toLocal, NtsSessions& sessions = ProcessNtsSessions(),
                KissMemory& kisses = ProcessKissMemory(), RoundRequests* roundRequests = nullptr)
        : m_network(network), m_toLocal(toLocal), m_kisses(kisses), m_resolution(network, sessions),
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

    uintptr_t Lookup() const { return m_resolution.Job(); }  // a lookup's or a key exchange's handle
    bool KeyExchangeUnderWay() const { return m_resolution.KeyExchangeUnderWay(); }
    int Port() const { return m_resolution.Port(); }
    const ServerAnswer& Answer() const { return m_answer; }
    // A status this query gave, with its answer when that is Answered.
    QueryResult Result(QueryStatus status) const
    {
        return {status, status == QueryStatus::Answered ? m_answer : ServerAnswer{}};
    }

private:
    // A step of finding the server: once its addresses are known, the first is asked.
    QueryStatus Resolved(ResolutionStep step);
    QueryStatus Fail(QueryStatus why);
    // The first address from this one on that no kiss keeps away, or the end of the query.
    QueryStatus AskFrom(size_t address, QueryStatus ifNoneLeft);
    QueryStatus Ask(size_t address);
    QueryStatus OnKiss(QueryStatus kiss);
    QueryStatus SendRequest();
    // What a datagram received while a request waits does: nothing when it is dropped.
    std::optional<QueryStatus> OnDatagram(const uint8_t* datagram, size_t length, const NetAddress& from,
                                          const Receipt& receipt);
    QueryStatus AfterSample();
    QueryStatus NextSample();
    // NTS: the session's cookies are spent or no longer taken.
    QueryStatus WithoutCookies();
    QueryStatus Finish();  // the samples in: the best is the answer
    bool Sampled() const { return m_samples.Count() > 0; }
    // A request is out: its reply, or the spacing before the next sample, is waited for.
    bool Listening() const;
    const NetAddress& AddressAsked() const { return m_resolution.Addresses()[m_asking]; }

    QueryNetwork& m_network;
    LocalTimeConversion m_toLocal;
    KissMemory& m_kisses;
    ServerResolution m_resolution;
    bool m_socketOpen = false;
    NetAddress::Family m_socketFamily = NetAddress::Family::V4;
    size_t m_asking = 0;          // the address asked now
    int64_t m_nameDeadline = 0;   // the counter when the name's exchanges are over
    int64_t m_waitDeadline = 0;   // the counter when the latest request's wait, or the spacing, is over
    SntpExchange m_exchange;
    NtsExchange m_ntsExchange;    // NTS: the sealing and opening of the exchange's datagrams
    ServerAnswer m_answer{};
    int m_samplesWanted = 1;
    ServerSamples m_samples;
    bool m_spacing = false;  // the latest request was answered, the next sample's not sent yet
    RoundRequests m_ownRequests;
    RoundRequests& m_requests;
    std::vector<uint8_t> m_datagram;  // large enough for an NTS reply with its cookies
};
