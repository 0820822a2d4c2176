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
#include "round_server.h"
#include "sntp/server_samples.h"
#include "sntp/server_time.h"
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

enum class RoundOutcome {
    Set,          // the clock was set
    Refused,      // the clock refused the time
    NoAnswer,     // no server gave a usable time
    NoServers,    // there was none to ask
    Held,         // the correction was too large and nobody confirmed it
    NoAgreement,  // answers came, but no two agreed
    TooFew,       // together: one source answered where two must agree, and nobody disagreed
};

struct RoundResult {
    RoundOutcome outcome = RoundOutcome::NoAnswer;
    bool lacksRight = false;   // refused because the process may not set the clock
    bool keyExchangeFailed = false;  // an NTS server's key exchange failed on the way
    std::vector<LogRow> rows;  // one for every server asked, and the clock's row

    // How automatic mode ends after this round, and its exit code for the Task Scheduler.
    AutomaticEnd EndOfAutomaticMode() const;
    int ExitCode() const { return AutomaticEndExitCode(EndOfAutomaticMode()); }
};

// Queries in slots, one per server asked at once: starting one in a slot ends what the slot held;
// each end is reported with SyncRound::OnQueryEnded. The round's own wait reports with
// SyncRound::OnRoundWaitOver.
class RoundQueries {
public:
    virtual QueryStatus StartQuery(int slot, const std::string& address) = 0;  // Waiting, or why not
    virtual ServerAnswer QueryAnswer(int slot) const = 0;                     // once it was answered
    virtual void EndQuery(int slot) = 0;
    // Ends it now, its time up: Answered when samples were in (the best is then its answer),
    // NoAnswer otherwise.
    virtual QueryStatus CutQuery(int slot) = 0;
    virtual void StartRoundWait(unsigned milliseconds) = 0;
    virtual void StopRoundWait() = 0;
    virtual uint64_t NowMs() = 0;  // a clock that only runs forward, for the kisses' holds

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

    // How a slot's query ended; Waiting changes nothing, and so does a report after the end.
    void OnQueryEnded(int slot, QueryStatus status);
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

    // The asked server's end: its answer and offset, or its failure's row.
    void Record(Asked& asked, int slot, QueryStatus status);
    void AskNext();
    void AskTogether();
    void Failed(size_t server, QueryStatus status);
    void Consider(Asked& asked);
    void Decide();
    void Apply(size_t server, const ServerAnswer& answer);
    // The user's yes to a large step, asked with the server's name and both times.
    bool Confirmed(size_t server, const ServerAnswer& answer, int64_t stepTicks);
    void AddTimeRow(size_t server, const ServerAnswer& answer, const char* status);
    void AddRow(const LogRow& row);
    void End(RoundOutcome outcome);
    // The asked server whose query runs in the slot now, or null.
    Asked* InSlot(int slot);

    // An answer too large to set alone, waiting for a second source to say the same (one by one).
    struct Held {
        int64_t offset;
        AnswerSource source;
    };

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
    std::vector<Held> m_held;
    bool m_graceStarted = false;
    RoundResult m_result;
};
