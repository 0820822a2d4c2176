// One NTS key exchange over a connected byte stream, free of sockets: TLS 1.3 only, ALPN "ntske/1",
// the server's certificate checked against the roots given and, as RFC 8915 asks, for the server's
// name or address among its subject alternative names (certificate_names.h; fail closed),
// the system's own verdict on the chain asked for, the request sent, the response read until End of
// Message, the two keys exported. The Win32 glue supplies the stream and the system's trust.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "nts_ke_records.h"
#include "nts_keys.h"

constexpr unsigned kNtsKeTimeLimitMs = 5000;  // the whole exchange, connection included

enum class NtsKeFailure {
    None,
    NoAddress,     // the name has no address
    NoConnection,  // no Windows Sockets, or no address took the connection (refused, unreachable, silent)
    TlsSetup,      // no random source, or no trusted roots at all
    Handshake,     // no TLS 1.3 session: the server's other versions or suites, or an alert
    Certificate,   // not signed by a trusted root, out of date, for another name, or refused by the system
    Alpn,          // the server did not choose ntske/1
    TimedOut,      // connected, then the time limit passed
    Closed,        // the connection ended or failed before End of Message
    Response,      // the response was refused: see the response's verdict
    KeyExport,
};

struct NtsKeyExchangeResult {
    bool ok = false;
    NtsKeFailure failure = NtsKeFailure::None;
    NtsKeResponse response;
    NtsKeys keys{};
};

// The stream under TLS. Each returns the bytes moved (more than 0), or a failure.
class NtsByteStream {
public:
    enum : int { kTimedOut = -1, kFailed = -2 };
    virtual int Send(const uint8_t* data, size_t size) = 0;
    virtual int Receive(uint8_t* buffer, size_t size) = 0;  // 0: the peer closed the connection

protected:
    ~NtsByteStream() = default;
};

// The system's word on certificates, which the Win32 glue takes from Windows' stores and chain
// engine: the roots mbed TLS verifies against, and the system's own verdict on the chain a server
// sent. Only a chain both accept counts.
class NtsTrust {
public:
    // DER certificates; those that do not parse are passed over.
    virtual std::vector<std::vector<uint8_t>> TrustedRoots() = 0;
    // The chain as the server sent it, its own certificate first (DER), and the server as named.
    virtual bool AcceptsChain(const std::vector<std::vector<uint8_t>>& chain, const std::string& serverName) = 0;

protected:
    ~NtsTrust() = default;
};

// Runs the exchange over a connected stream. Not for two threads at once: the library's crypto
// state is shared.
NtsKeyExchangeResult RunNtsKeSession(NtsByteStream& stream, NtsTrust& trust, const std::string& serverName);
