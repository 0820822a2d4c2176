// The core's values in the platform's own forms (Win32): a calendar time as SYSTEMTIME, a FILETIME
// on the core's scale, and a NetAddress as the sockaddr that the query's sockets and the key
// exchange's connections speak.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cstring>

#include "calendar_time.h"
#include "net_address.h"

static_assert(sizeof(CalendarTime) == sizeof(SYSTEMTIME), "the same eight 16-bit fields");

inline SYSTEMTIME ToSystemTime(const CalendarTime& time)
{
    SYSTEMTIME converted;
    std::memcpy(&converted, &time, sizeof converted);
    return converted;
}

// A FILETIME (100 ns since 1601 UTC) as 100 ns ticks since 1970 UTC.
inline int64_t FileTimeToUnixTicks(const FILETIME& time)
{
    const uint64_t ticks = static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    return static_cast<int64_t>(ticks - kSecondsFrom1601To1970 * kTicksPerSecond);
}

inline CalendarTime FromSystemTime(const SYSTEMTIME& time)
{
    CalendarTime converted;
    std::memcpy(&converted, &time, sizeof converted);
    return converted;
}

// The local clock now, as the log's rows show it.
inline CalendarTime LocalClockNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FromSystemTime(now);
}

// False for a family other than IPv4 and IPv6.
inline bool FromSocketAddress(const sockaddr* address, NetAddress* out)
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

// The length of the address written.
inline int ToSocketAddress(const NetAddress& address, sockaddr_storage* out)
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
