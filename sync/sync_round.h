// A round of synchronisation, free of windows and sockets: the servers are asked one after another
// until one answers, each at most once; an answer sets the clock and ends the round, a refused clock
// ends it too (that is no server's fault), a failure asks the next. The window, automatic mode and
// the service all drive this one object; they reach it through the three small interfaces below.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sync/clock_outcome.h"
#include "sync/log_rows.h"
#include "sync/query_status.h"
#include "sync/server_time.h"

// A server of a round: its row in the list (for the rotation cursor), its name and its address.
struct RoundServer {
    int row;
    std::string name;
    std::string address;
};

enum class RoundOutcome {
    Set,       // a server answered and the clock was set
    Refused,   // a server answered and the clock refused the time
    NoAnswer,  // no server gave a usable time
    NoServers, // there was none to ask
};

struct RoundResult {
    RoundOutcome outcome = RoundOutcome::NoAnswer;
    std::vector<LogRow> rows;  // one per server asked that failed, and the clock's row

    // How automatic mode ends after this round, and its exit code for the Task Scheduler.
    AutomaticEnd EndOfAutomaticMode() const;
    int ExitCode() const { return AutomaticEndExitCode(EndOfAutomaticMode()); }
};

// One query at a time: starting one ends the one under way; its end is reported to the round with
// SyncRound::OnQueryEnded.
class RoundQuery {
public:
    virtual QueryStatus StartQuery(const std::string& address) = 0;  // Waiting, or why no request went out
    virtual ServerAnswer QueryAnswer() const = 0;                     // once the query was answered
    virtual void EndQuery() = 0;

protected:
    ~RoundQuery() = default;
};

class RoundClock {
public:
    virtual AppliedTime SetClockFrom(const ServerAnswer& answer, int32_t offsetSeconds) = 0;

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
    SyncRound(RoundQuery& query, RoundClock& clock, RoundLog& log) : m_query(query), m_clock(clock), m_log(log) {}

    // Ends a round under way without a word, then asks the servers in their order. A list of one is
    // the 同期 button's round: a failure asks no other. An empty list ends at once, unanswered.
    void Start(std::vector<RoundServer> servers, int32_t offsetSeconds);

    // How the query under way ended; Waiting changes nothing, and so does a report after the end.
    void OnQueryEnded(QueryStatus status);

    // Ends the round under way without a result (the program is ending, or a new round replaces it).
    void Stop();

    bool Running() const { return m_running; }

private:
    void AskNext();
    void ApplyAnswer();
    void AddRow(const LogRow& row);
    void End(RoundOutcome outcome);

    RoundQuery& m_query;
    RoundClock& m_clock;
    RoundLog& m_log;
    bool m_running = false;
    std::vector<RoundServer> m_servers;
    size_t m_next = 0;  // the next server to ask; the one asked is just before it
    int32_t m_offsetSeconds = 0;
    RoundResult m_result;
};
