// The steps of a query in the order RFC 4330's client takes them, with this program's failure rows;
// for an NTS server (RFC 8915) the key exchange first, and sealed requests and verified replies.
#include "query_course.h"

#include <algorithm>

#include "server_address.h"

QueryStatus QueryCourse::Start(const char* address, int samples)
{
    // One query at a time: whatever the last one left open is closed, so no stale lookup or socket
    // can end this query.
    End();
    m_addresses.clear();
    m_samplesWanted = samples < 1 ? 1 : samples > kMaxSamples ? kMaxSamples : samples;
    m_samples.Clear();
    m_spacing = false;
    if (&m_requests == &m_ownRequests) {
        m_ownRequests.Clear();
    }

    const ServerAddress parsed = ParseServerAddress(address);
    m_port = parsed.port;
    m_nts = parsed.nts;
    m_keyExchangedAgain = false;
    // No address, a host or port that does not fit, or no host before the colon: nobody to ask.
    if (parsed.status != ServerAddress::Status::Ok || parsed.host.empty()) {
        return QueryStatus::UnknownServer;
    }
    if (!m_nts) {
        return Resolve(parsed.host);
    }
    m_keHost = parsed.host;
    m_kePort = parsed.port;
    // Cookies left from an earlier round spare the key exchange.
    const NtsSession* session = m_sessions.Find(m_keHost, m_kePort);
    return session != nullptr && !session->cookies.empty() ? AskNtpServer() : StartKeyExchange();
}

