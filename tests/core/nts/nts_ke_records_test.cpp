// NTS-KE: the request's bytes, and which responses give cookies and which are refused, and why.
#include "nts/nts_ke_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../hex_bytes.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Record(uint16_t type, const Bytes& body, bool critical = true)
{
    const uint16_t field = static_cast<uint16_t>(type | (critical ? 0x8000 : 0));
    Bytes record(4 + body.size());
    record[0] = static_cast<uint8_t>(field >> 8);
    record[1] = static_cast<uint8_t>(field);
    record[2] = static_cast<uint8_t>(body.size() >> 8);
    record[3] = static_cast<uint8_t>(body.size());
    std::copy(body.begin(), body.end(), record.begin() + 4);
    return record;
}

Bytes Join(const std::vector<Bytes>& records)
{
    Bytes all;
    for (const Bytes& r : records) {
        all.insert(all.end(), r.begin(), r.end());
    }
    return all;
}

const Bytes kProtocol = Record(1, {0, 0});
const Bytes kAead = Record(4, {0, 15});
const Bytes kEnd = Record(0, {});
Bytes Cookie(uint8_t fill, size_t size = 100) { return Record(5, Bytes(size, fill), false); }

NtsKeResponse Parse(const Bytes& bytes)
{
    return ParseNtsKeResponse(bytes.data(), bytes.size());
}

TEST(NtsKeRequest, AsksForNtpV4AndAesSivWithCriticalRecords)
{
    EXPECT_EQ(HexBytes("8001 0002 0000  8004 0002 000f  8000 0000"), BuildNtsKeRequest());
}

TEST(NtsKeResponse, TakesWhatTheServerGives)
{
    const NtsKeResponse plain = Parse(Join({kProtocol, kAead, Cookie(1), Cookie(2, 4), kEnd}));
    ASSERT_EQ(NtsKeVerdict::Complete, plain.verdict);
    EXPECT_EQ((std::vector<Bytes>{Bytes(100, 1), Bytes(4, 2)}), plain.cookies);
    EXPECT_EQ("", plain.ntpServer);
    EXPECT_FALSE(plain.hasNtpPort);

    const NtsKeResponse elsewhere = Parse(Join({Record(6, {'t', 'i', 'm', 'e', '.', 'e', 'x'}), Record(7, {0x11, 0x5C}),
                                                kAead, kProtocol, Cookie(3, 256), kEnd}));
    ASSERT_EQ(NtsKeVerdict::Complete, elsewhere.verdict);
    EXPECT_EQ("time.ex", elsewhere.ntpServer);
    EXPECT_TRUE(elsewhere.hasNtpPort);
    EXPECT_EQ(4444, elsewhere.ntpPort);
    EXPECT_EQ(1u, elsewhere.cookies.size());

    std::vector<Bytes> many = {kProtocol, kAead};
    for (uint8_t i = 1; i <= 10; ++i) {
        many.push_back(Cookie(i));
    }
    many.push_back(Record(0x1234, {9, 9, 9}, false));  // unknown but not critical: skipped
    many.push_back(kEnd);
    const NtsKeResponse ten = Parse(Join(many));
    ASSERT_EQ(NtsKeVerdict::Complete, ten.verdict);
    ASSERT_EQ(kNtsMaxCookies, ten.cookies.size());
    EXPECT_EQ(Bytes(100, 8), ten.cookies.back()) << "the first eight are kept";
}

