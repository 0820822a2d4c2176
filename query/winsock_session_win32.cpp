// WSAStartup at the first need, WSACleanup once at the end (Win32).
#include "winsock_session.h"

#include <windows.h>
#include <winsock2.h>

namespace {

enum class WinsockState { NotStarted, Started, Failed };
WinsockState g_state = WinsockState::NotStarted;

}  // namespace

bool StartWinsockOnce()
{
    if (g_state == WinsockState::NotStarted) {
        WSADATA data;
        g_state = WSAStartup(MAKEWORD(2, 2), &data) == 0 ? WinsockState::Started : WinsockState::Failed;
    }
    return g_state == WinsockState::Started;
}

void StopWinsock()
{
    if (g_state == WinsockState::Started) {
        WSACleanup();
    }
    g_state = WinsockState::NotStarted;
}
