// The choice among a server's samples, and the SAMPLES setting's range.
#include "server_samples.h"

int SamplesFrom(const char* text)
{
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    if (*text < '0' || *text > '9') {
        return kDefaultSamples;
    }
    int samples = 0;
    for (; *text >= '0' && *text <= '9' && samples <= kMaxSamples; ++text) {
        samples = samples * 10 + (*text - '0');
    }
    return samples < 1 ? 1 : samples > kMaxSamples ? kMaxSamples : samples;
}

void ServerSamples::Add(const ServerAnswer& answer, int64_t pathDelayTicks)
{
    if (m_count == 0 || pathDelayTicks < m_bestDelay) {
        m_best = answer;
        m_bestDelay = pathDelayTicks;
    }
    ++m_count;
}
