// The course of a round: next server, answer, refusal, failure, agreement, the step limit, the end.
#include "sync_round.h"

#include <algorithm>
#include <utility>

#include "res/texts.h"
#include "sync/consensus.h"
#include "sync/step_guard.h"

AutomaticEnd RoundResult::EndOfAutomaticMode() const
{
    switch (outcome) {
    case RoundOutcome::Set:
        return AutomaticEnd::Set;
    case RoundOutcome::Refused:
        return AutomaticEnd::Refused;
    case RoundOutcome::NoServers:
        return AutomaticEnd::NoneTicked;
    case RoundOutcome::Held:
        return AutomaticEnd::Held;
    case RoundOutcome::NoAgreement:
        return AutomaticEnd::NoAgreement;
    case RoundOutcome::NoAnswer:
        break;
    }
    return AutomaticEnd::NoAnswer;
}

void SyncRound::Start(std::vector<RoundServer> servers, const RoundRules& rules)
{
    Stop();
    m_servers = std::move(servers);
    m_rules = rules;
    m_next = 0;
    m_asked.clear();
    m_held.clear();
    m_graceStarted = false;
    m_result = RoundResult();
    m_running = true;
    if (m_rules.together) {
        AskTogether();
    } else {
        AskNext();
    }
}

void SyncRound::OnQueryEnded(int slot, QueryStatus status)
{
    if (!m_running || status == QueryStatus::Waiting || slot < 0 || static_cast<size_t>(slot) >= m_asked.size() ||
        m_asked[static_cast<size_t>(slot)].done) {
        return;
    }
    Asked& asked = m_asked[static_cast<size_t>(slot)];
    asked.done = true;
    if (status == QueryStatus::Answered) {
        asked.answered = true;
        asked.answer = m_queries.QueryAnswer(slot);
        asked.offset = asked.answer.unixTicksAtReceipt - asked.answer.clockAtReceipt +
                       int64_t{m_rules.offsetSeconds} * kTicksPerSecond;
    } else {
        Failed(asked.server, status);
    }
    if (m_rules.together) {
        Decide();
    } else if (asked.answered) {
        Consider(asked);
    } else {
        AskNext();
    }
}

void SyncRound::OnRoundWaitOver()
{
    if (m_running && m_rules.together) {
        m_graceStarted = true;
        for (size_t slot = 0; slot < m_asked.size(); ++slot) {
            if (!m_asked[slot].done) {
                // Its time is up: two others agreed a while ago.
                m_queries.EndQuery(static_cast<int>(slot));
                m_asked[slot].done = true;
                Failed(m_asked[slot].server, QueryStatus::NoAnswer);
            }
        }
        Decide();
    }
}

void SyncRound::Stop()
{
    if (!m_running) {
        return;
    }
    m_running = false;
    m_queries.StopRoundWait();
    for (size_t slot = 0; slot < m_asked.size(); ++slot) {
        if (!m_asked[slot].done) {
            m_queries.EndQuery(static_cast<int>(slot));
        }
    }
}

bool SyncRound::Skipped(const RoundServer& server)
{
    return m_kisses.Skips(server.address, m_queries.NowMs());
}

void SyncRound::AskNext()
{
    // A loop, not recursion: each server whose query fails at once is passed at once.
    while (m_running && m_next < m_servers.size()) {
        const size_t server = m_next++;
        if (Skipped(m_servers[server])) {
            continue;
        }
        m_asked.assign(1, Asked{server});
        m_log.OnAsking(m_servers[server]);
        const QueryStatus status = m_queries.StartQuery(0, m_servers[server].address);
        if (status == QueryStatus::Waiting) {
            return;
        }
        m_asked[0].done = true;
        Failed(server, status);
    }
    if (m_running) {
        End(!m_held.empty() ? RoundOutcome::Held
                            : m_servers.empty() ? RoundOutcome::NoServers : RoundOutcome::NoAnswer);
    }
}

void SyncRound::AskTogether()
{
    for (size_t server = 0; m_running && server < m_servers.size() && m_asked.size() < kMaxServersTogether; ++server) {
        if (Skipped(m_servers[server])) {
            continue;
        }
        const int slot = static_cast<int>(m_asked.size());
        m_asked.push_back(Asked{server});
        m_log.OnAsking(m_servers[server]);
        const QueryStatus status = m_queries.StartQuery(slot, m_servers[server].address);
        if (status != QueryStatus::Waiting) {
            m_asked.back().done = true;
            Failed(server, status);
        }
    }
    if (m_running) {
        Decide();
    }
}

void SyncRound::Failed(size_t server, QueryStatus status)
{
    const std::string& address = m_servers[server].address;
    if (status == QueryStatus::Denied) {
        m_kisses.Deny(address);
    } else if (status == QueryStatus::RateLimited) {
        const uint64_t interval = uint64_t{static_cast<uint32_t>(std::max(m_rules.intervalMinutes, 0))} * 60000;
        m_kisses.Hold(address, m_queries.NowMs() + std::max(kRateHoldMs, interval));
    }
    LogRow row;
    if (FailureRow(m_servers[server].name, status, &row)) {
        AddRow(row);
    }
}

