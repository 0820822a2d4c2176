// Median and falsetickers of the answers' offsets.
#include "consensus.h"

#include <algorithm>

namespace {

int64_t Median(std::vector<int64_t> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) {
        return values[middle];
    }
    return values[middle - 1] + (values[middle] - values[middle - 1]) / 2;
}

int64_t Distance(int64_t a, int64_t b)
{
    return a > b ? a - b : b - a;
}

}  // namespace

Consensus ChooseConsensus(const std::vector<int64_t>& offsets, bool oneServerAsked)
{
    Consensus result;
    if (offsets.empty()) {
        return result;
    }
    const int64_t median = Median(offsets);
    std::vector<int64_t> agreeing;
    for (int64_t offset : offsets) {
        const bool agrees = Distance(offset, median) <= kAgreementTicks;
        result.agreeing.push_back(agrees);
        if (agrees) {
            agreeing.push_back(offset);
        }
    }
    result.agreed = agreeing.size() >= 2 || (oneServerAsked && offsets.size() == 1);
    if (!result.agreed) {
        return result;
    }
    result.offsetTicks = Median(agreeing);
    for (size_t i = 0; i < offsets.size(); ++i) {
        if (result.agreeing[i] && (result.chosen < 0 || Distance(offsets[i], result.offsetTicks) <
                                                            Distance(offsets[static_cast<size_t>(result.chosen)],
                                                                     result.offsetTicks))) {
            result.chosen = static_cast<int>(i);
        }
    }
    return result;
}

bool TwoAgree(const std::vector<int64_t>& offsets)
{
    for (size_t i = 0; i < offsets.size(); ++i) {
        for (size_t j = i + 1; j < offsets.size(); ++j) {
            if (Distance(offsets[i], offsets[j]) <= kAgreementTicks) {
                return true;
            }
        }
    }
    return false;
}
