// The course of a round: next server, answer, refusal, failure, agreement, the step limit, the end.
#include "sync_round.h"

#include <algorithm>
#include <utility>

#include "res/texts.h"
#include "step_guard.h"

void SyncRound::Start(std::vector<RoundServer> servers, const RoundRules& rules)
{
    Stop();
    m_servers = std::move(servers);
    m_rules = rules;
    m_next = 0;
    m_asked.clear();
    m_batch = 0;
    m_held.Clear();
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

void SyncRound::OnQueryEnded(int slot, const QueryResult& result)
{
    Asked* found = m_running && result.status != QueryStatus::Waiting ? InSlot(slot) : nullptr;
    if (found == nullptr || found->done) {
        return;
    }
    Asked& asked = *found;
    Record(asked, result);
    if (m_rules.together) {
        Decide();
    } else if (asked.answered) {
        Consider(asked);
    } else {
        AskNext();
    }
}

void SyncRound::Record(Asked& asked, const QueryResult& result)
{
    asked.done = true;
    if (result.status == QueryStatus::Answered) {
        asked.answered = true;
        asked.answer = result.answer;
        asked.offset = result.answer.OffsetTicks() + int64_t{m_rules.offsetSeconds} * kTicksPerSecond;
    } else {
        Failed(asked.server, result.status);
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

bool SyncRound::Ask(size_t server, int slot)
{
    m_asked.push_back(Asked{server, slot});
    m_log.OnAsking(m_servers[server]);
    const QueryStatus status = m_queries.StartQuery(slot, m_servers[server].address);
    if (status == QueryStatus::Waiting) {
        return true;
    }
    m_asked.back().done = true;
    Failed(server, status);
    return false;
}

void SyncRound::AskNext()
{
    // A loop, not recursion: each server whose query fails at once is passed at once.
    while (m_running && m_next < m_servers.size()) {
        m_batch = m_asked.size();
        if (Ask(m_next++, 0)) {
            return;
        }
    }
    if (m_running) {
        End(!m_held.Empty() ? RoundOutcome::Held
                            : m_servers.empty() ? RoundOutcome::NoServers : RoundOutcome::NoAnswer);
    }
}

void SyncRound::AskTogether()
{
    m_batch = m_asked.size();
    m_graceStarted = false;
    for (int slot = 0; m_running && m_next < m_servers.size() && slot < kMaxServersTogether; ++slot) {
        Ask(m_next++, slot);
    }
    if (m_running) {
        Decide();
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
                const QueryResult cut = m_queries.CutQuery(m_asked[i].slot);
                Record(m_asked[i], cut.status == QueryStatus::Answered ? cut : QueryResult{QueryStatus::NoAnswer, {}});
            }
        }
        Decide();
    }
}

SyncRound::Answers SyncRound::AnswersSoFar() const
{
    // Every answer of the round counts, those of earlier eights too.
    Answers answers;
    for (const Asked& asked : m_asked) {
        if (asked.answered) {
            answers.asked.push_back(&asked);
            answers.offsets.push_back(asked.offset);
            answers.sources.push_back(SourceOf(asked.answer));
        }
    }
    return answers;
}

void SyncRound::Decide()
{
    const Answers answers = AnswersSoFar();
    const bool allDone = std::all_of(m_asked.begin(), m_asked.end(), [](const Asked& asked) { return asked.done; });
    if (!allDone) {
        if (!m_graceStarted && TwoAgree(answers.offsets, answers.sources)) {
            m_graceStarted = true;
            m_queries.StartRoundWait(kAgreedGraceMs);
        }
        return;
    }
    m_queries.StopRoundWait();
    const Consensus consensus = ChooseConsensus(answers.offsets, answers.sources, m_servers.size() == 1);
    if (!consensus.agreed && m_next < m_servers.size()) {
        AskTogether();  // no two sources agree yet: the next eight
        return;
    }
    if (answers.asked.empty()) {
        End(m_servers.empty() ? RoundOutcome::NoServers : RoundOutcome::NoAnswer);
        return;
    }
    if (!consensus.agreed) {
        EndWithoutAgreement(answers);
        return;
    }
    SetAgreed(consensus, answers);
}

void SyncRound::EndWithoutAgreement(const Answers& answers)
{
    // One source alone is too few, and disagrees with nobody; two or more that differ disagree.
    const bool oneSource = OneSource(answers.sources);
    for (const Asked* asked : answers.asked) {
        AddTimeRow(asked->server, asked->answer, oneSource ? texts::kStatusUnconfirmed : texts::kStatusDisagreed);
    }
    End(oneSource ? RoundOutcome::TooFew : RoundOutcome::NoAgreement);
}

void SyncRound::SetAgreed(const Consensus& consensus, const Answers& answers)
{
    const size_t agreeing = static_cast<size_t>(std::count(consensus.agreeing.begin(), consensus.agreeing.end(), true));
    const Asked& chosen = *answers.asked[static_cast<size_t>(consensus.chosen)];
    // The agreeing answers' median, carried by the chosen one's counter to the moment of setting.
    const ServerAnswer median =
        AtOffset(chosen.answer, consensus.offsetTicks - int64_t{m_rules.offsetSeconds} * kTicksPerSecond);
    if (StepNeedsSecondOpinion(consensus.offsetTicks, m_rules.maxStepSeconds) &&
        (m_rules.userStarted ? !Confirmed(chosen.server, median, consensus.offsetTicks) : agreeing < 2)) {
        if (!m_running) {
            return;  // ended while the question waited
        }
        for (const Asked* asked : answers.asked) {
            AddTimeRow(asked->server, asked->answer, texts::kStatusHeld);
        }
        End(RoundOutcome::Held);
        return;
    }
    if (!m_running) {
        return;
    }
    for (size_t i = 0; i < answers.asked.size(); ++i) {
        if (answers.asked[i] != &chosen) {
            AddTimeRow(answers.asked[i]->server, answers.asked[i]->answer,
                       consensus.agreeing[i] ? texts::kStatusAgreed : texts::kStatusDisagreed);
        }
    }
    Apply(chosen.server, median);
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
    const AnswerSource source = SourceOf(asked.answer);
    if (!StepNeedsSecondOpinion(asked.offset, m_rules.maxStepSeconds) || m_held.Confirm(asked.offset, source)) {
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
    m_held.Hold(asked.offset, source);
    AddTimeRow(asked.server, asked.answer, texts::kStatusHeld);
    AskNext();
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
