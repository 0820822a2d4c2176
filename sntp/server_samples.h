// The samples one query takes of one server, and the one it keeps: the exchange with the shortest
// path delay spent the least time in queues, so its halved round trip is the nearest to the truth
// (ntpdate's and chrony's rule).
#pragma once

#include <cstdint>

#include "ntp_time.h"

constexpr int kDefaultSamples = 4;       // SAMPLES when it is missing or no number
constexpr int kMaxSamples = 8;           // and at most: also the requests one address gets in a round
constexpr unsigned kSampleSpacingMs = 250;  // after a reply counts, before the next request goes

class ServerSamples {
public:
    void Clear() { m_count = 0; }
    // A reply that passed every check, with its path delay (round trip less the server's hold).
    // On a tie the earlier sample stays: a later one is no better.
    void Add(const ServerAnswer& answer, int64_t pathDelayTicks);
    int Count() const { return m_count; }
    // The sample with the shortest path delay; only once one was added.
    const ServerAnswer& Best() const { return m_best; }
    int64_t BestPathDelayTicks() const { return m_bestDelay; }

private:
    int m_count = 0;
    ServerAnswer m_best{};
    int64_t m_bestDelay = 0;
};
