// One NTS-protected NTP exchange: sealing the request, opening the reply.
#include "nts_exchange.h"

namespace {

void FillRandom(uint8_t* bytes, size_t size, const std::function<uint64_t()>& random)
{
    for (size_t i = 0; i < size; i += 8) {
        const uint64_t value = random();
        for (size_t b = 0; b < 8 && i + b < size; ++b) {
            bytes[i + b] = static_cast<uint8_t>(value >> (8 * b));
        }
    }
}

}  // namespace

std::vector<uint8_t> NtsExchange::Seal(NtsSession* session, const SntpMessage& request,
                                       const std::function<uint64_t()>& random)
{
    if (session == nullptr) {
        return {};
    }
    std::vector<uint8_t> cookie = session->TakeCookie();
    if (cookie.empty()) {
        return {};
    }
    SntpMessage header = request;
    header[0] = 0x23;  // NTPv4: extension fields are a version 4 matter (RFC 7822)
    // A fresh unique identifier and nonce each time, from the same random source as the origin.
    FillRandom(m_uniqueId.data(), m_uniqueId.size(), random);
    NtsNonce nonce{};
    FillRandom(nonce.data(), nonce.size(), random);
    m_s2cKey = session->keys.serverToClient;
    return BuildNtsRequest(header, m_uniqueId, cookie, session->cookies.size(), session->keys.clientToServer, nonce);
}

NtsOpened NtsExchange::Open(NtsSession* session, const uint8_t* datagram, size_t length)
{
    const NtsReply reply = VerifyNtsReply(datagram, length, m_uniqueId, m_s2cKey);
    if (reply.verdict == NtsReplyVerdict::NtsNak) {
        if (session != nullptr) {
            session->cookies.clear();
        }
        return NtsOpened::Nak;
    }
    if (reply.verdict != NtsReplyVerdict::Authentic) {
        return NtsOpened::Unusable;
    }
    if (session != nullptr) {
        session->AddCookies(reply.cookies);
    }
    return NtsOpened::Authentic;
}
