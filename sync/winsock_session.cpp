// WSAStartup and WSACleanup in pairs (Win32).
#include "winsock_session.h"

#include <windows.h>
#include <winsock.h>

WinsockSession::WinsockSession()
{
    WSADATA data;
    m_started = WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

WinsockSession::~WinsockSession()
{
    if (m_started) {
        WSACleanup();
    }
}
