// Finding a query's server: the lookups and the NTS key exchange, each a job with a handle and a
// time limit on the query's one wait.
#include "server_resolution.h"

ResolutionStep ServerResolution::Start(const ServerAddress& address)
{
    End();
    m_addresses.clear();
    m_port = address.port;
    m_nts = address.nts;
    m_keyExchangedAgain = false;
    // No address, a host or port that does not fit, or no host before the colon: nobody to ask.
    if (address.status != ServerAddress::Status::Ok || address.host.empty()) {
        return {QueryStatus::UnknownServer};
    }
    if (!m_nts) {
        return Resolve(address.host);
    }
    m_keHost = address.host;
    m_kePort = address.port;
    // Cookies left from an earlier round spare the key exchange.
    const NtsSession* session = Session();
    return session != nullptr && !session->cookies.empty() ? AskNtpServer() : StartKeyExchange();
}

ResolutionStep ServerResolution::Resolve(const std::string& host)
{
    m_keyExchange = false;
    NetAddress numeric;
    if (m_network.NumericAddress(host, &numeric)) {
        return OnLookupDone(0, 0, {numeric});
    }
    if (!m_network.StartLookup(host, &m_job)) {
        m_job = 0;
        return Fail(QueryStatus::UnknownServer);
    }
    return WaitUpTo(kLookupLimitMs);
}

ResolutionStep ServerResolution::OnLookupDone(uintptr_t lookup, int error, const std::vector<NetAddress>& addresses)
{
    // The completion of a lookup no longer waited for: nothing ends. A numeric address comes as the
    // end of no lookup at all; a key exchange's end is no lookup's.
    if (lookup != m_job || (lookup != 0 && m_keyExchange)) {
        return {};
    }
    m_job = 0;
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
    return {QueryStatus::Waiting, true};
}

ResolutionStep ServerResolution::StartKeyExchange()
{
    End();
    m_keyExchange = false;
    // The key exchange server's addresses first, looked up like any server's, with the lookup's own
    // time and outside the exchanges' one-at-a-time turn: a slow name server holds up no other.
    NetAddress numeric;
    if (m_network.NumericAddress(m_keHost, &numeric)) {
        return KeyExchangeAt({numeric});
    }
    if (!m_network.StartLookup(m_keHost, &m_job)) {
        m_job = 0;
        return Fail(QueryStatus::UnknownServer);
    }
    m_keyServerLookup = true;
    return WaitUpTo(kLookupLimitMs);
}

ResolutionStep ServerResolution::KeyExchangeAt(std::vector<NetAddress> addresses)
{
    m_keyServerLookup = false;
    for (NetAddress& each : addresses) {
        each.port = static_cast<uint16_t>(m_kePort);
    }
    m_keyExchange = true;
    if (!m_network.StartKeyExchange(addresses, m_keHost, &m_job)) {
        m_job = 0;
        return Fail(QueryStatus::NtsKeyExchangeFailed);
    }
    return WaitUpTo(kKeyExchangeLimitMs);
}

ResolutionStep ServerResolution::OnKeyExchangeDone(uintptr_t exchange, const NtsKeyExchangeResult& result)
{
    if (exchange != m_job || !m_keyExchange || exchange == 0) {
        return {};
    }
    m_job = 0;
    m_network.StopWait();
    if (!result.ok || result.response.cookies.empty()) {
        return Fail(result.ok ? QueryStatus::NtsKeyExchangeFailed : StatusOfFailedKeyExchange(result.failure));
    }
    m_sessions.Keep(m_keHost, m_kePort, result);
    return AskNtpServer();
}

ResolutionStep ServerResolution::AskNtpServer()
{
    const NtsSession* session = Session();
    m_port = session->ntpPort;
    return Resolve(session->ntpHost);
}

ResolutionStep ServerResolution::KeyExchangeAgain()
{
    if (m_keyExchangedAgain) {
        return Fail(QueryStatus::NtsKeyExchangeFailed);
    }
    m_keyExchangedAgain = true;
    return StartKeyExchange();
}

ResolutionStep ServerResolution::OnWaitOver()
{
    if (m_job == 0) {
        return {};
    }
    if (!m_network.Passed(m_deadline)) {
        m_network.StartWait(m_network.MillisecondsTo(m_deadline));
        return {};
    }
    return Fail(m_keyExchange ? QueryStatus::NtsKeyExchangeFailed : QueryStatus::UnknownServer);
}

void ServerResolution::End()
{
    if (m_job != 0) {
        m_network.CancelJob(m_job);
        m_job = 0;
    }
    m_keyServerLookup = false;
}

ResolutionStep ServerResolution::WaitUpTo(unsigned limitMs)
{
    m_deadline = m_network.CounterIn(limitMs);
    m_network.StartWait(limitMs);
    return {};
}

ResolutionStep ServerResolution::Fail(QueryStatus why)
{
    End();
    return {why};
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
