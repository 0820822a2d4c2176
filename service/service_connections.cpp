// The pipe's connections and their deadlines.
#include "service_connections.h"

bool ServiceConnections::Admit(size_t instance, uint32_t processId, uint64_t nowMs)
{
    if (OtherInstanceOf(processId, instance) >= 0) {
        m_instances[instance] = Instance();
        return false;
    }
    m_instances[instance] = {true, processId, true, nowMs + kRequestWaitMs};
    return true;
}

int ServiceConnections::OtherInstanceOf(uint32_t processId, size_t instance) const
{
    for (size_t i = 0; i < m_instances.size(); ++i) {
        if (i != instance && m_instances[i].connected && m_instances[i].processId == processId) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void ServiceConnections::OnRequest(size_t instance)
{
    m_instances[instance].waitingForRequest = false;
}

void ServiceConnections::OnAnswered(size_t instance, uint64_t nowMs)
{
    m_instances[instance].waitingForRequest = true;
    m_instances[instance].deadlineMs = nowMs + kRequestWaitMs;
}

void ServiceConnections::OnClosed(size_t instance)
{
    m_instances[instance] = Instance();
}

std::vector<size_t> ServiceConnections::Overdue(uint64_t nowMs) const
{
    std::vector<size_t> overdue;
    for (size_t i = 0; i < m_instances.size(); ++i) {
        const Instance& c = m_instances[i];
        if (c.connected && c.waitingForRequest && nowMs >= c.deadlineMs) {
            overdue.push_back(i);
        }
    }
    return overdue;
}

bool ServiceConnections::MsUntilNextDeadline(uint64_t nowMs, uint64_t* ms) const
{
    bool any = false;
    for (const Instance& c : m_instances) {
        if (c.connected && c.waitingForRequest) {
            const uint64_t left = c.deadlineMs > nowMs ? c.deadlineMs - nowMs : 0;
            *ms = any && *ms < left ? *ms : left;
            any = true;
        }
    }
    return any;
}
