// The steps of a query in the order RFC 4330's client takes them, with this program's failure rows.
#include "query_course.h"

#include "sync/server_address.h"

QueryStatus QueryCourse::Start(const char* address)
{
    // One query at a time: whatever the last one left open is closed, so no stale lookup or socket
    // can end this query.
    End();
    m_exchange = SntpExchange();

    const ServerAddress parsed = ParseServerAddress(address);
    m_port = parsed.port;
    // No address, a host or port that does not fit, or no host before the colon: nobody to ask.
    if (parsed.status != ServerAddress::Status::Ok || parsed.host.empty()) {
        return QueryStatus::UnknownServer;
    }
    if (!m_network.OpenSocket()) {
        return QueryStatus::SocketFailed;
    }
    m_socketOpen = true;
    if (!m_network.WatchSocket()) {
        return Fail(QueryStatus::NotifyFailed);
    }
    if (m_network.DottedAddress(parsed.host, &m_address)) {
        SendRequest();
        return QueryStatus::Waiting;
    }
    if (!m_network.StartLookup(parsed.host, &m_lookup)) {
        m_lookup = 0;
        return Fail(QueryStatus::UnknownServer);
    }
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::OnLookupDone(uintptr_t lookup, int error, const uint32_t* address)
{
    // The completion of a lookup this query no longer waits for: nothing ends.
    if (m_lookup == 0 || lookup != m_lookup) {
        return QueryStatus::Waiting;
    }
    m_lookup = 0;
    if (error != 0 || address == nullptr) {
        return Fail(QueryStatus::UnknownServer);
    }
    m_address = *address;
    SendRequest();
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::OnReadable()
{
    // Every datagram waiting is read at one notice, up to a bound that keeps the window answering:
    // junk from anywhere costs one read each, not one message each.
    for (int read = 0; m_socketOpen && read < kDatagramsPerNotice; ++read) {
        // Extension fields and a key and digest may follow the 48 bytes of the reply: a datagram is
        // taken whole, and its first 48 bytes are what the checks read.
        uint8_t datagram[1024];
        bool fromServer = false;
        const int length = m_network.Receive(datagram, sizeof datagram, m_address, static_cast<uint16_t>(m_port),
                                             &fromServer);
        if (length < 0) {
            break;
        }
        // The round trip ends here, before anything else is done with the datagram.
        const int64_t receivedAt = m_network.CounterNow();
        if (m_exchange.Judge(fromServer, datagram, static_cast<size_t>(length), m_toLocal) == DatagramVerdict::Answer) {
            m_answer = {m_exchange.ServerTimeAtReceipt(datagram, receivedAt, m_network.CounterFrequency()),
                        receivedAt};
            End();
            return QueryStatus::Answered;
        }
    }
    // Read, dropped, and waited past; unless the wait is over while they kept coming.
    if (WaitingForReply() && m_network.CounterNow() >= m_waitDeadline) {
        return OnWaitOver();
    }
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::OnWaitOver()
{
    // Only a request waits; a late report after the end, or during the lookup, changes nothing.
    if (!WaitingForReply()) {
        return QueryStatus::Waiting;
    }
    if (!m_exchange.MaySendAgain()) {
        return Fail(QueryStatus::NoAnswer);
    }
    SendRequest();
    return QueryStatus::Waiting;
}

void QueryCourse::End()
{
    m_network.StopWait();
    if (m_lookup != 0) {
        m_network.CancelLookup(m_lookup);
        m_lookup = 0;
    }
    if (m_socketOpen) {
        m_network.CloseSocket();
        m_socketOpen = false;
    }
}

bool QueryCourse::WaitingForReply() const
{
    return m_socketOpen && m_lookup == 0 && m_exchange.RequestsSent() > 0;
}

QueryStatus QueryCourse::Fail(QueryStatus why)
{
    End();
    return why;
}

void QueryCourse::SendRequest()
{
    const SntpMessage request = m_exchange.NextRequest(m_network.RandomOrigin(), m_network.CounterNow());
    // A failed send ends nothing: the query waits, like one whose server does not answer.
    m_network.Send(request, m_address, static_cast<uint16_t>(m_port));  // the low 16 bits of the port
    m_waitDeadline = m_network.CounterNow() + m_network.CounterFrequency() * kReplyWaitMs / 1000;
    m_network.StartWait(kReplyWaitMs);
}
