// The choice among a server's samples.
#include "server_samples.h"

void ServerSamples::Add(const ServerAnswer& answer, int64_t pathDelayTicks)
{
    if (m_count == 0 || pathDelayTicks < m_bestDelay) {
        m_best = answer;
        m_bestDelay = pathDelayTicks;
    }
    ++m_count;
}
