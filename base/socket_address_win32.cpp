// A Winsock socket address in the NetAddress form, and back (Win32).
#include "socket_address_win32.h"

#include <cstring>

bool FromSocketAddress(const sockaddr* address, NetAddress* out)
{
    *out = NetAddress();
    if (address->sa_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
        std::memcpy(out->bytes.data(), &v4->sin_addr, 4);
        out->port = ntohs(v4->sin_port);
        return true;
    }
    if (address->sa_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
        out->family = NetAddress::Family::V6;
        std::memcpy(out->bytes.data(), &v6->sin6_addr, 16);
        out->scope = v6->sin6_scope_id;
        out->port = ntohs(v6->sin6_port);
        return true;
    }
    return false;
}

int ToSocketAddress(const NetAddress& address, sockaddr_storage* out)
{
    std::memset(out, 0, sizeof *out);
    if (address.family == NetAddress::Family::V4) {
        auto* v4 = reinterpret_cast<sockaddr_in*>(out);
        v4->sin_family = AF_INET;
        v4->sin_port = htons(address.port);
        std::memcpy(&v4->sin_addr, address.bytes.data(), 4);
        return sizeof *v4;
    }
    auto* v6 = reinterpret_cast<sockaddr_in6*>(out);
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(address.port);
    v6->sin6_scope_id = address.scope;
    std::memcpy(&v6->sin6_addr, address.bytes.data(), 16);
    return sizeof *v6;
}
