// NTS extension fields: building the request, walking the fields of a reply, opening its sealed part.
#include "nts_extension_fields.h"

#include <algorithm>
#include <cstring>

#include "base/byte_order.h"
#include "nts_ke_records.h"

namespace {

constexpr size_t kFieldHeaderSize = 4;
constexpr size_t kAuthenticatorHeaderSize = 4;  // nonce length, ciphertext length

size_t PaddedTo4(size_t size)
{
    return (size + 3) / 4 * 4;
}

bool IsNtsNak(const uint8_t* header)
{
    return header[1] == 0 && std::memcmp(header + 12, "NTSN", 4) == 0;
}

// The sealed fields of an authenticator, opened with the packet before it as associated data.
NtsReplyVerdict OpenAuthenticator(const uint8_t* packet, const ExtensionField& field, const AesSivKey& key,
                                  std::vector<uint8_t>* plaintext)
{
    if (field.bodySize < kAuthenticatorHeaderSize) {
        return NtsReplyVerdict::MalformedAuthenticator;
    }
    const size_t nonceSize = ReadBigEndian16(field.body);
    const size_t sealedSize = ReadBigEndian16(field.body + 2);
    // The nonce with its padding takes at least 16 bytes (RFC 8915 section 5.6).
    const size_t nonceArea = std::max(PaddedTo4(nonceSize), kNtsNonceSize);
    if (nonceSize == 0 || sealedSize < kAesSivTagSize ||
        kAuthenticatorHeaderSize + nonceArea + PaddedTo4(sealedSize) > field.bodySize) {
        return NtsReplyVerdict::MalformedAuthenticator;
    }
    const uint8_t* nonce = field.body + kAuthenticatorHeaderSize;
    const uint8_t* sealed = nonce + PaddedTo4(nonceSize);
    const std::vector<ByteRange> associatedData = {{packet, field.offset}, {nonce, nonceSize}};
    return AesSivOpen(key, associatedData, sealed, sealedSize, plaintext) ? NtsReplyVerdict::Authentic
                                                                           : NtsReplyVerdict::NotAuthentic;
}

NtsReply Refused(NtsReplyVerdict why)
{
    NtsReply reply;
    reply.verdict = why;
    return reply;
}

NtsReplyVerdict FromFieldsVerdict(ExtensionFieldsVerdict verdict)
{
    return verdict == ExtensionFieldsVerdict::Truncated ? NtsReplyVerdict::Truncated : NtsReplyVerdict::Misaligned;
}

// The reply's Unique Identifier and its authenticator, the last field: one of each at most, the
// identifier required. Authentic when they are as they must be: the tag is not yet checked.
NtsReplyVerdict FindNtsFields(const std::vector<ExtensionField>& fields, const ExtensionField** uniqueId,
                              const ExtensionField** authenticator)
{
    for (const ExtensionField& field : fields) {
        if (*authenticator != nullptr) {
            return field.type == kNtsAuthenticatorField ? NtsReplyVerdict::DuplicateField
                                                        : NtsReplyVerdict::FieldAfterAuthenticator;
        }
        if (field.type == kNtsUniqueIdentifierField) {
            if (*uniqueId != nullptr) {
                return NtsReplyVerdict::DuplicateField;
            }
            *uniqueId = &field;
        } else if (field.type == kNtsAuthenticatorField) {
            *authenticator = &field;
        }
    }
    return *uniqueId == nullptr ? NtsReplyVerdict::NoUniqueId : NtsReplyVerdict::Authentic;
}

}  // namespace

void AppendExtensionField(std::vector<uint8_t>& packet, uint16_t type, const uint8_t* body, size_t bodySize)
{
    const size_t size = std::max(PaddedTo4(kFieldHeaderSize + bodySize), kExtensionFieldMinSize);
    AppendBigEndian16(packet, type);
    AppendBigEndian16(packet, static_cast<uint16_t>(size));
    packet.insert(packet.end(), body, body + bodySize);
    packet.resize(packet.size() + size - kFieldHeaderSize - bodySize, 0);
}

bool AppendNtsAuthenticator(std::vector<uint8_t>& packet, const AesSivKey& key, const NtsNonce& nonce,
                            const std::vector<uint8_t>& plaintext)
{
    const std::vector<ByteRange> associatedData = {{packet.data(), packet.size()}, {nonce.data(), nonce.size()}};
    const std::vector<uint8_t> sealed = AesSivSeal(key, associatedData, plaintext.data(), plaintext.size());
    if (sealed.empty()) {
        return false;
    }
    std::vector<uint8_t> body;
    AppendBigEndian16(body, static_cast<uint16_t>(nonce.size()));
    AppendBigEndian16(body, static_cast<uint16_t>(sealed.size()));
    body.insert(body.end(), nonce.begin(), nonce.end());
    body.insert(body.end(), sealed.begin(), sealed.end());
    AppendExtensionField(packet, kNtsAuthenticatorField, body.data(), body.size());
    return true;
}

