// Whether Windows' own view of a server's certificate chain lets the chain count: what its chain
// engine, its SSL policy and its stores say, gathered by the Win32 glue (system_trust_win32.h) and
// judged here. mbed TLS must accept the same chain as well: the trust store's word is final.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// TLS server authentication (RFC 5280 section 4.2.1.12).
constexpr char kServerAuthenticationPurpose[] = "1.3.6.1.5.5.7.3.1";

// The purposes a certificate may serve, by its extension and by the properties its store gives it.
struct KeyUsage {
    bool anyPurpose = true;             // no restriction
    std::vector<std::string> purposes;  // the object identifiers allowed, when restricted
};

struct ChainElementView {
    bool distrusted = false;  // listed in the Disallowed store
    KeyUsage usage;
};

struct SystemChainView {
    bool built = false;          // the chain engine made a chain from the server's certificate
    bool trustErrors = true;     // the chain's trust status shows any error
    bool policyAccepts = false;  // the SSL policy for a server found no fault (the name's, for a name)
    std::vector<ChainElementView> elements;  // the server's certificate first, the root last
};

// A certificate restricted to other purposes, or to none, may not stand for a TLS server.
bool UsageAllowsServerAuthentication(const KeyUsage& usage);

// mbed TLS's findings about the chain without the one that says its root is not among the roots
// read up front (MBEDTLS_X509_BADCERT_NOT_TRUSTED): Windows fills its root store as it needs roots,
// and its chain engine, which every chain must satisfy afterwards, has the last word on trust.
uint32_t WithoutMissingRoot(uint32_t verifyFlags);

// Built, with no trust error, accepted by the policy, and no element distrusted or kept from server
// authentication: a root restricted to code signing refuses every chain under it.
bool SystemChainAccepted(const SystemChainView& view);
