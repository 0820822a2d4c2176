// The course of a round: next server, answer, refusal, failure, agreement, the step limit, the end.
#include "sync_round.h"

#include <algorithm>
#include <utility>

#include "res/texts.h"
#include "step_guard.h"

namespace {

AnswerSource SourceOf(const ServerAnswer& answer)
{
    // Stratum 2 and beyond name the server they follow; stratum 1 names a clock, and 0 a kiss.
    return {answer.from, answer.stratum >= 2, answer.referenceId};
}

}  // namespace

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
    case RoundOutcome::TooFew:
        return AutomaticEnd::TooFew;
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
    m_batch = 0;
    m_held.clear();
    const uint64_t intervalMs = uint64_t{static_cast<uint32_t>(std::max(m_rules.intervalMinutes, 0))} * 60000;
    m_kisses.SetRateHoldMs(intervalMs);
    m_graceStarted = false;
    m_result = RoundResult();
    m_running = true;
    if (m_rules.together) {
        AskTogether();
    } else {
        AskNext();
    }
}

SyncRound::Asked* SyncRound::InSlot(int slot)
{
    for (size_t i = m_batch; i < m_asked.size(); ++i) {
        if (m_asked[i].slot == slot) {
            return &m_asked[i];
        }
    }
    return nullptr;
}

void SyncRound::OnQueryEnded(int slot, QueryStatus status)
{
    Asked* found = m_running && status != QueryStatus::Waiting ? InSlot(slot) : nullptr;
    if (found == nullptr || found->done) {
        return;
    }
    Asked& asked = *found;
    Record(asked, slot, status);
    if (m_rules.together) {
        Decide();
    } else if (asked.answered) {
        Consider(asked);
    } else {
        AskNext();
    }
}

void SyncRound::Record(Asked& asked, int slot, QueryStatus status)
{
    asked.done = true;
    if (status == QueryStatus::Answered) {
        asked.answered = true;
        asked.answer = m_queries.QueryAnswer(slot);
        asked.offset = asked.answer.unixTicksAtReceipt - asked.answer.clockAtReceipt +
                       int64_t{m_rules.offsetSeconds} * kTicksPerSecond;
    } else {
        Failed(asked.server, status);
    }
}

