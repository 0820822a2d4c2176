// The per-address count of a round's requests.
#include "round_requests.h"

bool RoundRequests::Take(const NetAddress& address)
{
    int& sent = m_sent[Key(address)];
    if (sent >= kMaxSamples) {
        return false;
    }
    ++sent;
    return true;
}

int RoundRequests::Left(const NetAddress& address) const
{
    const auto found = m_sent.find(Key(address));
    return kMaxSamples - (found == m_sent.end() ? 0 : found->second);
}

std::string RoundRequests::Key(const NetAddress& address)
{
    // The family, the address's bytes and the port: another port is another server.
    std::string key(1, address.family == NetAddress::Family::V4 ? '4' : '6');
    key.append(reinterpret_cast<const char*>(address.bytes.data()), address.family == NetAddress::Family::V4 ? 4 : 16);
    key += static_cast<char>(address.port >> 8);
    key += static_cast<char>(address.port & 0xFF);
    return key;
}
