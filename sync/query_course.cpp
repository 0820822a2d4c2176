// The steps of a query in the order RFC 4330's client takes them, with this program's failure rows.
#include "query_course.h"

#include <algorithm>

#include "sync/server_address.h"

QueryStatus QueryCourse::Start(const char* address)
{
    // One query at a time: whatever the last one left open is closed, so no stale lookup or socket
    // can end this query.
    End();
    m_addresses.clear();

    const ServerAddress parsed = ParseServerAddress(address);
    m_port = parsed.port;
    // No address, a host or port that does not fit, or no host before the colon: nobody to ask.
    if (parsed.status != ServerAddress::Status::Ok || parsed.host.empty()) {
        return QueryStatus::UnknownServer;
    }
    NetAddress numeric;
    if (m_network.NumericAddress(parsed.host, &numeric)) {
        return OnLookupDone(0, 0, {numeric});
    }
    if (!m_network.StartLookup(parsed.host, &m_lookup)) {
        m_lookup = 0;
        return Fail(QueryStatus::UnknownServer);
    }
    m_lookupDeadline = CounterIn(kLookupLimitMs);
    m_network.StartWait(kLookupLimitMs);
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::OnLookupDone(uintptr_t lookup, int error, const std::vector<NetAddress>& addresses)
{
    // The completion of a lookup this query no longer waits for: nothing ends. A numeric address
    // comes as the end of no lookup at all.
    if (lookup != m_lookup) {
        return QueryStatus::Waiting;
    }
    m_lookup = 0;
    if (error != 0 || addresses.empty()) {
        return Fail(QueryStatus::UnknownServer);
    }
    m_addresses = addresses;
    for (NetAddress& each : m_addresses) {
        each.port = static_cast<uint16_t>(m_port);  // the low 16 bits of the port
    }
    m_nameDeadline = CounterIn(kNameLimitMs);
    return Ask(0);
}

QueryStatus QueryCourse::Ask(size_t address)
{
    m_asking = address;
    m_exchange = SntpExchange();
    const NetAddress::Family family = m_addresses[address].family;
    if (m_socketOpen && m_socketFamily != family) {
        m_network.CloseSocket();
        m_socketOpen = false;
    }
    if (!m_socketOpen) {
        if (!m_network.OpenSocket(family)) {
            return Fail(QueryStatus::SocketFailed);
        }
        m_socketOpen = true;
        m_socketFamily = family;
        if (!m_network.WatchSocket()) {
            return Fail(QueryStatus::NotifyFailed);
        }
    }
    SendRequest();
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::OnReadable()
{
    // Every datagram waiting is read at one notice, up to a bound that keeps the window answering:
    // junk from anywhere costs one read each, not one message each.
    for (int read = 0; WaitingForReply() && read < kDatagramsPerNotice; ++read) {
        // Extension fields and a key and digest may follow the 48 bytes of the reply: a datagram is
        // taken whole, and its first 48 bytes are what the checks read.
        uint8_t datagram[1024];
        NetAddress from;
        const int length = m_network.Receive(datagram, sizeof datagram, &from);
        if (length < 0) {
            break;
        }
        // The round trip ends here, before anything else is done with the datagram.
        const int64_t receivedAt = m_network.CounterNow();
        const int64_t clockAt = m_network.ClockNow();
        switch (m_exchange.Judge(from == m_addresses[m_asking], datagram, static_cast<size_t>(length), m_toLocal)) {
        case DatagramVerdict::Answer:
            m_answer = {m_exchange.ServerTimeAtReceipt(datagram, receivedAt, m_network.CounterFrequency()),
                        receivedAt, clockAt};
            End();
            return QueryStatus::Answered;
        case DatagramVerdict::KissDeny:
            return Fail(QueryStatus::Denied);  // the server said so: its other addresses are its too
        case DatagramVerdict::KissRate:
            return Fail(QueryStatus::RateLimited);
        default:
            break;  // read, dropped, and waited past
        }
    }
    // Unless the wait is over while they kept coming.
    if (WaitingForReply() && Passed(m_waitDeadline)) {
        return OnWaitOver();
    }
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::OnWaitOver()
{
    if (m_lookup != 0) {
        if (!Passed(m_lookupDeadline)) {
            m_network.StartWait(MillisecondsTo(m_lookupDeadline));
            return QueryStatus::Waiting;
        }
        return Fail(QueryStatus::UnknownServer);
    }
    // Only a request waits; a late report after the end changes nothing.
    if (!WaitingForReply()) {
        return QueryStatus::Waiting;
    }
    if (!Passed(m_waitDeadline)) {
        m_network.StartWait(MillisecondsTo(m_waitDeadline));
        return QueryStatus::Waiting;
    }
    if (Passed(m_nameDeadline)) {
        return Fail(QueryStatus::NoAnswer);
    }
    if (m_exchange.MaySendAgain()) {
        SendRequest();
        return QueryStatus::Waiting;
    }
    if (m_asking + 1 < m_addresses.size()) {
        return Ask(m_asking + 1);
    }
    return Fail(QueryStatus::NoAnswer);
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

QueryStatus QueryCourse::Fail(QueryStatus why)
{
    End();
    return why;
}

bool QueryCourse::WaitingForReply() const
{
    return m_socketOpen && m_lookup == 0 && m_exchange.RequestsSent() > 0;
}

bool QueryCourse::Passed(int64_t deadline)
{
    return m_network.CounterNow() >= deadline;
}

unsigned QueryCourse::MillisecondsTo(int64_t deadline)
{
    const int64_t left = deadline - m_network.CounterNow();
    return left <= 0 ? 0u : static_cast<unsigned>(left * 1000 / m_network.CounterFrequency()) + 1;
}

int64_t QueryCourse::CounterIn(unsigned milliseconds)
{
    return m_network.CounterNow() + m_network.CounterFrequency() * milliseconds / 1000;
}

void QueryCourse::SendRequest()
{
    const SntpMessage request = m_exchange.NextRequest(m_network.RandomOrigin(), m_network.CounterNow());
    // A failed send ends nothing: the query waits, like one whose server does not answer.
    m_network.Send(request.data(), request.size(), m_addresses[m_asking]);
    // The wait never runs past the name's time.
    m_waitDeadline = std::min(CounterIn(kReplyWaitMs), m_nameDeadline);
    m_network.StartWait(MillisecondsTo(m_waitDeadline));
}
