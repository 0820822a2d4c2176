// AES-SIV against the worked examples of RFC 5297 appendix A, and what it refuses.
#include "nts/aes_siv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../hex_bytes.h"

namespace {

AesSivKey KeyOf(const std::string& hex)
{
    const std::vector<uint8_t> bytes = HexBytes(hex);
    AesSivKey key{};
    std::copy(bytes.begin(), bytes.end(), key.begin());
    return key;
}

std::vector<ByteRange> Ranges(const std::vector<std::vector<uint8_t>>& strings)
{
    std::vector<ByteRange> ranges;
    for (const auto& s : strings) {
        ranges.push_back({s.data(), s.size()});
    }
    return ranges;
}

struct Example {
    const char* what;
    const char* key;
    std::vector<std::string> associatedData;  // the nonce, when there is one, last
    const char* plaintext;
    const char* sealed;  // synthetic IV, then ciphertext
};

const Example kExamples[] = {
    {"A.1 deterministic",
     "fffefdfc fbfaf9f8 f7f6f5f4 f3f2f1f0 f0f1f2f3 f4f5f6f7 f8f9fafb fcfdfeff",
     {"10111213 14151617 18191a1b 1c1d1e1f 20212223 24252627"},
     "11223344 55667788 99aabbcc ddee",
     "85632d07 c6e8f37f 950acd32 0a2ecc93 40c02b96 90c4dc04 daef7f6a fe5c"},
    {"A.2 nonce-based",
     "7f7e7d7c 7b7a7978 77767574 73727170 40414243 44454647 48494a4b 4c4d4e4f",
     {"00112233 44556677 8899aabb ccddeeff deaddada deaddada ffeeddcc bbaa9988 77665544 33221100",
      "10203040 50607080 90a0", "09f91102 9d74e35b d84156c5 635688c0"},
     "74686973 20697320 736f6d65 20706c61 696e7465 78742074 6f20656e 63727970 74207573 696e6720 5349562d 414553",
     "7bdb6e3b 432667eb 06f4d14b ff2fbd0f cb900f2f ddbe4043 26601965 c889bf17 dba77ceb 094fa663 b7a3f748 ba8af829 "
     "ea64ad54 4a272e9c 485b62a3 fd5c0d"},
};

TEST(AesSiv, SealsAndOpensTheWorkedExamples)
{
    for (const Example& e : kExamples) {
        std::vector<std::vector<uint8_t>> strings;
        for (const std::string& s : e.associatedData) {
            strings.push_back(HexBytes(s));
        }
        const std::vector<uint8_t> plaintext = HexBytes(e.plaintext);
        const std::vector<uint8_t> sealed = AesSivSeal(KeyOf(e.key), Ranges(strings), plaintext.data(), plaintext.size());
        EXPECT_EQ(HexBytes(e.sealed), sealed) << e.what;

        std::vector<uint8_t> opened;
        EXPECT_TRUE(AesSivOpen(KeyOf(e.key), Ranges(strings), sealed.data(), sealed.size(), &opened)) << e.what;
        EXPECT_EQ(plaintext, opened) << e.what;
    }
}

// The nonce-based example, altered one way at a time: none may open, and nothing leaks out.
TEST(AesSiv, RefusesAnythingAltered)
{
    const Example& e = kExamples[1];
    const AesSivKey key = KeyOf(e.key);
    const std::vector<std::vector<uint8_t>> strings = {HexBytes(e.associatedData[0]), HexBytes(e.associatedData[1]),
                                                       HexBytes(e.associatedData[2])};
    const std::vector<uint8_t> sealed = HexBytes(e.sealed);

    struct Alteration {
        const char* what;
        size_t sealedByte;  // flipped when below the sealed size
        size_t string;      // the associated data string altered, or dropped with dropString
        size_t stringByte;
        bool dropString;
        size_t sealedSize;
    };
    const size_t none = SIZE_MAX;
    const Alteration alterations[] = {
        {"a bit of the tag", 0, none, 0, false, sealed.size()},
        {"the last byte of the tag", 15, none, 0, false, sealed.size()},
        {"a byte of the ciphertext", 20, none, 0, false, sealed.size()},
        {"a byte of the first associated data", none, 0, 5, false, sealed.size()},
        {"the nonce", none, 2, 15, false, sealed.size()},
        {"the second associated data left out", none, 1, 0, true, sealed.size()},
        {"the ciphertext cut short by one byte", none, none, 0, false, sealed.size() - 1},
        {"shorter than a tag", none, none, 0, false, 15},
    };
    for (const Alteration& a : alterations) {
        std::vector<uint8_t> text = sealed;
        if (a.sealedByte < text.size()) {
            text[a.sealedByte] ^= 0x01;
        }
        std::vector<std::vector<uint8_t>> altered = strings;
        if (a.dropString) {
            altered.erase(altered.begin() + static_cast<std::ptrdiff_t>(a.string));
        } else if (a.string != none) {
            altered[a.string][a.stringByte] ^= 0x80;
        }
        std::vector<uint8_t> opened = {1, 2, 3};
        EXPECT_FALSE(AesSivOpen(key, Ranges(altered), text.data(), a.sealedSize, &opened)) << a.what;
        EXPECT_TRUE(opened.empty()) << a.what;
    }
}

// NTS seals nothing in a request: the tag alone then authenticates the associated data.
TEST(AesSiv, AnEmptyPlaintextSealsToATagThatStillAuthenticates)
{
    const AesSivKey key = KeyOf(kExamples[0].key);
    const std::vector<uint8_t> header = HexBytes("2300 0000 0102 0304");
    const std::vector<ByteRange> associatedData = {{header.data(), header.size()}};
    const std::vector<uint8_t> sealed = AesSivSeal(key, associatedData, nullptr, 0);
    ASSERT_EQ(kAesSivTagSize, sealed.size());

    std::vector<uint8_t> opened;
    EXPECT_TRUE(AesSivOpen(key, associatedData, sealed.data(), sealed.size(), &opened));
    std::vector<uint8_t> other = header;
    other[7] = 0x05;
    EXPECT_FALSE(AesSivOpen(key, {{other.data(), other.size()}}, sealed.data(), sealed.size(), &opened));
}

TEST(AesSiv, RefusesMoreAssociatedDataThanS2vTakes)
{
    const uint8_t byte = 0;
    const std::vector<ByteRange> tooMany(kAesSivMaxAssociatedData + 1, ByteRange{&byte, 1});
    EXPECT_TRUE(AesSivSeal(KeyOf(kExamples[0].key), tooMany, &byte, 1).empty());
    const std::vector<ByteRange> most(kAesSivMaxAssociatedData, ByteRange{&byte, 1});
    EXPECT_EQ(17u, AesSivSeal(KeyOf(kExamples[0].key), most, &byte, 1).size());
}

}  // namespace
