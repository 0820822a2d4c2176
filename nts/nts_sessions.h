// What each NTS server's key exchange gave, kept in memory while the program runs: the two keys,
// the cookies (each sent once, at most eight kept) and where its NTP server is.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "nts_ke_session.h"

struct NtsSession {
    NtsKeys keys{};
    std::vector<std::vector<uint8_t>> cookies;
    std::string ntpHost;  // the key exchange's host unless its server named another
    uint16_t ntpPort = 123;

    // The cookie for the next request, taken out: a cookie sent once is never sent again, so that
    // two requests cannot be linked. Empty when none is left.
    std::vector<uint8_t> TakeCookie();
    // Fresh cookies from an authenticated reply, kept up to kNtsMaxCookies.
    void AddCookies(const std::vector<std::vector<uint8_t>>& fresh);
};

class NtsSessions {
public:
    // The session of the key exchange server at host and port; null when none is kept.
    NtsSession* Find(const std::string& keHost, int32_t kePort);
    // What a successful key exchange with that server gave, in place of what was kept.
    NtsSession& Keep(const std::string& keHost, int32_t kePort, const NtsKeyExchangeResult& exchange);
    size_t Count() const { return m_sessions.size(); }

private:
    std::map<std::pair<std::string, int32_t>, NtsSession> m_sessions;
};

// The program's one store: every query of the thread that runs rounds uses it, so the cookies of a
// server outlive the round and the query that fetched them.
NtsSessions& ProcessNtsSessions();
