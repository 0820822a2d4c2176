// NTS servers synchronised with against chronyd on loopback: horavo.exe as a process and its rows,
// and the query in this process, where its cookies and keys can be seen across queries.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../log_texts.h"
#include "../nts_peer.h"
#include "../program_run.h"
#include "nts/nts_sessions.h"
#include "query/server_query_win32.h"
#include "sntp/server_samples.h"

namespace {

// A TCP port on 127.0.0.1 that takes every connection and answers it with a line that is no TLS,
// as a web server on the wrong port would; for as long as the object lives.
class NotTlsServer {
public:
    NotTlsServer()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof address;
        bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        listen(m_listener, 4);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        m_thread = CreateThread(nullptr, 0, Answer, reinterpret_cast<void*>(m_listener), 0, nullptr);
    }
    ~NotTlsServer()
    {
        closesocket(m_listener);  // ends the accepting thread
        WaitForSingleObject(m_thread, 5000);
        CloseHandle(m_thread);
        WSACleanup();
    }
    NotTlsServer(const NotTlsServer&) = delete;
    NotTlsServer& operator=(const NotTlsServer&) = delete;
    uint16_t Port() const { return m_port; }

private:
    static DWORD WINAPI Answer(void* listener)
    {
        for (;;) {
            const SOCKET connection = accept(reinterpret_cast<SOCKET>(listener), nullptr, nullptr);
            if (connection == INVALID_SOCKET) {
                return 0;
            }
            const char reply[] = "HTTP/1.0 400 Bad Request\r\n\r\n";
            send(connection, reply, sizeof reply - 1, 0);
            closesocket(connection);
        }
    }

    SOCKET m_listener = INVALID_SOCKET;
    HANDLE m_thread = nullptr;
    uint16_t m_port = 0;
};

class NtsSync : public testing::Test {
protected:
    // Both certificates trusted: the one for another name must fail for its name, not its root.
    static void SetUpTestSuite()
    {
        s_localhost = ReadNtsServer(NTS_LOCALHOST_FILE_UNIX_PATH);
        s_otherName = ReadNtsServer(NTS_SERVER_FILE_UNIX_PATH);
        ASSERT_EQ("localhost", s_localhost.name) << "run through ctest, fixtures nts_server and nts_localhost";
        ASSERT_TRUE(TrustCertificate(s_localhost.certificate));
        ASSERT_TRUE(TrustCertificate(s_otherName.certificate));
    }

    static void TearDownTestSuite()
    {
        DistrustCertificate(s_localhost.certificate);
        DistrustCertificate(s_otherName.certificate);
    }

    static std::string Address(const NtsServer& server) { return "nts:localhost:" + std::to_string(server.ntskePort); }

    // One query in this process with the program's samples, its messages pumped until it ends or
    // the limit passes.
    static QueryStatus Query(ServerQuery& query, const std::string& address)
    {
        const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        QueryStatus status = query.Start(address.c_str(), window, kDefaultSamples);
        const DWORD start = GetTickCount();
        MSG message;
        while (status == QueryStatus::Waiting && GetTickCount() - start < 15000) {
            if (!PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            } else if (message.message == WM_LOOKUPDONE) {
                status = query.OnLookupDone(message.wParam).status;
            } else if (message.message == WM_SOCKETEVENT) {
                status = query.OnSocketEvent(static_cast<SOCKET>(message.wParam), WSAGETSELECTEVENT(message.lParam),
                                             WSAGETSELECTERROR(message.lParam)).status;
            } else if (message.message == WM_TIMER && message.wParam == query.TimerId()) {
                status = query.OnTimer().status;
            }
        }
        query.End();
        DestroyWindow(window);
        return status;
    }

    static NtsServer s_localhost;  // its certificate for "localhost"
    static NtsServer s_otherName;  // its certificate for tempivo-nts.test
};

NtsServer NtsSync::s_localhost;
NtsServer NtsSync::s_otherName;