TEST(NtsKeResponse, RefusesWhatNoClientShouldUse)
{
    const struct {
        const char* what;
        Bytes response;
        NtsKeVerdict verdict;
        uint16_t recordType;
    } cases[] = {
        {"an unknown critical record", Join({kProtocol, kAead, Record(0x1234, {}), Cookie(1), kEnd}),
         NtsKeVerdict::UnknownCriticalRecord, 0x1234},
        {"an End of Message with a body", Join({kProtocol, kAead, Cookie(1), Record(0, {0, 0})}), NtsKeVerdict::Malformed, 0},
        {"a byte after End of Message", Join({kProtocol, kAead, Cookie(1), kEnd, Bytes{0}}), NtsKeVerdict::BytesAfterEnd, 0},
        {"no protocol at all", Join({Record(1, {}), kAead, Cookie(1), kEnd}), NtsKeVerdict::ProtocolRefused, 1},
        {"another protocol", Join({Record(1, {0x80, 0x01}), kAead, Cookie(1), kEnd}), NtsKeVerdict::ProtocolRefused, 1},
        {"two protocols", Join({Record(1, {0, 0, 0, 1}), kAead, Cookie(1), kEnd}), NtsKeVerdict::ProtocolRefused, 1},
        {"no protocol record", Join({kAead, Cookie(1), kEnd}), NtsKeVerdict::ProtocolRefused, 1},
        {"a second protocol record", Join({kProtocol, kProtocol, kAead, Cookie(1), kEnd}), NtsKeVerdict::DuplicateRecord, 1},
        {"another AEAD", Join({kProtocol, Record(4, {0, 30}), Cookie(1), kEnd}), NtsKeVerdict::AeadRefused, 4},
        {"no AEAD record", Join({kProtocol, Cookie(1), kEnd}), NtsKeVerdict::AeadRefused, 4},
        {"a second AEAD record", Join({kProtocol, kAead, kAead, Cookie(1), kEnd}), NtsKeVerdict::DuplicateRecord, 4},
        {"an error", Join({Record(2, {0, 1}), kEnd}), NtsKeVerdict::ServerError, 2},
        {"an error of three bytes", Join({Record(2, {0, 1, 0}), kEnd}), NtsKeVerdict::Malformed, 2},
        {"a warning", Join({kProtocol, kAead, Cookie(1), Record(3, {0, 7}), kEnd}), NtsKeVerdict::ServerWarning, 3},
        {"no cookie", Join({kProtocol, kAead, kEnd}), NtsKeVerdict::NoCookie, 5},
        {"an empty cookie", Join({kProtocol, kAead, Cookie(1, 0), kEnd}), NtsKeVerdict::CookieSize, 5},
        {"a cookie of 257 bytes", Join({kProtocol, kAead, Cookie(1, 257), kEnd}), NtsKeVerdict::CookieSize, 5},
        {"a port of three bytes", Join({kProtocol, kAead, Cookie(1), Record(7, {0, 1, 2}), kEnd}), NtsKeVerdict::Malformed, 7},
        {"two ports", Join({kProtocol, kAead, Cookie(1), Record(7, {0, 1}), Record(7, {0, 2}), kEnd}),
         NtsKeVerdict::DuplicateRecord, 7},
        {"an empty server name", Join({kProtocol, kAead, Cookie(1), Record(6, {}), kEnd}), NtsKeVerdict::Malformed, 6},
        {"a server name with a space", Join({kProtocol, kAead, Cookie(1), Record(6, {'a', ' ', 'b'}), kEnd}),
         NtsKeVerdict::Malformed, 6},
        {"two server names", Join({kProtocol, kAead, Cookie(1), Record(6, {'a'}), Record(6, {'b'}), kEnd}),
         NtsKeVerdict::DuplicateRecord, 6},
        {"more than 64 KB", Join({kProtocol, kAead, Cookie(1), Record(0x4000, Bytes(65535, 0), false), kEnd}),
         NtsKeVerdict::TooLong, 0},
    };
    for (const auto& c : cases) {
        const NtsKeResponse response = Parse(c.response);
        EXPECT_EQ(c.verdict, response.verdict) << c.what;
        EXPECT_EQ(c.recordType, response.recordType) << c.what;
        EXPECT_TRUE(response.cookies.empty()) << c.what;
    }
    EXPECT_EQ(1, Parse(Join({Record(2, {0, 1}), kEnd})).errorCode);
    EXPECT_EQ(7, Parse(Join({kProtocol, kAead, Cookie(1), Record(3, {0, 7}), kEnd})).errorCode);
}

// As a stream brings it: every shorter piece, cut inside a record or between two, asks for more.
TEST(NtsKeResponse, AsksForMoreUntilEndOfMessage)
{
    const Bytes whole = Join({kProtocol, kAead, Cookie(1, 8), Record(6, {'x'}), kEnd});
    for (size_t size = 0; size < whole.size(); ++size) {
        EXPECT_EQ(NtsKeVerdict::Incomplete, ParseNtsKeResponse(whole.data(), size).verdict) << size << " bytes";
    }
    EXPECT_EQ(NtsKeVerdict::Complete, Parse(whole).verdict);
}

}  // namespace
