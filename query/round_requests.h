// How many requests each server address has had in the current round: a server is never asked
// more than kMaxSamples times in one round, whatever mix of samples, requests sent again after a
// silence, NTS key exchanges gone back to, or names leading to the same address brought it there.
#pragma once

#include <map>
#include <string>

#include "base/net_address.h"
#include "sntp/server_samples.h"

class RoundRequests {
public:
    // A new round: every address has its whole share again.
    void Clear() { m_sent.clear(); }
    // Counts a request to the address; false, counting nothing, once its share is spent.
    bool Take(const NetAddress& address);
    int Left(const NetAddress& address) const;

private:
    static std::string Key(const NetAddress& address);

    std::map<std::string, int> m_sent;
};
