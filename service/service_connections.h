// Who holds the time service's pipe instances, and by when each must have sent a whole request: a
// connection that has not within 2 s is closed, and one process holds one instance at a time, so
// that no client, however many connections it opens and however long it keeps them, keeps the
// other users out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint64_t kRequestWaitMs = 2000;

class ServiceConnections {
public:
    explicit ServiceConnections(size_t instances) : m_instances(instances) {}

    // A client connected on an instance. False when its process holds another instance already: it
    // is turned away (and the instance is free again).
    bool Admit(size_t instance, uint32_t processId, uint64_t nowMs);
    // The other instance that process holds, or -1: a connection it has just closed may not have
    // been seen to end yet, and is to be looked at before the new one is turned away.
    int OtherInstanceOf(uint32_t processId, size_t instance) const;
    // Its request is in: no deadline while the answer is made, however long the round takes.
    void OnRequest(size_t instance);
    // Its answer is written: a further request must come within the wait.
    void OnAnswered(size_t instance, uint64_t nowMs);
    void OnClosed(size_t instance);

    // The instances whose client has waited too long, to be closed now.
    std::vector<size_t> Overdue(uint64_t nowMs) const;
    // How long until the next deadline; false when no connection has one.
    bool MsUntilNextDeadline(uint64_t nowMs, uint64_t* ms) const;

private:
    struct Instance {
        bool connected = false;
        uint32_t processId = 0;
        bool waitingForRequest = false;
        uint64_t deadlineMs = 0;
    };
    std::vector<Instance> m_instances;
};
