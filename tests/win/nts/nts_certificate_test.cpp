// Whose certificates the NTS key exchange believes, against chronyd on loopback: chains of RSA and
// EC leaves under a root the test makes trusted for the run; names and addresses each only among
// the subject alternative names of their own kind; none that Windows' stores refuse.
#include "nts/nts_key_exchange_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "../nts_peer.h"

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

// The trust store's word is final: a server certificate listed in the Disallowed store, or a root
// whose entry in the ROOT store allows code signing only, refuses a chain that mbed TLS alone
// would take. Each chain is taken again once the store says nothing against it.
TEST(NtsCertificate, ThePoliciesOfTheStoresRefuseAChainMbedTlsWouldTake)
{
    const char kCodeSigning[] = "1.3.6.1.5.5.7.3.3";
    const NtsServer server = Server(NTS_RSA_CHAIN_FILE_UNIX_PATH);
    const TrustedRoot root(server);
    ASSERT_TRUE(root.Trusted());
    ASSERT_TRUE(RunNtsKeyExchange("localhost", server.ntskePort).ok) << "the chain as it is";

    ASSERT_TRUE(AddToSystemStore("Disallowed", server.certificate));
    const NtsKeyExchangeResult disallowed = RunNtsKeyExchange("localhost", server.ntskePort);
    RemoveFromSystemStore("Disallowed", server.certificate);
    EXPECT_EQ(NtsKeFailure::Certificate, disallowed.failure) << "the server's certificate listed as Disallowed";
    EXPECT_TRUE(disallowed.response.cookies.empty());
    EXPECT_TRUE(RunNtsKeyExchange("localhost", server.ntskePort).ok) << "no longer listed";

    ASSERT_TRUE(SetRootPurpose(server.root, kCodeSigning));
    const NtsKeyExchangeResult codeSigningRoot = RunNtsKeyExchange("localhost", server.ntskePort);
    ASSERT_TRUE(SetRootPurpose(server.root, nullptr));
    EXPECT_EQ(NtsKeFailure::Certificate, codeSigningRoot.failure) << "a root for code signing only";
    EXPECT_TRUE(codeSigningRoot.response.cookies.empty());
    EXPECT_TRUE(RunNtsKeyExchange("localhost", server.ntskePort).ok) << "the root for every purpose again";
}

// What RFC 8915 asks: a name among the DNS names, an address among the IP addresses; a common name,
// or an address written as a DNS name, is no match, though mbed TLS alone would take both.
TEST(NtsCertificate, NamesAndAddressesOnlyAmongTheirOwnKindOfSubjectAlternativeName)
{
    const NtsServer cnOnly = Server(NTS_CN_ONLY_FILE_UNIX_PATH);
    const NtsServer ipNames = Server(NTS_IP_NAMES_FILE_UNIX_PATH);
    const TrustedRoot cnOnlyRoot(cnOnly);
    const TrustedRoot ipNamesRoot(ipNames);
    ASSERT_TRUE(cnOnlyRoot.Trusted() && ipNamesRoot.Trusted());
    const struct {
        const char* what;
        std::string server;
        uint16_t port;
        bool ok;
    } cases[] = {
        {"localhost in the common name only", "localhost", cnOnly.ntskePort, false},
        {"127.0.0.1 as a DNS name and *.0.0.1", "127.0.0.1", ipNames.ntskePort, false},
        {"::1 as an IP address", "::1", ipNames.ntskePort, true},
    };
    for (const auto& c : cases) {
        const NtsKeyExchangeResult result = RunNtsKeyExchange(c.server, c.port);
        EXPECT_EQ(c.ok, result.ok) << c.what << ": failure " << static_cast<int>(result.failure);
        if (!c.ok) {
            EXPECT_EQ(NtsKeFailure::Certificate, result.failure) << c.what;
            EXPECT_TRUE(result.response.cookies.empty()) << c.what;
        }
    }
}

}  // namespace
