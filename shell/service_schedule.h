// When the time service starts a round: 10 s after it starts (the network may still be coming up),
// then every interval (60 minutes when the interval is 0: a service that never synchronised would
// be no use), and 10 s after every resume.
#pragma once

#include <cstdint>

constexpr uint64_t kServiceFirstRoundMs = 10000;

class ServiceSchedule {
public:
    ServiceSchedule(uint64_t nowMs, int32_t intervalMinutes);

    bool Due(uint64_t nowMs) const { return nowMs >= m_dueMs; }
    // How long the service may sleep before it must look again.
    uint64_t MsUntilDue(uint64_t nowMs) const { return Due(nowMs) ? 0 : m_dueMs - nowMs; }
    void OnRoundStarted(uint64_t nowMs) { m_dueMs = nowMs + m_intervalMs; }
    void OnResume(uint64_t nowMs) { m_dueMs = nowMs + kServiceFirstRoundMs; }

private:
    uint64_t m_intervalMs;
    uint64_t m_dueMs;
};
