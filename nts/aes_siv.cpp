// S2V over AES-CMAC and CTR over AES from mbed TLS, composed as RFC 5297 section 2 does.
#include "aes_siv.h"

#include <cstring>
#include <utility>

#include "mbedtls/aes.h"
#include "mbedtls/cipher.h"
#include "mbedtls/cmac.h"
#include "mbedtls/platform_util.h"

namespace {

constexpr size_t kBlock = 16;
using Block = std::array<uint8_t, kBlock>;

// Multiplication by x in GF(2^128), RFC 5297's dbl().
Block Double(const Block& in)
{
    Block out;
    for (size_t i = 0; i < kBlock; ++i) {
        const uint8_t carry = i + 1 < kBlock ? in[i + 1] >> 7 : 0;
        out[i] = static_cast<uint8_t>(in[i] << 1 | carry);
    }
    if (in[0] & 0x80) {
        out[kBlock - 1] ^= 0x87;
    }
    return out;
}

void XorInto(Block& into, const uint8_t* with)
{
    for (size_t i = 0; i < kBlock; ++i) {
        into[i] ^= with[i];
    }
}

// Compares without an early exit, so the time taken tells nothing about where a forged tag differs.
bool SameTag(const Block& a, const Block& b)
{
    uint8_t difference = 0;
    for (size_t i = 0; i < kBlock; ++i) {
        difference |= a[i] ^ b[i];
    }
    return difference == 0;
}

// AES-CMAC with K1 over one string at a time.
class Cmac {
public:
    explicit Cmac(const uint8_t* key)
    {
        mbedtls_cipher_init(&m_context);
        m_ready = mbedtls_cipher_setup(&m_context, mbedtls_cipher_info_from_type(MBEDTLS_CIPHER_AES_128_ECB)) == 0 &&
                  mbedtls_cipher_cmac_starts(&m_context, key, 128) == 0;
    }
    ~Cmac() { mbedtls_cipher_free(&m_context); }
    Cmac(const Cmac&) = delete;
    Cmac& operator=(const Cmac&) = delete;

    bool Mac(const uint8_t* data, size_t size, Block* out)
    {
        return m_ready && mbedtls_cipher_cmac_update(&m_context, data, size) == 0 &&
               mbedtls_cipher_cmac_finish(&m_context, out->data()) == 0 &&
               mbedtls_cipher_cmac_reset(&m_context) == 0;
    }

private:
    mbedtls_cipher_context_t m_context;
    bool m_ready = false;
};

// S2V(K1, S1, ..., Sn) with the plaintext as Sn.
bool S2v(const uint8_t* k1, const std::vector<ByteRange>& associatedData, const uint8_t* plaintext, size_t size,
         Block* v)
{
    Cmac cmac(k1);
    const Block zero{};
    Block d;
    if (!cmac.Mac(zero.data(), zero.size(), &d)) {
        return false;
    }
    for (const ByteRange& string : associatedData) {
        Block mac;
        if (!cmac.Mac(string.data, string.size, &mac)) {
            return false;
        }
        d = Double(d);
        XorInto(d, mac.data());
    }
    if (size >= kBlock) {
        // xorend: D into the last 16 bytes of the plaintext.
        std::vector<uint8_t> t(plaintext, plaintext + size);
        for (size_t i = 0; i < kBlock; ++i) {
            t[size - kBlock + i] ^= d[i];
        }
        const bool ok = cmac.Mac(t.data(), t.size(), v);
        mbedtls_platform_zeroize(t.data(), t.size());
        return ok;
    }
    Block t{};
    if (size > 0) {
        std::memcpy(t.data(), plaintext, size);
    }
    t[size] = 0x80;  // pad(): a one bit, then zeros
    Block doubled = Double(d);
    XorInto(doubled, t.data());
    return cmac.Mac(doubled.data(), doubled.size(), v);
}

// AES-CTR with K2 from the synthetic IV with bits 31 and 63 cleared (RFC 5297 section 2.5).
bool Ctr(const uint8_t* k2, const Block& v, const uint8_t* in, size_t size, uint8_t* out)
{
    mbedtls_aes_context aes;
    mbedtls_aes_init(&aes);
    bool ok = mbedtls_aes_setkey_enc(&aes, k2, 128) == 0;
    Block counter = v;
    counter[8] &= 0x7F;
    counter[12] &= 0x7F;
    for (size_t at = 0; ok && at < size; at += kBlock) {
        Block stream;
        ok = mbedtls_aes_crypt_ecb(&aes, MBEDTLS_AES_ENCRYPT, counter.data(), stream.data()) == 0;
        for (size_t i = 0; ok && i < kBlock && at + i < size; ++i) {
            out[at + i] = in[at + i] ^ stream[i];
        }
        for (size_t i = kBlock; i-- > 0 && ++counter[i] == 0;) {
        }
    }
    mbedtls_aes_free(&aes);
    return ok;
}

}  // namespace

std::vector<uint8_t> AesSivSeal(const AesSivKey& key, const std::vector<ByteRange>& associatedData,
                                const uint8_t* plaintext, size_t plaintextSize)
{
    Block v;
    if (associatedData.size() > kAesSivMaxAssociatedData ||
        !S2v(key.data(), associatedData, plaintext, plaintextSize, &v)) {
        return {};
    }
    std::vector<uint8_t> sealed(kAesSivTagSize + plaintextSize);
    std::memcpy(sealed.data(), v.data(), kAesSivTagSize);
    if (!Ctr(key.data() + 16, v, plaintext, plaintextSize, sealed.data() + kAesSivTagSize)) {
        return {};
    }
    return sealed;
}

bool AesSivOpen(const AesSivKey& key, const std::vector<ByteRange>& associatedData, const uint8_t* sealed,
                size_t sealedSize, std::vector<uint8_t>* plaintext)
{
    plaintext->clear();
    if (sealedSize < kAesSivTagSize || associatedData.size() > kAesSivMaxAssociatedData) {
        return false;
    }
    Block v;
    std::memcpy(v.data(), sealed, kAesSivTagSize);
    std::vector<uint8_t> opened(sealedSize - kAesSivTagSize);
    Block expected;
    const bool authentic =
        Ctr(key.data() + 16, v, sealed + kAesSivTagSize, opened.size(), opened.data()) &&
        S2v(key.data(), associatedData, opened.data(), opened.size(), &expected) &&
        SameTag(expected, v);
    if (!authentic) {
        mbedtls_platform_zeroize(opened.data(), opened.size());
        return false;
    }
    *plaintext = std::move(opened);
    return true;
}
