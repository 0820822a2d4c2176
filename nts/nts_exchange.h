// One NTS-protected NTP exchange (RFC 8915 section 5): the request sealed with a cookie of the
// server's session and a fresh unique identifier and nonce, the reply opened with the session's
// key and held to that identifier, its new cookies kept, and a NAK that empties the session.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "nts_extension_fields.h"
#include "nts_sessions.h"
#include "sntp/sntp_message.h"

enum class NtsOpened {
    Authentic,  // sealed by the server for this request: its NTP header may be judged
    Unusable,   // not for this request, or not the server's: dropped like a forged reply
    Nak,        // the server no longer takes the session's cookies, which are thrown away
};

class NtsExchange {
public:
    // The request sealed for the session, with identifier and nonce from random (each call a fresh
    // 64 bits); empty when there is no session or no cookie left in it.
    std::vector<uint8_t> Seal(NtsSession* session, const SntpMessage& request,
                              const std::function<uint64_t()>& random);
    // The reply to the latest sealed request; its cookies go into the session.
    NtsOpened Open(NtsSession* session, const uint8_t* datagram, size_t length);

private:
    NtsUniqueId m_uniqueId{};
    AesSivKey m_s2cKey{};
};
