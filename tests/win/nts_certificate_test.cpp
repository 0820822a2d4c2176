// Whose certificates the NTS key exchange believes, against chronyd on loopback: chains of RSA and
// EC leaves under a root the test makes trusted for the run.
#include "sync/nts_key_exchange_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "nts_peer.h"

namespace {

// The server's root in the ROOT store while the object lives.
class TrustedRoot {
public:
    explicit TrustedRoot(const NtsServer& server) : m_root(server.root) { m_trusted = TrustCertificate(m_root); }
    ~TrustedRoot() { DistrustCertificate(m_root); }
    TrustedRoot(const TrustedRoot&) = delete;
    TrustedRoot& operator=(const TrustedRoot&) = delete;
    bool Trusted() const { return m_trusted; }

private:
    std::vector<uint8_t> m_root;
    bool m_trusted = false;
};

NtsServer Server(const char* stateFile)
{
    NtsServer server = ReadNtsServer(stateFile);
    EXPECT_FALSE(server.root.empty()) << stateFile << ": run through ctest, with the NTS servers' fixtures";
    return server;
}

// RSA leaves are the most common on public servers; TLS 1.3 signs with RSA-PSS. Each chain is
// believed only while its root is trusted.
TEST(NtsCertificate, RsaAndEcLeavesUnderAnRsaIntermediateAndRoot)
{
    for (const char* stateFile : {NTS_RSA_CHAIN_FILE_UNIX_PATH, NTS_EC_CHAIN_FILE_UNIX_PATH}) {
        const NtsServer server = Server(stateFile);
        const NtsKeyExchangeResult untrusted = RunNtsKeyExchange("localhost", server.ntskePort);
        EXPECT_EQ(NtsKeFailure::Certificate, untrusted.failure) << stateFile << ": its root not trusted yet";
        const TrustedRoot root(server);
        ASSERT_TRUE(root.Trusted()) << stateFile;
        const NtsKeyExchangeResult trusted = RunNtsKeyExchange("localhost", server.ntskePort);
        EXPECT_TRUE(trusted.ok) << stateFile << ": failure " << static_cast<int>(trusted.failure);
        EXPECT_EQ(kNtsMaxCookies, trusted.response.cookies.size()) << stateFile;
    }
}

}  // namespace
