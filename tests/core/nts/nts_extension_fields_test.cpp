// NTS in NTP packets: the request's fields, a server played here answering it, and the replies the
// client refuses.
#include "nts/nts_extension_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "nts/nts_ke_records.h"

namespace {

using Bytes = std::vector<uint8_t>;

AesSivKey Key(uint8_t first)
{
    AesSivKey key;
    for (size_t i = 0; i < key.size(); ++i) {
        key[i] = static_cast<uint8_t>(first + i);
    }
    return key;
}

const AesSivKey kC2s = Key(0x10);
const AesSivKey kS2c = Key(0x80);
const NtsUniqueId kUniqueId = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16,
                               17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
const NtsNonce kNonce = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7,
                         0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF};

// An NTPv4 client header (NTS needs version 4) with a transmit time.
SntpMessage Header()
{
    SntpMessage header = BuildRequest(0x0102030405060708u);
    header[0] = 0x23;
    return header;
}

Bytes Request(size_t cookieSize = 100, size_t cookiesLeft = 7)
{
    return BuildNtsRequest(Header(), kUniqueId, Bytes(cookieSize, 0xC0), cookiesLeft, kC2s,
                           kNonce);
}

std::vector<ExtensionField> Fields(const Bytes& packet)
{
    std::vector<ExtensionField> fields;
    EXPECT_EQ(ExtensionFieldsVerdict::Ok, ReadExtensionFields(packet.data(), packet.size(), 48, &fields));
    return fields;
}

// Appends through resize and memcpy: GCC 12 warns wrongly about insert on a vector it sized itself.
void Append(Bytes& to, const uint8_t* from, size_t size)
{
    const size_t at = to.size();
    to.resize(at + size);
    std::memcpy(to.data() + at, from, size);
}

Bytes Concat(Bytes a, const Bytes& b)
{
    Append(a, b.data(), b.size());
    return a;
}

Bytes Field(uint16_t type, const Bytes& body)
{
    Bytes field;
    AppendExtensionField(field, type, body.data(), body.size());
    return field;
}

// The server's part: the request must open under C2S; the reply echoes the Unique Identifier and
// seals the given fields under S2C.
Bytes Reply(const Bytes& request, const Bytes& sealedFields, const AesSivKey& s2c = kS2c)
{
    const std::vector<ExtensionField> fields = Fields(request);
    const ExtensionField& auth = fields.back();
    EXPECT_EQ(kNtsAuthenticatorField, auth.type);
    const std::vector<ByteRange> associatedData = {{request.data(), auth.offset}, {auth.body + 4, 16}};
    Bytes opened;
    EXPECT_TRUE(AesSivOpen(kC2s, associatedData, auth.body + 20, 16, &opened)) << "the request is sealed with C2S";

    Bytes reply(request.begin(), request.begin() + 48);
    reply[0] = 0x24;  // version 4, server
    reply[1] = 2;
    Append(reply, fields[0].body - 4, fields[0].size);
    AppendNtsAuthenticator(reply, s2c, NtsNonce{9, 9, 9}, sealedFields);
    return reply;
}

Bytes Cookies(size_t count, size_t size = 100)
{
    Bytes fields;
    for (size_t i = 0; i < count; ++i) {
        const Bytes field = Field(kNtsCookieField, Bytes(size, static_cast<uint8_t>(0xD0 + i)));
        fields.insert(fields.end(), field.begin(), field.end());
    }
    return fields;
}

