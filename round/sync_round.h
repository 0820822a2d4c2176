// A round of synchronisation, free of windows and sockets. One by one (the default): the servers are
// asked in turn until one answers, each at most once; an answer sets the clock and ends the round, a
// refused clock ends it too (that is no server's fault), a failure asks the next. Together (several
// servers agreeing): up to eight are asked at once and the clock is set from those that agree. Each
// server's answer is the best of its samples (the query's choice). Either way a correction larger
// than the step limit needs a second opinion: a second server that agrees, or the user's yes in a
// round the user started. Servers that sent a kiss-o'-death are left out as it
// asked. The window, automatic mode and the service drive this one object through three interfaces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clock_outcome.h"
#include "consensus.h"
#include "sntp/kiss_memory.h"
#include "log_rows.h"
#include "query/query_status.h"
#include "round_result.h"
#include "round_server.h"
#include "sntp/server_samples.h"
#include "sntp/ntp_time.h"
#include "step_guard.h"

constexpr int kMaxServersTogether = 8;
constexpr unsigned kAgreedGraceMs = 500;  // once two agree, how long the rest may still answer

// How a round goes.
struct RoundRules {
    int32_t offsetSeconds = 0;      // added to the server's time
    bool together = false;          // CONSENSUS: ask up to eight at once and set from those that agree
    int32_t maxStepSeconds = 900;   // MAXSTEP: a larger correction needs a second opinion; 0 turns it off
    bool userStarted = false;       // the user may confirm a larger correction in words
    int32_t intervalMinutes = 0;    // a RATE kiss keeps its server away at least this long
    int samples = kDefaultSamples;  // SAMPLES: exchanges with each server, the shortest round trip kept
};

// Queries in slots, one per server asked at once: starting one in a slot ends what the slot held;
// each end is reported with SyncRound::OnQueryEnded, its answer with it. The round's own wait
// reports with SyncRound::OnRoundWaitOver.
class RoundQueries {
public:
    virtual QueryStatus StartQuery(int slot, const std::string& address) = 0;  // Waiting, or why not
    virtual void EndQuery(int slot) = 0;
    // Ends it now, its time up: Answered with the best of the samples in, NoAnswer without any.
    virtual QueryResult CutQuery(int slot) = 0;
    virtual void StartRoundWait(unsigned milliseconds) = 0;
    virtual void StopRoundWait() = 0;

protected:
    ~RoundQueries() = default;
};

class RoundClock {
public:
    // Sets the clock from the answer (the offset added); or only reads what it would set, and the
    // clock, for a row that sets nothing.
    virtual AppliedTime SetClockFrom(const ServerAnswer& answer, int32_t offsetSeconds) = 0;
    virtual AppliedTime ReadClockFor(const ServerAnswer& answer, int32_t offsetSeconds) = 0;
    // Asks the user whether a correction this large may be set (a round the user started only).
    virtual bool ConfirmStep(const LargeStep& step) = 0;

protected:
    ~RoundClock() = default;
};

// Where a round's course goes: the server being asked, each row as it comes, and the end.
class RoundLog {
public:
    virtual void OnAsking(const RoundServer& server) = 0;
    virtual void AddRow(const LogRow& row) = 0;
    virtual void OnRoundEnded(const RoundResult& result) = 0;

protected:
    ~RoundLog() = default;
};

class SyncRound {
public:
    // The kisses are the queries' own (they keep each address away as it asked); the round only
    // tells them how long a RATE kiss holds: its interval, when that is longer than 15 minutes.
    SyncRound(RoundQueries& queries, RoundClock& clock, RoundLog& log, KissMemory& kisses = ProcessKissMemory())
        : m_queries(queries), m_clock(clock), m_log(log), m_kisses(kisses)
    {
    }

    // Ends a round under way without a word, then asks the servers in their order. A list of one is
    // the 同期 button's round: a failure asks no other. An empty list ends at once, unanswered.
    // Together, up to eight are asked at once, and the next eight while no two sources agree.
    void Start(std::vector<RoundServer> servers, const RoundRules& rules);

    // How a slot's query ended, with the server's time when it was answered; Waiting changes
    // nothing, and so does a report after the end.
    void OnQueryEnded(int slot, const QueryResult& result);
    void OnRoundWaitOver();

    // Ends the round under way without a result (the program is ending, or a new round replaces it).
    void Stop();

    bool Running() const { return m_running; }

private:
    // A server asked in this round, and what became of it.
    struct Asked {
        size_t server;
        int slot = 0;  // the query slot it was asked in (together: its place in its eight)
        bool done = false;
        bool answered = false;
        ServerAnswer answer{};
        int64_t offset = 0;  // server time minus local clock, the user's offset included
    };

    // The answers of the round so far, with their offsets and sources, in the order asked.
    struct Answers {
        std::vector<const Asked*> asked;
        std::vector<int64_t> offsets;
        std::vector<AnswerSource> sources;
    };

    // The asked server's end: its answer and offset, or its failure's row.
    void Record(Asked& asked, const QueryResult& result);
    void Failed(size_t server, QueryStatus status);
    // Asks the server in the slot: false when its query failed at once, its row written.
    bool Ask(size_t server, int slot);
    // One by one: the next server, and whether an answer may be set alone.
    void AskNext();
    void Consider(Asked& asked);
    // Together: the next eight, and what their answers agree on.
    void AskTogether();
    void Decide();
    Answers AnswersSoFar() const;
    void EndWithoutAgreement(const Answers& answers);
    void SetAgreed(const Consensus& consensus, const Answers& answers);
    void Apply(size_t server, const ServerAnswer& answer);
    // The user's yes to a large step, asked with the server's name and both times.
    bool Confirmed(size_t server, const ServerAnswer& answer, int64_t stepTicks);
    void AddTimeRow(size_t server, const ServerAnswer& answer, const char* status);
    void AddRow(const LogRow& row);
    void End(RoundOutcome outcome);
    // The asked server whose query runs in the slot now, or null.
    Asked* InSlot(int slot);

    RoundQueries& m_queries;
    RoundClock& m_clock;
    RoundLog& m_log;
    KissMemory& m_kisses;
    bool m_running = false;
    std::vector<RoundServer> m_servers;
    RoundRules m_rules;
    size_t m_next = 0;           // the next server to ask
    std::vector<Asked> m_asked;  // every server asked in the round, in order
    size_t m_batch = 0;          // together: where the eight asked last begin in m_asked
    HeldAnswers m_held;  // one by one: answers too large to set alone
    bool m_graceStarted = false;
    RoundResult m_result;
};
