// The steps of a query in the order RFC 4330's client takes them, with this program's failure rows:
// every address of the server in turn within the name's time, what a kiss keeps away, the requests
// (sealed for an NTS server, RFC 8915), the datagrams that come and the samples they give.
#include "query_course.h"

#include <algorithm>

#include "server_address.h"

QueryStatus QueryCourse::Start(const char* address, int samples)
{
    // One query at a time: whatever the last one left open is closed, so no stale lookup or socket
    // can end this query.
    End();
    m_samplesWanted = samples < 1 ? 1 : samples > kMaxSamples ? kMaxSamples : samples;
    m_samples.Clear();
    m_spacing = false;
    if (&m_requests == &m_ownRequests) {
        m_ownRequests.Clear();
    }
    return Resolved(m_resolution.Start(ParseServerAddress(address)));
}

QueryStatus QueryCourse::OnLookupDone(uintptr_t lookup, int error, const std::vector<NetAddress>& addresses)
{
    return Resolved(m_resolution.OnLookupDone(lookup, error, addresses));
}

QueryStatus QueryCourse::OnKeyExchangeDone(uintptr_t exchange, const NtsKeyExchangeResult& result)
{
    return Resolved(m_resolution.OnKeyExchangeDone(exchange, result));
}

QueryStatus QueryCourse::Resolved(ResolutionStep step)
{
    if (!step.found) {
        return step.status == QueryStatus::Waiting ? QueryStatus::Waiting : Fail(step.status);
    }
    m_nameDeadline = m_network.CounterIn(kNameLimitMs);
    return AskFrom(0, QueryStatus::KissedAway);
}

QueryStatus QueryCourse::AskFrom(size_t address, QueryStatus ifNoneLeft)
{
    // An address that had its share of the round's requests (under another name) is passed too.
    const std::vector<NetAddress>& addresses = m_resolution.Addresses();
    for (size_t next = address; next < addresses.size(); ++next) {
        if (!m_kisses.Skips(addresses[next], m_network.CounterMs()) && m_requests.Left(addresses[next]) > 0) {
            return Ask(next);
        }
    }
    return Fail(ifNoneLeft);
}

QueryStatus QueryCourse::Ask(size_t address)
{
    m_asking = address;
    m_exchange = SntpExchange();
    const NetAddress::Family family = AddressAsked().family;
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
    return SendRequest();
}

QueryStatus QueryCourse::OnKiss(QueryStatus kiss)
{
    // The address that said so is kept away; the name's other addresses are other servers.
    if (kiss == QueryStatus::Denied) {
        m_kisses.Deny(AddressAsked());
    } else {
        m_kisses.Hold(AddressAsked(), m_network.CounterMs() + m_kisses.RateHoldMs());
    }
    // A kiss ends the sampling; the replies before it passed every check and still count.
    if (Sampled()) {
        return Finish();
    }
    return AskFrom(m_asking + 1, kiss);
}

