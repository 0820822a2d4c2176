// What the servers' kiss-o'-death replies asked for, kept while the program runs: one that refused
// this client is never asked again, one that asked to be asked less often is left alone a while.
#pragma once

#include <cstdint>
#include <map>
#include <string>

constexpr uint64_t kRateHoldMs = 15 * 60 * 1000;  // at least; a longer interval holds longer

class KissMemory {
public:
    void Deny(const std::string& server) { m_until[server] = UINT64_MAX; }
    void Hold(const std::string& server, uint64_t untilMs) { m_until[server] = untilMs; }
    // Whether the server is left out now; its address text is its name here.
    bool Skips(const std::string& server, uint64_t nowMs) const
    {
        const auto found = m_until.find(server);
        return found != m_until.end() && nowMs < found->second;
    }

private:
    std::map<std::string, uint64_t> m_until;
};
