// NTS in NTP packets (RFC 8915 section 5) as extension fields after the 48-byte header (RFC 7822):
// the client's request sealed with the C2S key, and the server's reply checked with the S2C key.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "aes_siv.h"
#include "sntp/sntp_message.h"

constexpr uint16_t kNtsUniqueIdentifierField = 0x0104;
constexpr uint16_t kNtsCookieField = 0x0204;
constexpr uint16_t kNtsCookiePlaceholderField = 0x0304;
constexpr uint16_t kNtsAuthenticatorField = 0x0404;

constexpr size_t kNtsUniqueIdSize = 32;
constexpr size_t kNtsNonceSize = 16;
constexpr size_t kExtensionFieldMinSize = 16;  // RFC 7822 section 3
constexpr size_t kNtsMaxPacketSize = 4096;     // eight of the largest cookies fit well

using NtsUniqueId = std::array<uint8_t, kNtsUniqueIdSize>;
using NtsNonce = std::array<uint8_t, kNtsNonceSize>;

// Appends a field: type, length, the body, zeros to a multiple of 4 bytes and at least 16 bytes.
void AppendExtensionField(std::vector<uint8_t>& packet, uint16_t type, const uint8_t* body, size_t bodySize);

// Appends the NTS Authenticator and Encrypted Extension Fields field: the nonce, and the plaintext
// sealed with the packet as it stands as associated data. False when the key cannot be used.
bool AppendNtsAuthenticator(std::vector<uint8_t>& packet, const AesSivKey& key, const NtsNonce& nonce,
                            const std::vector<uint8_t>& plaintext);

// The request: the header as given, the Unique Identifier, the cookie, placeholders of its length
// for the cookies the client lacks (it keeps kNtsMaxCookies: cookiesLeft is how many it holds
// besides this one), and the authenticator over all of it with the C2S key, sealing nothing.
// Empty when the cookie is empty or above kNtsMaxCookieSize.
std::vector<uint8_t> BuildNtsRequest(const SntpMessage& header, const NtsUniqueId& uniqueId,
                                     const std::vector<uint8_t>& cookie, size_t cookiesLeft, const AesSivKey& c2sKey,
                                     const NtsNonce& nonce);

struct ExtensionField {
    uint16_t type;
    size_t offset;  // of the field's first byte
    size_t size;    // the whole field, header and padding included
    const uint8_t* body;
    size_t bodySize;
};

enum class ExtensionFieldsVerdict { Ok, Misaligned, Truncated };

// The fields from offset to the end: each at least 16 bytes and a multiple of 4 (else
// Misaligned), none past the end (else Truncated).
ExtensionFieldsVerdict ReadExtensionFields(const uint8_t* packet, size_t size, size_t offset,
                                           std::vector<ExtensionField>* fields);

enum class NtsReplyVerdict {
    Authentic,
    NtsNak,                   // stratum 0, kiss code NTSN, our Unique Identifier: get new cookies
    TooShort,                 // no 48-byte header
    TooLong,                  // above kNtsMaxPacketSize
    Misaligned,
    Truncated,
    NoUniqueId,
    WrongUniqueId,
    DuplicateField,           // a second Unique Identifier or authenticator
    FieldAfterAuthenticator,  // it would not be authenticated
    NoAuthenticator,
    MalformedAuthenticator,   // lengths that do not fit its field, a short nonce or tag
    NotAuthentic,             // the tag does not verify under the S2C key
};

struct NtsReply {
    NtsReplyVerdict verdict = NtsReplyVerdict::NotAuthentic;
    std::vector<std::vector<uint8_t>> cookies;  // fresh ones from the sealed fields, at most kNtsMaxCookies
};

// Checks a reply to the request with this Unique Identifier. An NTS NAK is unauthenticated by
// design: it is reported, and means nothing more than that the cookies are no longer good.
NtsReply VerifyNtsReply(const uint8_t* datagram, size_t size, const NtsUniqueId& uniqueId, const AesSivKey& s2cKey);
