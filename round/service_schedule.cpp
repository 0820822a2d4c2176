// The time service's schedule.
#include "service_schedule.h"

ServiceSchedule::ServiceSchedule(uint64_t nowMs, int32_t intervalMinutes)
    : m_intervalMs(uint64_t{static_cast<uint32_t>(intervalMinutes > 0 ? intervalMinutes : 60)} * 60000),
      m_dueMs(nowMs + kServiceFirstRoundMs)
{
}

uint64_t ServiceSchedule::MsToSleep(uint64_t nowMs, bool roundRunning) const
{
    const uint64_t untilDue = MsUntilDue(nowMs);
    if (untilDue == 0 && !roundRunning) {
        return 0;
    }
    return untilDue == 0 || untilDue > kServiceLongestSleepMs ? kServiceLongestSleepMs : untilDue;
}

bool ServiceSchedule::MsSinceLastRound(uint64_t nowMs, uint64_t* ms) const
{
    *ms = m_ended ? nowMs - m_lastEndMs : 0;
    return m_ended;
}

void ServiceSchedule::OnRoundStarted(uint64_t nowMs)
{
    m_dueMs = nowMs + m_intervalMs;
    m_resumeDue = false;
}

void ServiceSchedule::OnRoundEnded(uint64_t nowMs)
{
    m_ended = true;
    m_lastEndMs = nowMs;
    if (!m_resumeDue) {
        while (m_dueMs <= nowMs) {
            m_dueMs += m_intervalMs;
        }
    }
}

void ServiceSchedule::OnResume(uint64_t nowMs)
{
    m_dueMs = nowMs + kResumeDelayMs;
    m_resumeDue = true;
}

SyncReply ServiceSchedule::OnSyncRequest(uint64_t nowMs, bool roundRunning) const
{
    if (roundRunning) {
        return SyncReply::JoinRound;
    }
    return m_ended && nowMs - m_lastEndMs < kSyncAnswerKeptMs ? SyncReply::LastRound : SyncReply::StartRound;
}
