// Which chains count as Windows sees them: every fact must be good, and every element of the chain
// free to stand for a TLS server.
#include "nts/system_chain_verdict.h"

#include <gtest/gtest.h>

#include "mbedtls/x509.h"

namespace {

const char kCodeSigning[] = "1.3.6.1.5.5.7.3.3";
const char kClientAuthentication[] = "1.3.6.1.5.5.7.3.2";

TEST(UsageAllowsServerAuthentication, AnyPurposeOrServerAuthenticationAmongThem)
{
    const struct {
        const char* what;
        KeyUsage usage;
        bool allows;
    } cases[] = {
        {"no restriction", {true, {}}, true},
        {"server authentication", {false, {kServerAuthenticationPurpose}}, true},
        {"client, then server authentication", {false, {kClientAuthentication, kServerAuthenticationPurpose}}, true},
        {"code signing only", {false, {kCodeSigning}}, false},
        {"restricted to nothing", {false, {}}, false},
        {"a longer identifier that begins alike", {false, {"1.3.6.1.5.5.7.3.10"}}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.allows, UsageAllowsServerAuthentication(c.usage)) << c.what;
    }
}

TEST(SystemChainAccepted, EveryFactGoodAndEveryElementFreeForServers)
{
    const ChainElementView good{false, {true, {}}};
    const ChainElementView codeSigningRoot{false, {false, {kCodeSigning}}};
    const ChainElementView distrusted{true, {true, {}}};
    const struct {
        const char* what;
        SystemChainView view;
        bool accepted;
    } cases[] = {
        {"leaf, intermediate and root, all good", {true, false, true, {good, good, good}}, true},
        {"a self-signed server certificate that is its own root", {true, false, true, {good}}, true},
        {"no chain built", {false, false, true, {good}}, false},
        {"a trust error (untrusted root, out of date, ...)", {true, true, true, {good, good}}, false},
        {"refused by the SSL policy (another name, ...)", {true, false, false, {good, good}}, false},
        {"no elements", {true, false, true, {}}, false},
        {"the server's certificate distrusted", {true, false, true, {distrusted, good, good}}, false},
        {"the intermediate distrusted", {true, false, true, {good, distrusted, good}}, false},
        {"a root kept to code signing", {true, false, true, {good, good, codeSigningRoot}}, false},
        {"a leaf kept to code signing", {true, false, true, {codeSigningRoot, good}}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.accepted, SystemChainAccepted(c.view)) << c.what;
    }
}

TEST(SystemChainVerdict, OnlyAMissingRootIsLeftToWindowsEveryOtherFindingFails)
{
    // A root mbed TLS has not read is Windows' to fetch and judge; nothing else is excused.
    EXPECT_EQ(0u, WithoutMissingRoot(MBEDTLS_X509_BADCERT_NOT_TRUSTED));
    for (uint32_t finding : {MBEDTLS_X509_BADCERT_EXPIRED, MBEDTLS_X509_BADCERT_CN_MISMATCH,
                             MBEDTLS_X509_BADCERT_REVOKED, MBEDTLS_X509_BADCERT_EXT_KEY_USAGE,
                             MBEDTLS_X509_BADCERT_BAD_MD}) {
        EXPECT_EQ(finding, WithoutMissingRoot(finding | MBEDTLS_X509_BADCERT_NOT_TRUSTED)) << finding;
    }
}

}  // namespace
