// What the servers' kiss-o'-death replies asked for, kept while the program runs, address by
// address: one that refused this client is never asked again, one that asked to be asked less
// often is left alone a while. The other addresses of a name (the other servers of a pool) are
// still asked: a kiss speaks for the server that sent it.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "base/net_address.h"

constexpr uint64_t kRateHoldMs = 15 * 60 * 1000;  // at least; a longer interval holds longer

class KissMemory {
public:
    void Deny(const NetAddress& address) { m_until[Key(address)] = UINT64_MAX; }
    void Hold(const NetAddress& address, uint64_t untilMs) { m_until[Key(address)] = untilMs; }
    bool Skips(const NetAddress& address, uint64_t nowMs) const
    {
        const auto found = m_until.find(Key(address));
        return found != m_until.end() && nowMs < found->second;
    }
    // How long a RATE kiss holds its address: the rounds' interval when that is longer.
    void SetRateHoldMs(uint64_t ms) { m_rateHoldMs = ms < kRateHoldMs ? kRateHoldMs : ms; }
    uint64_t RateHoldMs() const { return m_rateHoldMs; }

private:
    static std::string Key(const NetAddress& address)
    {
        std::string key(reinterpret_cast<const char*>(address.bytes.data()),
                        address.family == NetAddress::Family::V4 ? 4 : 16);
        key += static_cast<char>(address.port >> 8);
        key += static_cast<char>(address.port & 0xFF);
        return key;
    }

    std::map<std::string, uint64_t> m_until;
    uint64_t m_rateHoldMs = kRateHoldMs;
};

// The one memory of this process: every query and round of the window, automatic mode or the
// service shares it.
KissMemory& ProcessKissMemory();