void SyncRound::Consider(Asked& asked)
{
    const bool confirmed = std::any_of(m_held.begin(), m_held.end(), [&](int64_t held) {
        return (held > asked.offset ? held - asked.offset : asked.offset - held) <= kAgreementTicks;
    });
    if (!StepNeedsSecondOpinion(asked.offset, m_rules.maxStepSeconds) || confirmed) {
        Apply(asked.server, asked.answer);
        return;
    }
    if (m_rules.userStarted) {
        const bool yes = m_clock.ConfirmStep(asked.offset);
        if (!m_running) {
            return;  // ended while the question waited
        }
        if (yes) {
            Apply(asked.server, asked.answer);
        } else {
            AddTimeRow(asked.server, asked.answer, texts::kStatusHeld);
            End(RoundOutcome::Held);
        }
        return;
    }
    // Nobody is watching: another server must say the same before the clock moves this far.
    m_held.push_back(asked.offset);
    AddTimeRow(asked.server, asked.answer, texts::kStatusHeld);
    AskNext();
}

void SyncRound::Decide()
{
    std::vector<int64_t> offsets;
    std::vector<const Asked*> answers;
    bool allDone = true;
    for (const Asked& asked : m_asked) {
        allDone = allDone && asked.done;
        if (asked.answered) {
            offsets.push_back(asked.offset);
            answers.push_back(&asked);
        }
    }
    if (!allDone) {
        if (!m_graceStarted && TwoAgree(offsets)) {
            m_graceStarted = true;
            m_queries.StartRoundWait(kAgreedGraceMs);
        }
        return;
    }
    m_queries.StopRoundWait();
    if (answers.empty()) {
        End(m_servers.empty() ? RoundOutcome::NoServers : RoundOutcome::NoAnswer);
        return;
    }
    const Consensus consensus = ChooseConsensus(offsets, m_asked.size() == 1);
    if (!consensus.agreed) {
        for (const Asked* asked : answers) {
            AddTimeRow(asked->server, asked->answer, texts::kStatusDisagreed);
        }
        End(RoundOutcome::NoAgreement);
        return;
    }
    const size_t agreeing = static_cast<size_t>(std::count(consensus.agreeing.begin(), consensus.agreeing.end(), true));
    if (StepNeedsSecondOpinion(consensus.offsetTicks, m_rules.maxStepSeconds) &&
        (m_rules.userStarted ? !m_clock.ConfirmStep(consensus.offsetTicks) : agreeing < 2)) {
        if (!m_running) {
            return;  // ended while the question waited
        }
        for (const Asked* asked : answers) {
            AddTimeRow(asked->server, asked->answer, texts::kStatusHeld);
        }
        End(RoundOutcome::Held);
        return;
    }
    if (!m_running) {
        return;
    }
    const Asked& chosen = *answers[static_cast<size_t>(consensus.chosen)];
    for (size_t i = 0; i < answers.size(); ++i) {
        if (answers[i] != &chosen) {
            AddTimeRow(answers[i]->server, answers[i]->answer,
                       consensus.agreeing[i] ? texts::kStatusAgreed : texts::kStatusDisagreed);
        }
    }
    // The agreeing answers' median, carried by the chosen one's counter to the moment of setting.
    ServerAnswer median = chosen.answer;
    median.unixTicksAtReceipt =
        chosen.answer.clockAtReceipt + consensus.offsetTicks - int64_t{m_rules.offsetSeconds} * kTicksPerSecond;
    Apply(chosen.server, median);
}

void SyncRound::Apply(size_t server, const ServerAnswer& answer)
{
    const AppliedTime applied = m_clock.SetClockFrom(answer, m_rules.offsetSeconds);
    if (!applied.converted) {
        // The query took only a time that converts; should the zone fail us now, nothing is set.
        End(RoundOutcome::NoAnswer);
        return;
    }
    AddRow(ClockRow(m_servers[server].name, applied.target, m_rules.offsetSeconds, applied.clock.clockBefore,
                    applied.clock.outcome, answer.authenticated));
    m_result.lacksRight = applied.clock.outcome == ClockOutcome::NoRight;
    End(applied.clock.outcome == ClockOutcome::Set ? RoundOutcome::Set : RoundOutcome::Refused);
}

void SyncRound::AddTimeRow(size_t server, const ServerAnswer& answer, const char* status)
{
    const AppliedTime read = m_clock.ReadClockFor(answer, m_rules.offsetSeconds);
    if (read.converted) {
        AddRow(TimeRow(m_servers[server].name, read.target, m_rules.offsetSeconds, read.clock.clockBefore, status));
    }
}

void SyncRound::AddRow(const LogRow& row)
{
    m_result.rows.push_back(row);
    m_log.AddRow(row);
}

void SyncRound::End(RoundOutcome outcome)
{
    m_running = false;
    m_queries.StopRoundWait();
    m_result.outcome = outcome;
    m_log.OnRoundEnded(m_result);
}
