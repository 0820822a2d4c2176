// The verdict on a server's chain as Windows sees it.
#include "system_chain_verdict.h"

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
