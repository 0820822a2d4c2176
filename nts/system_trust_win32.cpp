// Windows' certificate stores and chain engine asked about a server's chain; system_chain_verdict.h
// judges what they say (Win32).
#include "system_trust_win32.h"

#include <windows.h>
#include <wincrypt.h>

#include <array>
#include <cstddef>
#include <vector>

#include "base/ip_address_text.h"
#include "system_chain_verdict.h"

namespace {

constexpr DWORD kRootFetchLimitMs = 3000;

// A system store of the current user (which shows the machine's too), closed with the object.
class SystemStore {
public:
    explicit SystemStore(const char* name) : m_store(CertOpenSystemStoreA(0, name)) {}
    ~SystemStore()
    {
        if (m_store != nullptr) {
            CertCloseStore(m_store, 0);
        }
    }
    SystemStore(const SystemStore&) = delete;
    SystemStore& operator=(const SystemStore&) = delete;

    // The store's own copy of the certificate, with the properties the store gives it; or null.
    PCCERT_CONTEXT Find(PCCERT_CONTEXT certificate) const
    {
        return m_store == nullptr ? nullptr
                                  : CertFindCertificateInStore(m_store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING,
                                                               certificate, nullptr);
    }
    HCERTSTORE Handle() const { return m_store; }

private:
    HCERTSTORE m_store;
};

// Its purposes by its extension and its properties (CERT_ENHKEY_USAGE_PROP_ID among them).
KeyUsage UsageOf(PCCERT_CONTEXT certificate)
{
    KeyUsage usage;
    DWORD size = 0;
    if (!CertGetEnhancedKeyUsage(certificate, 0, nullptr, &size)) {
        usage.anyPurpose = false;  // unreadable: good for nothing
        return usage;
    }
    std::vector<BYTE> buffer(size);
    auto* list = reinterpret_cast<PCERT_ENHKEY_USAGE>(buffer.data());
    SetLastError(0);
    if (!CertGetEnhancedKeyUsage(certificate, 0, list, &size)) {
        usage.anyPurpose = false;
        return usage;
    }
    // None listed: good for every purpose when nothing restricts it, otherwise for none.
    usage.anyPurpose = list->cUsageIdentifier == 0 && GetLastError() == static_cast<DWORD>(CRYPT_E_NOT_FOUND);
    for (DWORD i = 0; i < list->cUsageIdentifier; ++i) {
        usage.purposes.emplace_back(list->rgpszUsageIdentifier[i]);
    }
    return usage;
}

// Windows' SSL policy for a server; the name is given for a DNS name only, as the policy compares
// names with DNS names (an address is matched by certificate_names.h alone).
bool SslPolicyAccepts(PCCERT_CHAIN_CONTEXT chain, const std::string& serverName)
{
    std::array<uint8_t, 4> v4;
    std::array<uint8_t, 16> v6;
    const bool address = ReadIpv4Text(serverName, &v4) || ReadIpv6Text(serverName, &v6);
    wchar_t name[256] = L"";
    if (!address && MultiByteToWideChar(CP_ACP, 0, serverName.c_str(), -1, name, 256) == 0) {
        return false;
    }
    HTTPSPolicyCallbackData ssl{};
    ssl.cbStruct = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = address ? nullptr : name;
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof status;
    return CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status) && status.dwError == 0;
}

