// The in-memory NTS sessions: cookies spent and refilled, one session per key exchange server.
#include "nts_sessions.h"

std::vector<uint8_t> NtsSession::TakeCookie()
{
    if (cookies.empty()) {
        return {};
    }
    std::vector<uint8_t> cookie = std::move(cookies.back());
    cookies.pop_back();
    return cookie;
}

void NtsSession::AddCookies(const std::vector<std::vector<uint8_t>>& fresh)
{
    for (const std::vector<uint8_t>& cookie : fresh) {
        if (cookies.size() >= kNtsMaxCookies) {
            break;
        }
        if (!cookie.empty() && cookie.size() <= kNtsMaxCookieSize) {
            cookies.push_back(cookie);
        }
    }
}

NtsSession* NtsSessions::Find(const std::string& keHost, int32_t kePort)
{
    const auto found = m_sessions.find({keHost, kePort});
    return found != m_sessions.end() ? &found->second : nullptr;
}

NtsSession& NtsSessions::Keep(const std::string& keHost, int32_t kePort, const NtsKeyExchangeResult& exchange)
{
    NtsSession& session = m_sessions[{keHost, kePort}];
    session = NtsSession();
    session.keys = exchange.keys;
    session.AddCookies(exchange.response.cookies);
    // RFC 8915 section 4.1.7 and 4.1.8: without those records the NTP server is the key
    // exchange's own host, on port 123.
    session.ntpHost = exchange.response.ntpServer.empty() ? keHost : exchange.response.ntpServer;
    session.ntpPort = exchange.response.hasNtpPort ? exchange.response.ntpPort : 123;
    return session;
}

NtsSessions& ProcessNtsSessions()
{
    static NtsSessions sessions;
    return sessions;
}
