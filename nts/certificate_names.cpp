// Matching the server's name or address against a certificate's subject alternative names.
#include "certificate_names.h"

#include <algorithm>
#include <array>

#include "base/ip_address_text.h"

namespace {

// Lower-case ASCII without a trailing dot: the form two DNS names are compared in.
std::string Comparable(const std::string& name)
{
    std::string result = name;
    if (!result.empty() && result.back() == '.') {
        result.pop_back();
    }
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

// A name that can be looked up as one: labels not empty, the last not all digits (the system reads
// such a text as an address).
bool UsableName(const std::string& name)
{
    if (name.empty() || name.front() == '.' || name.find("..") != std::string::npos) {
        return false;
    }
    const std::string last = name.substr(name.rfind('.') + 1);
    return last.find_first_not_of("0123456789") != std::string::npos;
}

bool DnsNameMatches(const std::string& presented, const std::string& server)
{
    const std::string pattern = Comparable(presented);
    if (pattern.compare(0, 2, "*.") != 0) {
        return pattern.find('*') == std::string::npos && pattern == server;
    }
    // "*.example.org": one whole label in front of at least two more, and no other star.
    const std::string rest = pattern.substr(2);
    const size_t firstDot = server.find('.');
    return rest.find('*') == std::string::npos && rest.find('.') != std::string::npos && firstDot != 0 &&
           firstDot != std::string::npos && server.substr(firstDot + 1) == rest;
}

bool AddressListed(const CertificateNames& names, const uint8_t* address, size_t size)
{
    for (const std::vector<uint8_t>& listed : names.ipAddresses) {
        if (listed.size() == size && std::equal(listed.begin(), listed.end(), address)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool CertificateIsForServer(const CertificateNames& names, const std::string& server)
{
    std::array<uint8_t, 4> v4;
    if (ReadIpv4Text(server, &v4)) {
        return AddressListed(names, v4.data(), v4.size());
    }
    std::array<uint8_t, 16> v6;
    if (ReadIpv6Text(server, &v6)) {
        return AddressListed(names, v6.data(), v6.size());
    }
    const std::string name = Comparable(server);
    if (!UsableName(name)) {
        return false;
    }
    for (const std::string& presented : names.dnsNames) {
        if (DnsNameMatches(presented, name)) {
            return true;
        }
    }
    return false;
}