// Each row names its cause: a name without an address as for any server, a port that refuses the
// connection, a certificate refused, a server that speaks no TLS.
TEST_F(NtsSync, TheProgramSynchronisesWithAnNtsServerOrSaysWhyNot)
{
    const NotTlsServer notTls;
    const struct {
        const char* what;
        std::string address;
        std::string serverTime;  // empty: a time
        const char* status;
    } cases[] = {
        {"verified", Address(s_localhost), "", "同期成功 (NTS)"},
        {"the prefix in capitals", "NTS:localhost:" + std::to_string(s_localhost.ntskePort), "", "同期成功 (NTS)"},
        {"a certificate for another name: fail closed", Address(s_otherName), "NTS 証明書エラー", "エラー"},
        {"no key exchange server there: the connection refused",
         "nts:localhost:" + std::to_string(s_localhost.ntpPort), "NTS 接続失敗", "エラー"},
        {"a name without an address", "nts:no-such-host.invalid", "接続先不明", "エラー"},
        {"a server that answers with no TLS", "nts:localhost:" + std::to_string(notTls.Port()), "NTS 鍵交換失敗",
         "エラー"},
    };
    for (const auto& c : cases) {
        ProgramRun run;
        run.WriteFile("server.data", "0\tNTS\t" + c.address + "\r\n");
        ASSERT_TRUE(run.Start()) << c.what;
        const HWND window = run.WaitForMainWindow();
        ASSERT_NE(nullptr, window) << c.what;
        SendMessageA(GetDlgItem(window, 1000), BM_CLICK, 0, 0);
        const std::vector<LogRow> rows = run.WaitForLogRows(window, 1, 15000);
        ASSERT_EQ(1u, rows.size()) << c.what;
        EXPECT_EQ("NTS", rows[0][0]) << c.what;
        EXPECT_EQ(c.status, rows[0][3]) << c.what << ": " << rows[0][1];
        if (c.serverTime.empty()) {
            EXPECT_NEAR(TimeTextSeconds(rows[0][2]), TimeTextSeconds(rows[0][1]), 0.5) << c.what;
        } else {
            EXPECT_EQ(c.serverTime, rows[0][1]) << c.what;
            EXPECT_EQ("", rows[0][2]) << c.what;
        }
    }
}

// Every reply brings a cookie for the one spent: ten queries of four samples each, one key exchange,
// eight cookies kept. Cookies the server can no longer read bring an NTS NAK, and the query goes
// back to the key exchange and is answered.
TEST_F(NtsSync, CookiesStayUpAcrossQueriesAndANakBringsANewKeyExchange)
{
    ServerQuery query;
    const std::string address = Address(s_localhost);
    NtsKeys firstKeys{};
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(QueryStatus::Answered, Query(query, address)) << "query " << i;
        EXPECT_TRUE(query.Answer().authenticated) << "query " << i;
        const NtsSession* session = ProcessNtsSessions().Find("localhost", s_localhost.ntskePort);
        ASSERT_NE(nullptr, session);
        EXPECT_EQ(kNtsMaxCookies, session->cookies.size()) << "query " << i;
        if (i == 0) {
            firstKeys = session->keys;
            EXPECT_EQ(s_localhost.ntpPort, query.Port()) << "the NTP port the key exchange named";
        }
        EXPECT_EQ(firstKeys.serverToClient, session->keys.serverToClient) << "query " << i << ": no new key exchange";
    }

    // As if the server had new keys: every cookie kept is one it cannot open.
    NtsSession* session = ProcessNtsSessions().Find("localhost", s_localhost.ntskePort);
    for (std::vector<uint8_t>& cookie : session->cookies) {
        cookie[cookie.size() / 2] ^= 0xFF;
    }
    const DWORD start = GetTickCount();
    EXPECT_EQ(QueryStatus::Answered, Query(query, address));
    // A key exchange and four samples a spacing apart; a time-out would add 2 s.
    EXPECT_LT(GetTickCount() - start, 2000u + 3 * kSampleSpacingMs) << "answered after the NAK, not after a time-out";
    session = ProcessNtsSessions().Find("localhost", s_localhost.ntskePort);
    EXPECT_NE(firstKeys.serverToClient, session->keys.serverToClient) << "keys of a new key exchange";
    EXPECT_EQ(kNtsMaxCookies, session->cookies.size());
}

}  // namespace
