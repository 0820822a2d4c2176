// Windows Sockets, started once for the whole process and cleaned up when it ends (Win32).
#pragma once

class WinsockSession {
public:
    WinsockSession();   // asks for version 1.1
    ~WinsockSession();  // cleans up only what was started
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;

    // False when the socket layer could not start; every query then fails to make its socket and
    // says so in its row.
    bool Started() const { return m_started; }

private:
    bool m_started;
};
