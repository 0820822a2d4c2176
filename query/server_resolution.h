// Where a query's server is, free of sockets: the host of its address looked up (a numeric address
// at once, a name away from the caller's thread within its limit), and for an NTS server (RFC 8915)
// the key exchange first, its own server's name looked up the same way, whose session names the
// NTP server and port to ask. The sessions outlive the query: cookies left spare the next one its
// key exchange.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/net_address.h"
#include "nts/nts_sessions.h"
#include "query_network.h"
#include "query_status.h"
#include "server_address.h"

constexpr unsigned kLookupLimitMs = 5000;  // a name server that does not answer costs no more
// An NTS key exchange once its server's addresses are known: the wait for its turn (the exchanges
// run one at a time), then its connection and TLS, each within the exchange's limit.
constexpr unsigned kKeyExchangeLimitMs = 2 * kNtsKeTimeLimitMs;

// What a failed key exchange tells the user: a name without an address is an unknown server, as for
// any server; then whether the server took no connection, its certificate was refused, or the
// exchange itself failed.
QueryStatus StatusOfFailedKeyExchange(NtsKeFailure failure);

// How finding the server stands after a step: Waiting while a lookup or key exchange runs, found
// once its addresses are known, or why there are none.
struct ResolutionStep {
    QueryStatus status = QueryStatus::Waiting;
    bool found = false;
};

class ServerResolution {
public:
    ServerResolution(QueryNetwork& network, NtsSessions& sessions) : m_network(network), m_sessions(sessions) {}

    // Forgets the server before and starts finding this one (an address that parsed, with a host).
    ResolutionStep Start(const ServerAddress& address);
    // The end of the lookup or the key exchange with this handle; another one's changes nothing, and
    // so does a numeric address's (the end of no lookup at all).
    ResolutionStep OnLookupDone(uintptr_t lookup, int error, const std::vector<NetAddress>& addresses);
    // The key exchange's keys and cookies are kept for its server, whose NTP server is then looked
    // up. Fail closed: without keys and cookies from a verified server nothing is asked at all.
    ResolutionStep OnKeyExchangeDone(uintptr_t exchange, const NtsKeyExchangeResult& result);
    // The end of the wait on the lookup or key exchange: an early one waits on to its limit.
    ResolutionStep OnWaitOver();
    // NTS: the session's cookies are spent or no longer taken. The key exchange once more in a
    // query; after that, this server has failed.
    ResolutionStep KeyExchangeAgain();
    // Cancels the lookup or key exchange under way; nothing when none is.
    void End();

    bool Busy() const { return m_job != 0; }
    uintptr_t Job() const { return m_job; }  // a lookup's or a key exchange's handle
    bool KeyExchangeUnderWay() const { return m_job != 0 && m_keyExchange; }
    bool Nts() const { return m_nts; }
    NtsSession* Session() { return m_sessions.Find(m_keHost, m_kePort); }
    int Port() const { return m_port; }
    // Once found: every address of the server at the port to ask, in the order the system gave them.
    const std::vector<NetAddress>& Addresses() const { return m_addresses; }

private:
    ResolutionStep Resolve(const std::string& host);
    ResolutionStep StartKeyExchange();
    ResolutionStep KeyExchangeAt(std::vector<NetAddress> addresses);
    ResolutionStep AskNtpServer();
    ResolutionStep WaitUpTo(unsigned limitMs);
    ResolutionStep Fail(QueryStatus why);

    QueryNetwork& m_network;
    NtsSessions& m_sessions;
    uintptr_t m_job = 0;
    int64_t m_deadline = 0;
    int m_port = 0;
    std::vector<NetAddress> m_addresses;
    // NTS: the key exchange server, whether the job is its lookup or its exchange, and whether this
    // query went back to it already.
    bool m_nts = false;
    std::string m_keHost;
    int32_t m_kePort = 0;
    bool m_keyServerLookup = false;
    bool m_keyExchange = false;
    bool m_keyExchangedAgain = false;
};
