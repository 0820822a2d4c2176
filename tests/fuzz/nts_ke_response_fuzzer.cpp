// Fuzzes an NTS-KE response as the stream brings it: every verdict keeps the header's promises on
// cookies, and reading more never turns a final verdict back into a request for more.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "nts/nts_ke_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const NtsKeResponse whole = ParseNtsKeResponse(data, size);
    if (whole.verdict == NtsKeVerdict::Complete) {
        if (whole.cookies.empty() || whole.cookies.size() > kNtsMaxCookies) {
            std::abort();
        }
        for (const auto& cookie : whole.cookies) {
            if (cookie.empty() || cookie.size() > kNtsMaxCookieSize) {
                std::abort();
            }
        }
    } else if (!whole.cookies.empty()) {
        std::abort();
    }
    const NtsKeResponse half = ParseNtsKeResponse(data, size / 2);
    if (half.verdict != NtsKeVerdict::Incomplete && whole.verdict == NtsKeVerdict::Incomplete) {
        std::abort();
    }
    return 0;
}
