// One query to one server over Winsock 1.1: address, socket, lookup, request, reply (Win32).
#include <windows.h>
#include <winsock.h>

#include <cstring>

#include "shell/trace.h"
#include "sync/host_local_time.h"
#include "sync/server_address.h"
#include "sync/server_time.h"
#include "sync/sntp_message.h"
#include "ui/main_dialog.h"

namespace {

const char kUnknownServer[] = "接続先不明";
const char kSocketError[] = "TCP/IPエラー";
const char kNotifyError[] = "初期化エラー";
const char kError[] = "エラー";

}  // namespace

void MainDialog::StartQuery()
{
    // One query at a time: whatever the last one left open is closed, so no stale lookup or socket
    // can end this query or write a row in its name.
    EndQuery();

    WSADATA winsock;
    WSAStartup(MAKEWORD(1, 1), &winsock);

    const ServerAddress address = ParseServerAddress(m_szServerAddr);
    m_nPort = address.port;
    // No address, a host or port that does not fit, or no host before the colon: nobody to ask.
    if (address.status != ServerAddress::Status::Ok || address.host.empty()) {
        AddLogRow(m_szServerName, kUnknownServer, "", kError);
        return;
    }

    m_socket = socket(AF_INET, SOCK_DGRAM, 0);
    if (m_socket == INVALID_SOCKET) {
        AddLogRow(m_szServerName, kSocketError, "", kError);
        return;
    }
    if (WSAAsyncSelect(m_socket, m_hWnd, WM_SOCKETEVENT, FD_READ) == SOCKET_ERROR) {
        AddLogRow(m_szServerName, kNotifyError, "", kError);
        EndQuery();
        return;
    }

    m_ipAddr = inet_addr(address.host.c_str());
    if (m_ipAddr != INADDR_NONE) {
        SendRequest();
        return;
    }
    m_hLookup = WSAAsyncGetHostByName(m_hWnd, WM_LOOKUPDONE, address.host.c_str(), m_hostEnt, sizeof m_hostEnt);
    if (m_hLookup == nullptr) {
        AddLogRow(m_szServerName, kUnknownServer, "", kError);
        EndQuery();
    }
}

void MainDialog::OnLookupDone(HANDLE lookup, int error)
{
    // The completion of a lookup this query no longer waits for: no row, nothing ended.
    if (m_hLookup == nullptr || lookup != m_hLookup) {
        return;
    }
    m_hLookup = nullptr;
    const auto* host = reinterpret_cast<const hostent*>(m_hostEnt);
    if (error != 0 || host->h_addrtype != AF_INET || host->h_addr_list[0] == nullptr) {
        AddLogRow(m_szServerName, kUnknownServer, "", kError);
        EndQuery();
        return;
    }
    std::memcpy(&m_ipAddr, host->h_addr_list[0], sizeof m_ipAddr);
    SendRequest();
}

void MainDialog::SendRequest()
{
    std::memset(&m_sockAddr, 0, sizeof m_sockAddr);
    m_sockAddr.sin_family = AF_INET;
    m_sockAddr.sin_port = htons(static_cast<u_short>(m_nPort));  // the low 16 bits
    m_sockAddr.sin_addr.s_addr = m_ipAddr;
    const SntpMessage request = BuildRequest();
    // A failed send ends nothing: the query waits, like one whose server does not answer.
    sendto(m_socket, reinterpret_cast<const char*>(request.data()), static_cast<int>(request.size()), 0,
           reinterpret_cast<const sockaddr*>(&m_sockAddr), sizeof m_sockAddr);
}

void MainDialog::OnSocketEvent(SOCKET socket, int event, int error)
{
    if (error != 0) {
        Trace("Socketイベントの通知エラー\n");
        return;
    }
    if (socket != m_socket || event != FD_READ) {
        return;
    }
    ReceiveReply();
}

void MainDialog::ReceiveReply()
{
    uint8_t reply[kSntpMessageSize];
    sockaddr_in sender{};
    int senderLength = sizeof sender;
    const int received = recvfrom(m_socket, reinterpret_cast<char*>(reply), sizeof reply, 0,
                                  reinterpret_cast<sockaddr*>(&sender), &senderLength);
    if (received == SOCKET_ERROR) {
        return;  // for example a datagram longer than 48 bytes: the query goes on waiting
    }
    // Only the server asked may set the clock; anything else is read, dropped, and waited past.
    if (sender.sin_addr.s_addr != m_sockAddr.sin_addr.s_addr || sender.sin_port != m_sockAddr.sin_port) {
        return;
    }
    CalendarTime corrected{};
    if (CheckReply(reply, static_cast<size_t>(received)) != ReplyVerdict::Usable ||
        !CorrectedServerTime(reply, m_nOffset, HostLocalTime, &corrected)) {
        return;
    }
    EndQuery();
    ApplyServerTime(corrected);
}

void MainDialog::EndQuery()
{
    if (m_hLookup != nullptr) {
        WSACancelAsyncRequest(m_hLookup);
        m_hLookup = nullptr;
    }
    if (m_socket != INVALID_SOCKET) {
        WSAAsyncSelect(m_socket, m_hWnd, 0, 0);
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
}
