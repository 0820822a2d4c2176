// The verdict on a server's chain as Windows sees it.
#include "system_chain_verdict.h"

#include "mbedtls/x509.h"

bool UsageAllowsServerAuthentication(const KeyUsage& usage)
{
    if (usage.anyPurpose) {
        return true;
    }
    for (const std::string& purpose : usage.purposes) {
        if (purpose == kServerAuthenticationPurpose) {
            return true;
        }
    }
    return false;
}

bool SystemChainAccepted(const SystemChainView& view)
{
    if (!view.built || view.trustErrors || !view.policyAccepts || view.elements.empty()) {
        return false;
    }
    for (const ChainElementView& element : view.elements) {
        if (element.distrusted || !UsageAllowsServerAuthentication(element.usage)) {
            return false;
        }
    }
    return true;
}

uint32_t WithoutMissingRoot(uint32_t verifyFlags)
{
    return verifyFlags & ~static_cast<uint32_t>(MBEDTLS_X509_BADCERT_NOT_TRUSTED);
}