QueryStatus QueryCourse::SendRequest()
{
    const NetAddress& to = AddressAsked();
    if (m_requests.Left(to) == 0) {
        // Its share of the round is spent: a server is never asked more often than that.
        return Sampled() ? Finish() : AskFrom(m_asking + 1, QueryStatus::NoAnswer);
    }
    const SntpMessage request = m_exchange.NextRequest(m_network.Random64(), m_network.CounterNow());
    if (m_resolution.Nts()) {
        const std::vector<uint8_t> sealed =
            m_ntsExchange.Seal(m_resolution.Session(), request, [this] { return m_network.Random64(); });
        if (sealed.empty()) {
            return WithoutCookies();
        }
        m_requests.Take(to);
        m_network.Send(sealed.data(), sealed.size(), to);
    } else {
        // A failed send ends nothing: the query waits, like one whose server does not answer.
        m_requests.Take(to);
        m_network.Send(request.data(), request.size(), to);
    }
    // The wait never runs past the name's time.
    m_waitDeadline = std::min(m_network.CounterIn(kReplyWaitMs), m_nameDeadline);
    m_network.StartWait(m_network.MillisecondsTo(m_waitDeadline));
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::OnReadable()
{
    // Every datagram waiting is read at one notice, up to a bound that keeps the window answering:
    // junk from anywhere costs one read each, not one message each.
    for (int read = 0; Listening() && read < kDatagramsPerNotice; ++read) {
        // Extension fields and a key and digest may follow the 48 bytes of the reply: a datagram is
        // taken whole, and its first 48 bytes are what the checks read.
        // An NTS reply brings its cookies and may pass 1 KB; one byte more than the largest taken
        // shows a datagram that was cut.
        m_datagram.resize(kNtsMaxPacketSize + 1);
        NetAddress from;
        const int length = m_network.Receive(m_datagram.data(), m_datagram.size(), &from);
        if (length < 0) {
            break;
        }
        if (m_spacing) {
            continue;  // the answered request's reply again, or anyone's: read and dropped
        }
        // The round trip ends here, before anything else is done with the datagram.
        const Receipt receipt{m_network.CounterNow(), m_network.CounterFrequency(), m_network.ClockNow()};
        if (const std::optional<QueryStatus> status =
                OnDatagram(m_datagram.data(), static_cast<size_t>(length), from, receipt)) {
            return *status;
        }
    }
    // Unless the wait is over while they kept coming.
    if (Listening() && m_network.Passed(m_waitDeadline)) {
        return OnWaitOver();
    }
    return QueryStatus::Waiting;
}

std::optional<QueryStatus> QueryCourse::OnDatagram(const uint8_t* datagram, size_t length, const NetAddress& from,
                                                   const Receipt& receipt)
{
    const bool fromServerAsked = from == AddressAsked();
    // Nothing of an NTS server counts before its authenticator verifies, kisses included.
    if (m_resolution.Nts() && fromServerAsked) {
        switch (m_ntsExchange.Open(m_resolution.Session(), datagram, length)) {
        case NtsOpened::Nak:
            return WithoutCookies();
        case NtsOpened::Unusable:
            return std::nullopt;  // dropped like a forged reply: the wait goes on
        case NtsOpened::Authentic:
            break;
        }
    }
    SntpReading reading = m_exchange.Judge(fromServerAsked, datagram, length, receipt, m_toLocal);
    switch (reading.verdict) {
    case DatagramVerdict::Answer:
        reading.answer.from = from;
        reading.answer.authenticated = m_resolution.Nts();
        m_samples.Add(reading.answer, reading.pathDelayTicks);
        return AfterSample();
    case DatagramVerdict::KissDeny:
        return OnKiss(QueryStatus::Denied);
    case DatagramVerdict::KissRate:
        return OnKiss(QueryStatus::RateLimited);
    default:
        return std::nullopt;  // read, dropped, and waited past
    }
}

QueryStatus QueryCourse::AfterSample()
{
    if (m_samples.Count() >= m_samplesWanted || m_requests.Left(AddressAsked()) == 0 ||
        m_network.Passed(m_nameDeadline)) {
        return Finish();
    }
    // A short pause, so that one burst of queueing on the path does not spoil every sample.
    m_spacing = true;
    m_waitDeadline = std::min(m_network.CounterIn(kSampleSpacingMs), m_nameDeadline);
    m_network.StartWait(m_network.MillisecondsTo(m_waitDeadline));
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::OnWaitOver()
{
    if (m_resolution.Busy()) {
        return Resolved(m_resolution.OnWaitOver());
    }
    // Only a request waits; a late report after the end changes nothing.
    if (!Listening()) {
        return QueryStatus::Waiting;
    }
    if (!m_network.Passed(m_waitDeadline)) {
        m_network.StartWait(m_network.MillisecondsTo(m_waitDeadline));
        return QueryStatus::Waiting;
    }
    if (m_spacing) {
        return NextSample();
    }
    // Silent after answering before: what it said counts, and it is not waited for again.
    if (Sampled()) {
        return Finish();
    }
    if (m_network.Passed(m_nameDeadline)) {
        return Fail(QueryStatus::NoAnswer);
    }
    if (m_exchange.MaySendAgain()) {
        return SendRequest();
    }
    return AskFrom(m_asking + 1, QueryStatus::NoAnswer);
}

QueryStatus QueryCourse::NextSample()
{
    m_spacing = false;
    if (m_network.Passed(m_nameDeadline)) {
        return Finish();
    }
    m_exchange = SntpExchange();
    return SendRequest();
}

QueryStatus QueryCourse::WithoutCookies()
{
    // Every cookie spent, or thrown away at a NAK: the samples in count; without any, new cookies
    // once, then this server has failed. The next query begins with the key exchange.
    if (Sampled()) {
        return Finish();
    }
    // A socket of the cookies that failed must not deliver a late reply to the next request.
    End();
    return Resolved(m_resolution.KeyExchangeAgain());
}

QueryStatus QueryCourse::Finish()
{
    m_answer = m_samples.Best();
    End();
    return QueryStatus::Answered;
}

void QueryCourse::End()
{
    m_network.StopWait();
    m_resolution.End();
    if (m_socketOpen) {
        m_network.CloseSocket();
        m_socketOpen = false;
    }
}

QueryStatus QueryCourse::Cut()
{
    return m_socketOpen && Sampled() ? Finish() : Fail(QueryStatus::NoAnswer);
}

QueryStatus QueryCourse::Fail(QueryStatus why)
{
    End();
    return why;
}

bool QueryCourse::Listening() const
{
    return m_socketOpen && !m_resolution.Busy() && m_exchange.RequestsSent() > 0;
}
