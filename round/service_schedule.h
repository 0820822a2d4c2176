// When the time service starts a round and what a client's SYNC gets, free of timers: 10 s after
// the start (the network may still be coming up), then every interval (60 minutes when the
// interval is 0: a service that never synchronised would be no use), 10 s after every resume; never
// two rounds at once. Times are milliseconds of a counter that only runs forward (64 bits: it does
// not wrap after 49.7 days as the tick count does).
#pragma once

#include <cstdint>

#include "sync_schedule.h"

constexpr uint64_t kServiceFirstRoundMs = 10000;
constexpr uint64_t kSyncAnswerKeptMs = 10000;  // a SYNC this soon after a round gets that round's end
constexpr uint64_t kServiceLongestSleepMs = 60000;

// What a SYNC from a client gets.
enum class SyncReply {
    JoinRound,   // a round is under way: its end is the answer
    LastRound,   // one ended less than 10 s ago: its end is the answer, at once
    StartRound,  // a new round, whose end is the answer
};

class ServiceSchedule {
public:
    ServiceSchedule(uint64_t nowMs, int32_t intervalMinutes);

    // How long the service may sleep before it must look again; 0 when a round is to start now.
    // While a round runs it sleeps until the round's own messages wake it: never 0, so a round that
    // outlasts its due time does not keep the processor busy.
    uint64_t MsToSleep(uint64_t nowMs, bool roundRunning) const;
    // Until the next round is due, for STATUS: 0 while one is due (or under way past its due time).
    uint64_t MsUntilDue(uint64_t nowMs) const { return nowMs >= m_dueMs ? 0 : m_dueMs - nowMs; }
    // Milliseconds since the last round ended; false before the first.
    bool MsSinceLastRound(uint64_t nowMs, uint64_t* ms) const;

    void OnRoundStarted(uint64_t nowMs);
    // Due times that passed while the round ran count as done (a round of silent servers must not
    // be followed at once by another), except the one after a resume.
    void OnRoundEnded(uint64_t nowMs);
    void OnResume(uint64_t nowMs);
    SyncReply OnSyncRequest(uint64_t nowMs, bool roundRunning) const;

private:
    uint64_t m_intervalMs;
    uint64_t m_dueMs;
    bool m_resumeDue = false;  // the due time is a resume's: a round under way does not cancel it
    bool m_ended = false;      // a round has ended since the start
    uint64_t m_lastEndMs = 0;
};
