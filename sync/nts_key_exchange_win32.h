// The NTS key exchange from Windows: a TCP connection through Winsock 2 (IPv4 or IPv6), the
// system's trusted roots, and the session of nts_ke_session.h over them. Blocking: for a worker
// thread, one exchange at a time (Win32).
#pragma once

#include <cstdint>
#include <string>

#include "sync/nts_ke_session.h"

struct sockaddr;

// Looks the host up (IPv4 and IPv6) and tries its addresses in turn; the host is also the name the
// certificate must carry and the SNI. The time limit covers all of it but the lookup.
NtsKeyExchangeResult RunNtsKeyExchange(const std::string& host, uint16_t port,
                                       unsigned timeLimitMs = kNtsKeTimeLimitMs);

// The same at an address already resolved (port included), with the name the certificate must carry.
NtsKeyExchangeResult RunNtsKeyExchange(const sockaddr* address, int addressSize, const std::string& serverName,
                                       unsigned timeLimitMs = kNtsKeTimeLimitMs);