TEST(NtsRequest, CarriesTheCookieAndAsksForTheMissingOnes)
{
    const struct {
        size_t cookieSize;
        size_t cookiesLeft;
        size_t placeholders;
        size_t cookieFieldSize;  // padded to a multiple of 4
    } cases[] = {
        {100, 7, 0, 104}, {100, 0, 7, 104}, {100, 3, 4, 104}, {100, 20, 0, 104}, {101, 6, 1, 108}, {8, 7, 0, 16},
    };
    for (const auto& c : cases) {
        const Bytes request = Request(c.cookieSize, c.cookiesLeft);
        const std::vector<ExtensionField> fields = Fields(request);
        ASSERT_EQ(3 + c.placeholders, fields.size());
        const SntpMessage header = Header();
        EXPECT_EQ(Bytes(header.begin(), header.end()), Bytes(request.begin(), request.begin() + 48));
        EXPECT_EQ(kNtsUniqueIdentifierField, fields[0].type);
        EXPECT_EQ(Bytes(kUniqueId.begin(), kUniqueId.end()), Bytes(fields[0].body, fields[0].body + fields[0].bodySize));
        EXPECT_EQ(kNtsCookieField, fields[1].type);
        EXPECT_EQ(c.cookieFieldSize, fields[1].size);
        for (size_t i = 0; i < c.placeholders; ++i) {
            EXPECT_EQ(kNtsCookiePlaceholderField, fields[2 + i].type);
            EXPECT_EQ(c.cookieFieldSize, fields[2 + i].size) << "as long as the cookie";
            EXPECT_EQ(Bytes(fields[2 + i].bodySize, 0), Bytes(fields[2 + i].body, fields[2 + i].body + fields[2 + i].bodySize));
        }
        // Nonce length 16, sealed length 16 (the tag of an empty plaintext), the nonce.
        const ExtensionField& auth = fields.back();
        EXPECT_EQ(kNtsAuthenticatorField, auth.type);
        EXPECT_EQ(40u, auth.size);
        EXPECT_EQ((Bytes{0, 16, 0, 16}), Bytes(auth.body, auth.body + 4));
        EXPECT_EQ(Bytes(kNonce.begin(), kNonce.end()), Bytes(auth.body + 4, auth.body + 20));
    }
    EXPECT_TRUE(Request(0).empty());
    EXPECT_TRUE(Request(kNtsMaxCookieSize + 1).empty());
}

TEST(NtsReply, RoundTripGivesTheFreshCookies)
{
    const Bytes request = Request(100, 2);
    const Bytes six = Reply(request, Cookies(6));
    const NtsReply reply = VerifyNtsReply(six.data(), six.size(), kUniqueId, kS2c);
    ASSERT_EQ(NtsReplyVerdict::Authentic, reply.verdict);
    ASSERT_EQ(6u, reply.cookies.size());
    EXPECT_EQ(Bytes(100, 0xD0), reply.cookies[0]);
    EXPECT_EQ(Bytes(100, 0xD5), reply.cookies[5]);

    // Other sealed fields are passed over; no more than eight cookies are kept.
    Bytes sealed = Field(0x7777, Bytes(12, 1));
    const Bytes nine = Cookies(9);
    sealed.insert(sealed.end(), nine.begin(), nine.end());
    const Bytes many = Reply(request, sealed);
    EXPECT_EQ(kNtsMaxCookies, VerifyNtsReply(many.data(), many.size(), kUniqueId, kS2c).cookies.size());
}

