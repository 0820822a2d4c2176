// Fuzzes the numeric edits: whatever is typed becomes a number within the range, and a normalised
// text is never rewritten again (the change notification it raises must end there).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/number_text.h"

namespace {

void CheckRange(const std::string& typed, int32_t minimum, int32_t maximum)
{
    const NumberEditChange change = NormalizeNumberText(typed, minimum, maximum);
    const std::string afterwards = change.rewrite ? change.text : typed;
    const int32_t value = NumberEditValue(afterwards);
    if (value < minimum || value > maximum) {
        std::abort();
    }
    if (change.rewrite && NormalizeNumberText(afterwards, minimum, maximum).rewrite) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The edits give the normaliser their first 11 bytes, up to a zero byte.
    std::string typed(reinterpret_cast<const char*>(data), size < kNumberEditReadBytes ? size : kNumberEditReadBytes);
    typed = typed.c_str();
    CheckRange(typed, 0, 360);
    CheckRange(typed, -360, 360);
    return 0;
}