// What the chain engine, the SSL policy and the stores say about the chain the server sent.
SystemChainView ViewOf(HCERTSTORE sent, PCCERT_CONTEXT serverCertificate, const std::string& serverName)
{
    SystemChainView view;
    LPSTR serverAuthentication = const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH);
    CERT_CHAIN_PARA parameters{};
    parameters.cbSize = sizeof parameters;
    parameters.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    parameters.RequestedUsage.Usage.cUsageIdentifier = 1;
    parameters.RequestedUsage.Usage.rgpszUsageIdentifier = &serverAuthentication;
    // An engine of its own each time, which reads the stores as they are now: Wine's default engine
    // keeps the ROOT store as it was at its first use. The configuration's first form, which every
    // Windows since Vista takes.
    CERT_CHAIN_ENGINE_CONFIG configuration{};
    configuration.cbSize = offsetof(CERT_CHAIN_ENGINE_CONFIG, hExclusiveRoot);
    configuration.dwUrlRetrievalTimeout = kRootFetchLimitMs;
    HCERTCHAINENGINE engine = nullptr;
    if (!CertCreateCertificateChainEngine(&configuration, &engine)) {
        return view;
    }
    // The engine may fetch: Windows fills its root store lazily, getting a public root the first
    // time a chain needs it, within a limit that leaves the exchange its own time.
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    const bool made = CertGetCertificateChain(engine, serverCertificate, nullptr, sent, &parameters, 0, nullptr,
                                              &chain) != FALSE;
    CertFreeCertificateChainEngine(engine);
    if (!made) {
        return view;
    }
    if (chain->cChain > 0) {
        view.built = true;
        view.trustErrors = chain->TrustStatus.dwErrorStatus != CERT_TRUST_NO_ERROR;
        view.policyAccepts = SslPolicyAccepts(chain, serverName);
        const SystemStore disallowed("Disallowed");
        const SystemStore roots("ROOT");
        const CERT_SIMPLE_CHAIN* simple = chain->rgpChain[0];
        for (DWORD i = 0; i < simple->cElement; ++i) {
            const PCCERT_CONTEXT element = simple->rgpElement[i]->pCertContext;
            ChainElementView seen;
            const PCCERT_CONTEXT listed = disallowed.Find(element);
            seen.distrusted = listed != nullptr;
            // A trusted root's purposes are those its ROOT store entry gives it.
            const PCCERT_CONTEXT trusted = roots.Find(element);
            seen.usage = UsageOf(trusted != nullptr ? trusted : element);
            for (const PCCERT_CONTEXT found : {listed, trusted}) {
                if (found != nullptr) {
                    CertFreeCertificateContext(found);
                }
            }
            view.elements.push_back(seen);
        }
    }
    CertFreeCertificateChain(chain);
    return view;
}

}  // namespace

std::vector<std::vector<uint8_t>> SystemTrust::TrustedRoots()
{
    std::vector<std::vector<uint8_t>> roots;
    const SystemStore store("ROOT");
    if (store.Handle() == nullptr) {
        return roots;
    }
    for (PCCERT_CONTEXT cert = CertEnumCertificatesInStore(store.Handle(), nullptr); cert != nullptr;
         cert = CertEnumCertificatesInStore(store.Handle(), cert)) {
        roots.emplace_back(cert->pbCertEncoded, cert->pbCertEncoded + cert->cbCertEncoded);
    }
    return roots;
}

bool SystemTrust::AcceptsChain(const std::vector<std::vector<uint8_t>>& chain, const std::string& serverName)
{
    // The certificates the server sent, in a store of their own: the engine's additional store.
    const HCERTSTORE sent = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, CERT_STORE_CREATE_NEW_FLAG, nullptr);
    if (sent == nullptr) {
        return false;
    }
    PCCERT_CONTEXT serverCertificate = nullptr;
    bool added = !chain.empty();
    for (size_t i = 0; added && i < chain.size(); ++i) {
        added = CertAddEncodedCertificateToStore(sent, X509_ASN_ENCODING, chain[i].data(),
                                                 static_cast<DWORD>(chain[i].size()), CERT_STORE_ADD_ALWAYS,
                                                 i == 0 ? &serverCertificate : nullptr) != FALSE;
    }
    const bool accepted = added && SystemChainAccepted(ViewOf(sent, serverCertificate, serverName));
    if (serverCertificate != nullptr) {
        CertFreeCertificateContext(serverCertificate);
    }
    CertCloseStore(sent, 0);
    return accepted;
}