QueryStatus QueryCourse::Resolve(const std::string& host)
{
    m_keyExchange = false;
    NetAddress numeric;
    if (m_network.NumericAddress(host, &numeric)) {
        return OnLookupDone(0, 0, {numeric});
    }
    if (!m_network.StartLookup(host, &m_lookup)) {
        m_lookup = 0;
        return Fail(QueryStatus::UnknownServer);
    }
    m_lookupDeadline = CounterIn(kLookupLimitMs);
    m_network.StartWait(kLookupLimitMs);
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::StartKeyExchange()
{
    // A socket of the cookies that failed must not deliver a late reply to the next request.
    End();
    m_keyExchange = false;
    // The key exchange server's addresses first, looked up like any server's, with the lookup's own
    // time and outside the exchanges' one-at-a-time turn: a slow name server holds up no other.
    NetAddress numeric;
    if (m_network.NumericAddress(m_keHost, &numeric)) {
        return KeyExchangeAt({numeric});
    }
    if (!m_network.StartLookup(m_keHost, &m_lookup)) {
        m_lookup = 0;
        return Fail(QueryStatus::UnknownServer);
    }
    m_keyServerLookup = true;
    m_lookupDeadline = CounterIn(kLookupLimitMs);
    m_network.StartWait(kLookupLimitMs);
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::KeyExchangeAt(std::vector<NetAddress> addresses)
{
    m_keyServerLookup = false;
    for (NetAddress& each : addresses) {
        each.port = static_cast<uint16_t>(m_kePort);
    }
    m_keyExchange = true;
    if (!m_network.StartKeyExchange(addresses, m_keHost, &m_lookup)) {
        m_lookup = 0;
        return Fail(QueryStatus::NtsKeyExchangeFailed);
    }
    m_lookupDeadline = CounterIn(kKeyExchangeLimitMs);
    m_network.StartWait(kKeyExchangeLimitMs);
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::OnKeyExchangeDone(uintptr_t exchange, const NtsKeyExchangeResult& result)
{
    if (exchange != m_lookup || !m_keyExchange || exchange == 0) {
        return QueryStatus::Waiting;
    }
    m_lookup = 0;
    m_network.StopWait();
    // Fail closed: without keys and cookies from a verified server nothing is asked at all.
    if (!result.ok || result.response.cookies.empty()) {
        return Fail(result.ok ? QueryStatus::NtsKeyExchangeFailed : StatusOfFailedKeyExchange(result.failure));
    }
    m_sessions.Keep(m_keHost, m_kePort, result);
    return AskNtpServer();
}

QueryStatus QueryCourse::AskNtpServer()
{
    const NtsSession* session = m_sessions.Find(m_keHost, m_kePort);
    m_port = session->ntpPort;
    return Resolve(session->ntpHost);
}

QueryStatus QueryCourse::OnLookupDone(uintptr_t lookup, int error, const std::vector<NetAddress>& addresses)
{
    // The completion of a lookup this query no longer waits for: nothing ends. A numeric address
    // comes as the end of no lookup at all; a key exchange's end is no lookup's.
    if (lookup != m_lookup || (lookup != 0 && m_keyExchange)) {
        return QueryStatus::Waiting;
    }
    m_lookup = 0;
    if (error != 0 || addresses.empty()) {
        return Fail(QueryStatus::UnknownServer);
    }
    if (m_keyServerLookup) {
        return KeyExchangeAt(addresses);
    }
    m_addresses = addresses;
    for (NetAddress& each : m_addresses) {
        each.port = static_cast<uint16_t>(m_port);  // the low 16 bits of the port
    }
    m_nameDeadline = CounterIn(kNameLimitMs);
    return AskFrom(0, QueryStatus::KissedAway);
}

QueryStatus QueryCourse::AskFrom(size_t address, QueryStatus ifNoneLeft)
{
    // An address that had its share of the round's requests (under another name) is passed too.
    for (size_t next = address; next < m_addresses.size(); ++next) {
        if (!m_kisses.Skips(m_addresses[next], NowMs()) && m_requests.Left(m_addresses[next]) > 0) {
            return Ask(next);
        }
    }
    return Fail(ifNoneLeft);
}

QueryStatus QueryCourse::OnKiss(QueryStatus kiss)
{
    // The address that said so is kept away; the name's other addresses are other servers.
    const NetAddress& kissing = m_addresses[m_asking];
    if (kiss == QueryStatus::Denied) {
        m_kisses.Deny(kissing);
    } else {
        m_kisses.Hold(kissing, NowMs() + m_kisses.RateHoldMs());
    }
    // A kiss ends the sampling; the replies before it passed every check and still count.
    if (Sampled()) {
        return Finish();
    }
    return AskFrom(m_asking + 1, kiss);
}

QueryStatus QueryCourse::OnSample(const uint8_t* reply, NetAddress from, int64_t receivedAt, int64_t clockAt)
{
    ServerAnswer answer;
    answer.unixTicksAtReceipt = m_exchange.ServerTimeAtReceipt(reply, receivedAt, m_network.CounterFrequency());
    answer.receivedAtCounter = receivedAt;
    answer.clockAtReceipt = clockAt;
    answer.authenticated = m_nts;
    answer.from = from;
    answer.stratum = reply[1];
    answer.referenceId = uint32_t{reply[12]} << 24 | uint32_t{reply[13]} << 16 | uint32_t{reply[14]} << 8 | reply[15];
    m_samples.Add(answer, m_exchange.PathDelayTicks(reply, receivedAt, m_network.CounterFrequency()));
    if (m_samples.Count() >= m_samplesWanted || m_requests.Left(m_addresses[m_asking]) == 0 ||
        Passed(m_nameDeadline)) {
        return Finish();
    }
    // A short pause, so that one burst of queueing on the path does not spoil every sample.
    m_spacing = true;
    m_waitDeadline = std::min(CounterIn(kSampleSpacingMs), m_nameDeadline);
    m_network.StartWait(MillisecondsTo(m_waitDeadline));
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::NextSample()
{
    m_spacing = false;
    if (Passed(m_nameDeadline)) {
        return Finish();
    }
    m_exchange = SntpExchange();
    return SendRequest();
}

QueryStatus QueryCourse::Finish()
{
    m_answer = m_samples.Best();
    End();
    return QueryStatus::Answered;
}

uint64_t QueryCourse::NowMs()
{
    return static_cast<uint64_t>(m_network.CounterNow() / (m_network.CounterFrequency() / 1000));
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
    return SendRequest();
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
        uint8_t* const datagram = m_datagram.data();
        NetAddress from;
        const int length = m_network.Receive(datagram, m_datagram.size(), &from);
        if (length < 0) {
            break;
        }
        if (m_spacing) {
            continue;  // the answered request's reply again, or anyone's: read and dropped
        }
        // The round trip ends here, before anything else is done with the datagram.
        const int64_t receivedAt = m_network.CounterNow();
        const int64_t clockAt = m_network.ClockNow();
        const bool fromServerAsked = from == m_addresses[m_asking];
        DatagramVerdict verdict = DatagramVerdict::FromElsewhere;
        if (m_nts) {
            // Nothing of an NTS server counts before its authenticator verifies, kisses included.
            if (fromServerAsked) {
                const QueryStatus status = OnNtsDatagram(datagram, static_cast<size_t>(length), &verdict);
                if (status != QueryStatus::Waiting) {
                    return status;
                }
            }
        } else {
            verdict = m_exchange.Judge(fromServerAsked, datagram, static_cast<size_t>(length), m_toLocal);
        }
        switch (verdict) {
        case DatagramVerdict::Answer:
            return OnSample(datagram, from, receivedAt, clockAt);
        case DatagramVerdict::KissDeny:
            return OnKiss(QueryStatus::Denied);
        case DatagramVerdict::KissRate:
            return OnKiss(QueryStatus::RateLimited);
        default:
            break;  // read, dropped, and waited past
        }
    }
    // Unless the wait is over while they kept coming.
    if (Listening() && Passed(m_waitDeadline)) {
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
        return Fail(m_keyExchange ? QueryStatus::NtsKeyExchangeFailed : QueryStatus::UnknownServer);
    }
    // Only a request waits; a late report after the end changes nothing.
    if (!Listening()) {
        return QueryStatus::Waiting;
    }
    if (!Passed(m_waitDeadline)) {
        m_network.StartWait(MillisecondsTo(m_waitDeadline));
        return QueryStatus::Waiting;
    }
    if (m_spacing) {
        return NextSample();
    }
    // Silent after answering before: what it said counts, and it is not waited for again.
    if (Sampled()) {
        return Finish();
    }
    if (Passed(m_nameDeadline)) {
        return Fail(QueryStatus::NoAnswer);
    }
    if (m_exchange.MaySendAgain()) {
        return SendRequest();
    }
    return AskFrom(m_asking + 1, QueryStatus::NoAnswer);
}

QueryStatus StatusOfFailedKeyExchange(NtsKeFailure failure)
{
    switch (failure) {
    case NtsKeFailure::NoAddress:
        return QueryStatus::UnknownServer;
    case NtsKeFailure::NoConnection:
        return QueryStatus::NtsNoConnection;
    case NtsKeFailure::Certificate:
        return QueryStatus::NtsCertificateRefused;
    case NtsKeFailure::None:
    case NtsKeFailure::TlsSetup:
    case NtsKeFailure::Handshake:
    case NtsKeFailure::Alpn:
    case NtsKeFailure::TimedOut:
    case NtsKeFailure::Closed:
    case NtsKeFailure::Response:
    case NtsKeFailure::KeyExport:
        break;
    }
    return QueryStatus::NtsKeyExchangeFailed;
}

void QueryCourse::End()
{
    m_network.StopWait();
    if (m_lookup != 0) {
        m_network.CancelLookup(m_lookup);
        m_lookup = 0;
    }
    m_keyServerLookup = false;
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

QueryStatus QueryCourse::SendRequest()
{
    const NetAddress& to = m_addresses[m_asking];
    if (m_requests.Left(to) == 0) {
        // Its share of the round is spent: a server is never asked more often than that.
        return Sampled() ? Finish() : AskFrom(m_asking + 1, QueryStatus::NoAnswer);
    }
    const SntpMessage request = m_exchange.NextRequest(m_network.RandomOrigin(), m_network.CounterNow());
    if (m_nts) {
        const std::vector<uint8_t> sealed = m_ntsExchange.Seal(m_sessions.Find(m_keHost, m_kePort), request,
                                                               [this] { return m_network.RandomOrigin(); });
        if (sealed.empty()) {
            // Out of cookies: the samples in count; without any, back to the key exchange once,
            // then this server has failed.
            if (Sampled()) {
                return Finish();
            }
            return m_keyExchangedAgain ? Fail(QueryStatus::NtsKeyExchangeFailed) : GoBackToKeyExchange();
        }
        m_requests.Take(to);
        m_network.Send(sealed.data(), sealed.size(), to);
    } else {
        // A failed send ends nothing: the query waits, like one whose server does not answer.
        m_requests.Take(to);
        m_network.Send(request.data(), request.size(), to);
    }
    // The wait never runs past the name's time.
    m_waitDeadline = std::min(CounterIn(kReplyWaitMs), m_nameDeadline);
    m_network.StartWait(MillisecondsTo(m_waitDeadline));
    return QueryStatus::Waiting;
}

QueryStatus QueryCourse::GoBackToKeyExchange()
{
    m_keyExchangedAgain = true;
    return StartKeyExchange();
}

QueryStatus QueryCourse::OnNtsDatagram(const uint8_t* datagram, size_t length, DatagramVerdict* verdict)
{
    switch (m_ntsExchange.Open(m_sessions.Find(m_keHost, m_kePort), datagram, length)) {
    case NtsOpened::Nak:
        // The server no longer takes the cookies: new ones once, then this server has failed. The
        // samples before it count, and the next query begins with the key exchange.
        if (Sampled()) {
            return Finish();
        }
        if (m_keyExchangedAgain) {
            return Fail(QueryStatus::NtsKeyExchangeFailed);
        }
        return GoBackToKeyExchange();
    case NtsOpened::Unusable:
        *verdict = DatagramVerdict::Unusable;  // dropped like a forged reply: the wait goes on
        return QueryStatus::Waiting;
    case NtsOpened::Authentic:
        break;
    }
    *verdict = m_exchange.Judge(true, datagram, length, m_toLocal);
    return QueryStatus::Waiting;
}
