// Fuzzes an NTP reply with NTS fields: the verifier with a fixed Unique Identifier and S2C key, and
// the same bytes sealed as a proper reply, which must then verify and give back their cookies.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "nts/nts_extension_fields.h"
#include "nts/nts_ke_records.h"

namespace {

const NtsUniqueId kUniqueId = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16,
                               17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
const AesSivKey kS2c = {0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A,
                        0x8B, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x91, 0x92, 0x93, 0x94, 0x95,
                        0x96, 0x97, 0x98, 0x99, 0x9A, 0x9B, 0x9C, 0x9D, 0x9E, 0x9F};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const NtsReply reply = VerifyNtsReply(data, size, kUniqueId, kS2c);
    if (reply.cookies.size() > kNtsMaxCookies ||
        (reply.verdict != NtsReplyVerdict::Authentic && !reply.cookies.empty())) {
        std::abort();
    }

    // The input as the sealed fields of a reply that is otherwise right.
    std::vector<uint8_t> sealed(48, 0);
    sealed[0] = 0x24;
    sealed[1] = 2;
    AppendExtensionField(sealed, kNtsUniqueIdentifierField, kUniqueId.data(), kUniqueId.size());
    if (size > 2048 || !AppendNtsAuthenticator(sealed, kS2c, NtsNonce{7}, std::vector<uint8_t>(data, data + size))) {
        return 0;
    }
    std::vector<ExtensionField> fields;
    const bool wellFormed = ReadExtensionFields(data, size, 0, &fields) == ExtensionFieldsVerdict::Ok;
    const NtsReply opened = VerifyNtsReply(sealed.data(), sealed.size(), kUniqueId, kS2c);
    if ((opened.verdict == NtsReplyVerdict::Authentic) != wellFormed) {
        std::abort();
    }
    return 0;
}
