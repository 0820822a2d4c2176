// The NTS key exchange from Windows: a TCP connection through Winsock 2 (IPv4 or IPv6), the
// system's trust, and the session of nts_ke_session.h over them. Blocking: for a worker thread, one
// exchange at a time (Win32).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/net_address.h"
#include "nts_ke_session.h"

struct sockaddr;

// Tries the addresses in turn (ports included) until one takes the connection; the name is the one
// the certificate must carry, and the SNI. The time limit covers them all.
NtsKeyExchangeResult RunNtsKeyExchange(const std::vector<NetAddress>& addresses, const std::string& serverName,
                                       unsigned timeLimitMs = kNtsKeTimeLimitMs);

// Looks the host up (IPv4 and IPv6) first, outside the time limit; NoAddress when it has none.
NtsKeyExchangeResult RunNtsKeyExchange(const std::string& host, uint16_t port,
                                       unsigned timeLimitMs = kNtsKeTimeLimitMs);

// The same at an address already resolved (port included), with the name the certificate must carry.
NtsKeyExchangeResult RunNtsKeyExchange(const sockaddr* address, int addressSize, const std::string& serverName,
                                       unsigned timeLimitMs = kNtsKeTimeLimitMs);
