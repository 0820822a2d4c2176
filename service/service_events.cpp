// The service's events for a round's end.
#include "service_events.h"

std::string RowsText(const std::vector<LogRow>& rows)
{
    std::string text;
    for (const LogRow& row : rows) {
        if (!text.empty()) {
            text += "\r\n";
        }
        text += row.server;
        for (const std::string* field : {&row.serverTime, &row.localTime, &row.status, &row.correction}) {
            if (!field->empty()) {
                text += "  " + *field;
            }
        }
    }
    return text;
}

void ServiceEvents::OnRoundEnded(const RoundResult& result, uint64_t nowMs)
{
    ServiceEventId id = ServiceEventId::NoAnswer;
    ServiceEventLevel level = ServiceEventLevel::Error;
    switch (result.outcome) {
    case RoundOutcome::Set:
        if (m_successReported && nowMs - m_lastSuccessMs < kSuccessReportGapMs) {
            return;
        }
        m_successReported = true;
        m_lastSuccessMs = nowMs;
        id = ServiceEventId::Synchronised;
        level = ServiceEventLevel::Information;
        break;
    case RoundOutcome::Refused:
        id = ServiceEventId::Refused;
        break;
    case RoundOutcome::NoServers:
    case RoundOutcome::NoAnswer:
        // A failed key exchange is the likelier cause to look into when nothing answered.
        id = result.keyExchangeFailed ? ServiceEventId::KeyExchangeFailed : ServiceEventId::NoAnswer;
        break;
    case RoundOutcome::Held:
        id = ServiceEventId::Held;
        level = ServiceEventLevel::Warning;
        break;
    case RoundOutcome::NoAgreement:
        id = ServiceEventId::NoAgreement;
        level = ServiceEventLevel::Warning;
        break;
    case RoundOutcome::TooFew:
        id = ServiceEventId::TooFew;
        level = ServiceEventLevel::Warning;
        break;
    }
    m_sink.Report({id, level, {RowsText(result.rows)}});
}