void SyncRound::OnRoundWaitOver()
{
    if (m_running && m_rules.together) {
        m_graceStarted = true;
        for (size_t i = m_batch; i < m_asked.size(); ++i) {
            if (!m_asked[i].done) {
                // Its time is up: two others agreed a while ago. One still taking samples counts
                // with the best it has.
                const QueryStatus status = m_queries.CutQuery(m_asked[i].slot);
                Record(m_asked[i], m_asked[i].slot,
                       status == QueryStatus::Answered ? QueryStatus::Answered : QueryStatus::NoAnswer);
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
    for (size_t i = m_batch; i < m_asked.size(); ++i) {
        if (!m_asked[i].done) {
            m_queries.EndQuery(m_asked[i].slot);
        }
    }
}

void SyncRound::AskNext()
{
    // A loop, not recursion: each server whose query fails at once is passed at once.
    while (m_running && m_next < m_servers.size()) {
        const size_t server = m_next++;
        m_batch = m_asked.size();
        m_asked.push_back(Asked{server});
        m_log.OnAsking(m_servers[server]);
        const QueryStatus status = m_queries.StartQuery(0, m_servers[server].address);
        if (status == QueryStatus::Waiting) {
            return;
        }
        m_asked.back().done = true;
        Failed(server, status);
    }
    if (m_running) {
        End(!m_held.empty() ? RoundOutcome::Held
                            : m_servers.empty() ? RoundOutcome::NoServers : RoundOutcome::NoAnswer);
    }
}

void SyncRound::AskTogether()
{
    m_batch = m_asked.size();
    m_graceStarted = false;
    for (int slot = 0; m_running && m_next < m_servers.size() && slot < kMaxServersTogether; ++slot) {
        const size_t server = m_next++;
        m_asked.push_back(Asked{server, slot});
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
    m_result.keyExchangeFailed = m_result.keyExchangeFailed || status == QueryStatus::NtsKeyExchangeFailed ||
                                 status == QueryStatus::NtsNoConnection || status == QueryStatus::NtsCertificateRefused;
    LogRow row;
    if (FailureRow(m_servers[server].name, status, &row)) {
        AddRow(row);
    }
}

void SyncRound::Consider(Asked& asked)
{
    // Confirmed by another source only: the same server under a second name says nothing new.
    const AnswerSource source = SourceOf(asked.answer);
    const bool confirmed = std::any_of(m_held.begin(), m_held.end(), [&](const Held& held) {
        return (held.offset > asked.offset ? held.offset - asked.offset : asked.offset - held.offset) <=
                   kAgreementTicks &&
               !SameSource(held.source, source);
    });
    if (!StepNeedsSecondOpinion(asked.offset, m_rules.maxStepSeconds) || confirmed) {
        Apply(asked.server, asked.answer);
        return;
    }
    if (m_rules.userStarted) {
        const bool yes = Confirmed(asked.server, asked.answer, asked.offset);
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
    m_held.push_back({asked.offset, source});
    AddTimeRow(asked.server, asked.answer, texts::kStatusHeld);
    AskNext();
}

void SyncRound::Decide()
{
    // Every answer of the round counts, those of earlier eights too.
    std::vector<int64_t> offsets;
    std::vector<AnswerSource> sources;
    std::vector<const Asked*> answers;
    bool allDone = true;
    for (const Asked& asked : m_asked) {
        allDone = allDone && asked.done;
        if (asked.answered) {
            offsets.push_back(asked.offset);
            sources.push_back(SourceOf(asked.answer));
            answers.push_back(&asked);
        }
    }
    if (!allDone) {
        if (!m_graceStarted && TwoAgree(offsets, sources)) {
            m_graceStarted = true;
            m_queries.StartRoundWait(kAgreedGraceMs);
        }
        return;
    }
    m_queries.StopRoundWait();
    const Consensus consensus = ChooseConsensus(offsets, sources, m_servers.size() == 1);
    if (!consensus.agreed && m_next < m_servers.size()) {
        AskTogether();  // no two sources agree yet: the next eight
        return;
    }
    if (answers.empty()) {
        End(m_servers.empty() ? RoundOutcome::NoServers : RoundOutcome::NoAnswer);
        return;
    }
    if (!consensus.agreed) {
        // One source alone is too few, and disagrees with nobody; two or more that differ disagree.
        const bool oneSource = std::all_of(sources.begin(), sources.end(),
                                           [&](const AnswerSource& s) { return SameSource(s, sources[0]); });
        for (const Asked* asked : answers) {
            AddTimeRow(asked->server, asked->answer, oneSource ? texts::kStatusUnconfirmed : texts::kStatusDisagreed);
        }
        End(oneSource ? RoundOutcome::TooFew : RoundOutcome::NoAgreement);
        return;
    }
    const size_t agreeing = static_cast<size_t>(std::count(consensus.agreeing.begin(), consensus.agreeing.end(), true));
    const Asked& chosen = *answers[static_cast<size_t>(consensus.chosen)];
    // The agreeing answers' median, carried by the chosen one's counter to the moment of setting.
    ServerAnswer median = chosen.answer;
    median.unixTicksAtReceipt =
        chosen.answer.clockAtReceipt + consensus.offsetTicks - int64_t{m_rules.offsetSeconds} * kTicksPerSecond;
    if (StepNeedsSecondOpinion(consensus.offsetTicks, m_rules.maxStepSeconds) &&
        (m_rules.userStarted ? !Confirmed(chosen.server, median, consensus.offsetTicks) : agreeing < 2)) {
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
    for (size_t i = 0; i < answers.size(); ++i) {
        if (answers[i] != &chosen) {
            AddTimeRow(answers[i]->server, answers[i]->answer,
                       consensus.agreeing[i] ? texts::kStatusAgreed : texts::kStatusDisagreed);
        }
    }
    Apply(chosen.server, median);
}

bool SyncRound::Confirmed(size_t server, const ServerAnswer& answer, int64_t stepTicks)
{
    // The user sees who says so and both times, as they stand when the question comes.
    const AppliedTime read = m_clock.ReadClockFor(answer, m_rules.offsetSeconds);
    return m_clock.ConfirmStep({m_servers[server].name, read.clock.clockBefore, read.target, stepTicks});
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
