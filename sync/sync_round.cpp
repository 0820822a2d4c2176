// The course of a round: next server, answer, refusal, failure, end.
#include "sync_round.h"

#include <utility>

AutomaticEnd RoundResult::EndOfAutomaticMode() const
{
    switch (outcome) {
    case RoundOutcome::Set:
        return AutomaticEnd::Set;
    case RoundOutcome::Refused:
        return AutomaticEnd::Refused;
    case RoundOutcome::NoServers:
        return AutomaticEnd::NoneTicked;
    case RoundOutcome::NoAnswer:
        break;
    }
    return AutomaticEnd::NoAnswer;
}

void SyncRound::Start(std::vector<RoundServer> servers, int32_t offsetSeconds)
{
    Stop();
    m_servers = std::move(servers);
    m_next = 0;
    m_offsetSeconds = offsetSeconds;
    m_result = RoundResult();
    m_running = true;
    AskNext();
}

void SyncRound::OnQueryEnded(QueryStatus status)
{
    if (!m_running || status == QueryStatus::Waiting) {
        return;
    }
    if (status == QueryStatus::Answered) {
        ApplyAnswer();
        return;
    }
    LogRow row;
    if (FailureRow(m_servers[m_next - 1].name, status, &row)) {
        AddRow(row);
    }
    AskNext();
}

void SyncRound::Stop()
{
    if (m_running) {
        m_running = false;
        m_query.EndQuery();
    }
}

void SyncRound::AskNext()
{
    // A loop, not recursion: each server whose query fails at once is passed at once.
    while (m_running && m_next < m_servers.size()) {
        const RoundServer& server = m_servers[m_next++];
        m_log.OnAsking(server);
        const QueryStatus status = m_query.StartQuery(server.address);
        if (status == QueryStatus::Waiting) {
            return;
        }
        LogRow row;
        if (FailureRow(server.name, status, &row)) {
            AddRow(row);
        }
    }
    if (m_running) {
        End(m_servers.empty() ? RoundOutcome::NoServers : RoundOutcome::NoAnswer);
    }
}

void SyncRound::ApplyAnswer()
{
    const AppliedTime applied = m_clock.SetClockFrom(m_query.QueryAnswer(), m_offsetSeconds);
    if (!applied.converted) {
        // The query took only a time that converts; should the zone fail us now, nothing is set.
        End(RoundOutcome::NoAnswer);
        return;
    }
    AddRow(ClockRow(m_servers[m_next - 1].name, applied.target, m_offsetSeconds, applied.clock.clockBefore,
                    applied.clock.outcome));
    End(applied.clock.outcome == ClockOutcome::Set ? RoundOutcome::Set : RoundOutcome::Refused);
}

void SyncRound::AddRow(const LogRow& row)
{
    m_result.rows.push_back(row);
    m_log.AddRow(row);
}

void SyncRound::End(RoundOutcome outcome)
{
    m_running = false;
    m_result.outcome = outcome;
    m_log.OnRoundEnded(m_result);
}
