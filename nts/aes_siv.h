// AEAD_AES_SIV_CMAC_256 (RFC 5297): authenticated encryption that stays safe when a nonce repeats,
// as NTS protects its NTP packets with it. The 32-byte key is K1 (S2V, AES-CMAC-128) then K2
// (CTR, AES-128).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t kAesSivKeySize = 32;
constexpr size_t kAesSivTagSize = 16;  // the synthetic IV that leads the sealed text
// S2V takes at most 127 strings, the plaintext among them (RFC 5297 section 7).
constexpr size_t kAesSivMaxAssociatedData = 126;

using AesSivKey = std::array<uint8_t, kAesSivKeySize>;

// A string authenticated but not encrypted: the caller keeps the bytes alive during the call.
struct ByteRange {
    const uint8_t* data;
    size_t size;
};

// The associated data are the strings S2V authenticates before the plaintext, in order. A nonce is
// the last of them (the AEAD form of RFC 5297 section 6 is {associated data, nonce}).

// The synthetic IV (16 bytes) followed by the ciphertext, as long as the plaintext. Empty when there
// are more associated data strings than S2V takes.
std::vector<uint8_t> AesSivSeal(const AesSivKey& key, const std::vector<ByteRange>& associatedData,
                                const uint8_t* plaintext, size_t plaintextSize);

// The plaintext of sealed text (synthetic IV then ciphertext), when it is authentic under the key
// and the associated data; false, with the plaintext left empty, when any of them was altered.
bool AesSivOpen(const AesSivKey& key, const std::vector<ByteRange>& associatedData, const uint8_t* sealed,
                size_t sealedSize, std::vector<uint8_t>* plaintext);