std::vector<uint8_t> BuildNtsRequest(const SntpMessage& header, const NtsUniqueId& uniqueId,
                                     const std::vector<uint8_t>& cookie, size_t cookiesLeft, const AesSivKey& c2sKey,
                                     const NtsNonce& nonce)
{
    if (cookie.empty() || cookie.size() > kNtsMaxCookieSize) {
        return {};
    }
    std::vector<uint8_t> packet(header.begin(), header.end());
    AppendExtensionField(packet, kNtsUniqueIdentifierField, uniqueId.data(), uniqueId.size());
    AppendExtensionField(packet, kNtsCookieField, cookie.data(), cookie.size());
    const std::vector<uint8_t> zeros(cookie.size(), 0);
    for (size_t held = cookiesLeft + 1; held < kNtsMaxCookies; ++held) {
        AppendExtensionField(packet, kNtsCookiePlaceholderField, zeros.data(), zeros.size());
    }
    if (!AppendNtsAuthenticator(packet, c2sKey, nonce, {})) {
        return {};
    }
    return packet;
}

ExtensionFieldsVerdict ReadExtensionFields(const uint8_t* packet, size_t size, size_t offset,
                                           std::vector<ExtensionField>* fields)
{
    fields->clear();
    while (offset < size) {
        if (size - offset < kFieldHeaderSize) {
            return ExtensionFieldsVerdict::Truncated;
        }
        const size_t length = ReadBigEndian16(packet + offset + 2);
        if (length < kExtensionFieldMinSize || length % 4 != 0) {
            return ExtensionFieldsVerdict::Misaligned;
        }
        if (length > size - offset) {
            return ExtensionFieldsVerdict::Truncated;
        }
        fields->push_back({ReadBigEndian16(packet + offset), offset, length, packet + offset + kFieldHeaderSize,
                           length - kFieldHeaderSize});
        offset += length;
    }
    return ExtensionFieldsVerdict::Ok;
}

NtsReply VerifyNtsReply(const uint8_t* datagram, size_t size, const NtsUniqueId& uniqueId, const AesSivKey& s2cKey)
{
    if (size < kSntpMessageSize) {
        return Refused(NtsReplyVerdict::TooShort);
    }
    if (size > kNtsMaxPacketSize) {
        return Refused(NtsReplyVerdict::TooLong);
    }
    std::vector<ExtensionField> fields;
    const ExtensionFieldsVerdict layout = ReadExtensionFields(datagram, size, kSntpMessageSize, &fields);
    if (layout != ExtensionFieldsVerdict::Ok) {
        return Refused(FromFieldsVerdict(layout));
    }
    const ExtensionField* uniqueIdField = nullptr;
    const ExtensionField* authenticator = nullptr;
    const NtsReplyVerdict found = FindNtsFields(fields, &uniqueIdField, &authenticator);
    if (found != NtsReplyVerdict::Authentic) {
        return Refused(found);
    }
    if (uniqueIdField->bodySize != kNtsUniqueIdSize ||
        std::memcmp(uniqueIdField->body, uniqueId.data(), kNtsUniqueIdSize) != 0) {
        return Refused(NtsReplyVerdict::WrongUniqueId);
    }
    if (IsNtsNak(datagram)) {
        return Refused(NtsReplyVerdict::NtsNak);
    }
    if (authenticator == nullptr) {
        return Refused(NtsReplyVerdict::NoAuthenticator);
    }
    std::vector<uint8_t> plaintext;
    const NtsReplyVerdict opened = OpenAuthenticator(datagram, *authenticator, s2cKey, &plaintext);
    if (opened != NtsReplyVerdict::Authentic) {
        return Refused(opened);
    }
    std::vector<ExtensionField> sealedFields;
    const ExtensionFieldsVerdict sealedLayout = ReadExtensionFields(plaintext.data(), plaintext.size(), 0, &sealedFields);
    if (sealedLayout != ExtensionFieldsVerdict::Ok) {
        return Refused(FromFieldsVerdict(sealedLayout));
    }
    NtsReply reply;
    reply.verdict = NtsReplyVerdict::Authentic;
    for (const ExtensionField& field : sealedFields) {
        if (field.type == kNtsCookieField && reply.cookies.size() < kNtsMaxCookies) {
            reply.cookies.emplace_back(field.body, field.body + field.bodySize);
        }
    }
    return reply;
}
