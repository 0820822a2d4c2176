// What the time service tells the Windows event log, free of it: its start and stop, every round
// that failed or was held (each kind with an event id of its own, the rows' texts as the event's
// insertion string), and a round that set the clock at most once a day, so that monitoring sees
// trouble at once and a healthy service without being flooded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "round/sync_round.h"

// The ids of the message table (res/events.mc): one per kind of moment.
enum class ServiceEventId : uint16_t {
    Started = 1,
    Stopped = 2,
    Synchronised = 100,
    NoAnswer = 200,
    Held = 201,
    KeyExchangeFailed = 202,
    NoAgreement = 203,
    TooFew = 204,
    Refused = 205,
};

enum class ServiceEventLevel { Information, Warning, Error };

struct ServiceEvent {
    ServiceEventId id;
    ServiceEventLevel level;
    std::vector<std::string> strings;  // %1, %2, ... of the message
};

// Where the events go: the Windows event log, or a test's record.
class ServiceEventSink {
public:
    virtual void Report(const ServiceEvent& event) = 0;

protected:
    ~ServiceEventSink() = default;
};

constexpr uint64_t kSuccessReportGapMs = 24ull * 60 * 60 * 1000;

class ServiceEvents {
public:
    explicit ServiceEvents(ServiceEventSink& sink) : m_sink(sink) {}

    void OnStarted() { m_sink.Report({ServiceEventId::Started, ServiceEventLevel::Information, {}}); }
    void OnStopped() { m_sink.Report({ServiceEventId::Stopped, ServiceEventLevel::Information, {}}); }
    // A round's end; its time on a counter that only runs forward.
    void OnRoundEnded(const RoundResult& result, uint64_t nowMs);

private:
    ServiceEventSink& m_sink;
    bool m_successReported = false;
    uint64_t m_lastSuccessMs = 0;
};

// The rows as one insertion string: a line each, its fields apart.
std::string RowsText(const std::vector<LogRow>& rows);