TEST(NtsReply, RefusesWhatDoesNotVerify)
{
    const Bytes request = Request();
    const Bytes good = Reply(request, Cookies(1));
    const size_t authAt = good.size() - Fields(good).back().size;

    const auto changed = [&](size_t at, uint8_t value) {
        Bytes r = good;
        r[at] = value;
        return r;
    };
    const auto with = [&](const Bytes& extra, size_t at) {
        Bytes r(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(at));
        Append(r, extra.data(), extra.size());
        Append(r, good.data() + at, good.size() - at);
        return r;
    };
    const auto nak = [&](const Bytes& uniqueIdField, char last = 'N') {
        Bytes r(good.begin(), good.begin() + 48);
        r[1] = 0;
        r[12] = 'N', r[13] = 'T', r[14] = 'S', r[15] = static_cast<uint8_t>(last);
        Append(r, uniqueIdField.data(), uniqueIdField.size());
        return r;
    };
    const Bytes ourId = Field(kNtsUniqueIdentifierField, Bytes(kUniqueId.begin(), kUniqueId.end()));
    Bytes otherIdBody(kUniqueId.begin(), kUniqueId.end());
    otherIdBody[31] ^= 1;
    const Bytes otherId = Field(kNtsUniqueIdentifierField, otherIdBody);
    const Bytes authenticator(good.begin() + static_cast<std::ptrdiff_t>(authAt), good.end());
    Bytes misalignedField = Field(0x7777, Bytes(12, 0));
    misalignedField[3] = 18;

    const struct {
        const char* what;
        Bytes reply;
        NtsReplyVerdict verdict;
    } cases[] = {
        {"47 bytes", Bytes(good.begin(), good.begin() + 47), NtsReplyVerdict::TooShort},
        {"above the size limit", with(Field(0x7777, Bytes(kNtsMaxPacketSize, 0)), 48), NtsReplyVerdict::TooLong},
        {"a field of 18 bytes", with(misalignedField, 48), NtsReplyVerdict::Misaligned},
        {"a field of 12 bytes", with(Bytes{0x77, 0x77, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0}, 48), NtsReplyVerdict::Misaligned},
        {"the last field cut short", Bytes(good.begin(), good.end() - 4), NtsReplyVerdict::Truncated},
        {"two bytes after the last field", with(Bytes{0, 0}, good.size()), NtsReplyVerdict::Truncated},
        {"no Unique Identifier", Concat(Bytes(good.begin(), good.begin() + 48), authenticator), NtsReplyVerdict::NoUniqueId},
        {"another Unique Identifier", changed(48 + 4 + 31, kUniqueId[31] ^ 1), NtsReplyVerdict::WrongUniqueId},
        {"a second Unique Identifier", with(ourId, 48), NtsReplyVerdict::DuplicateField},
        {"a second authenticator", with(authenticator, good.size()), NtsReplyVerdict::DuplicateField},
        {"a field after the authenticator", with(Field(0x7777, {}), good.size()), NtsReplyVerdict::FieldAfterAuthenticator},
        {"no authenticator", Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(authAt)),
         NtsReplyVerdict::NoAuthenticator},
        {"a nonce of no bytes", changed(authAt + 5, 0), NtsReplyVerdict::MalformedAuthenticator},
        {"a sealed length below a tag", changed(authAt + 7, 15), NtsReplyVerdict::MalformedAuthenticator},
        {"a sealed length beyond the field", changed(authAt + 6, 1), NtsReplyVerdict::MalformedAuthenticator},
        {"a byte of the tag altered", changed(authAt + 8 + 16, good[authAt + 24] ^ 0x40), NtsReplyVerdict::NotAuthentic},
        {"a byte of a sealed cookie altered", changed(good.size() - 1, good.back() ^ 1), NtsReplyVerdict::NotAuthentic},
        {"the header altered", changed(40, good[40] ^ 1), NtsReplyVerdict::NotAuthentic},
        {"sealed with the C2S key", Reply(request, Cookies(1), kC2s), NtsReplyVerdict::NotAuthentic},
        {"a sealed field misaligned", Reply(request, misalignedField), NtsReplyVerdict::Misaligned},
        {"an NTS NAK", nak(ourId), NtsReplyVerdict::NtsNak},
        {"an NTS NAK for another request", nak(otherId), NtsReplyVerdict::WrongUniqueId},
        {"another kiss code without an authenticator", nak(ourId, 'X'), NtsReplyVerdict::NoAuthenticator},
    };
    EXPECT_EQ(NtsReplyVerdict::Authentic, VerifyNtsReply(good.data(), good.size(), kUniqueId, kS2c).verdict);
    for (const auto& c : cases) {
        const NtsReply reply = VerifyNtsReply(c.reply.data(), c.reply.size(), kUniqueId, kS2c);
        EXPECT_EQ(c.verdict, reply.verdict) << c.what;
        EXPECT_TRUE(reply.cookies.empty()) << c.what;
    }
}

}  // namespace
