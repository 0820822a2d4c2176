// Whether a server's certificate is for the server the user named, as RFC 6125 section 6 says and
// RFC 8915 section 8.1 asks of NTS: a name only against the certificate's DNS names, an address only
// against its IP addresses, its subject's common name never.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The certificate's subject alternative names of the two kinds that can name a server.
struct CertificateNames {
    std::vector<std::string> dnsNames;              // as written in the certificate
    std::vector<std::vector<uint8_t>> ipAddresses;  // 4 or 16 bytes each
};

// The server as written in its address (a host name, a dotted IPv4 address or an IPv6 literal).
// A name matches a DNS name case-blind, or a wildcard "*.rest" that stands for its whole first label
// only; a text of digits and dots that is no plain dotted address ("127.1", "010.0.0.1") matches
// nothing, as the system would take it for some address.
bool CertificateIsForServer(const CertificateNames& names, const std::string& server);
