// Median and falsetickers of the answers' offsets.
#include "consensus.h"

#include <algorithm>

#include "base/byte_order.h"

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

bool Follows(const AnswerSource& follower, const AnswerSource& server)
{
    return follower.namesUpstream && server.address.family == NetAddress::Family::V4 &&
           follower.upstream == ReadBigEndian32(server.address.bytes.data());
}

// The agreeing answers that count, one a source.
size_t IndependentAgreeing(const std::vector<bool>& agreeing, const std::vector<AnswerSource>& sources)
{
    std::vector<const AnswerSource*> counted;
    for (size_t i = 0; i < agreeing.size(); ++i) {
        if (agreeing[i] && std::none_of(counted.begin(), counted.end(),
                                        [&](const AnswerSource* other) { return SameSource(*other, sources[i]); })) {
            counted.push_back(&sources[i]);
        }
    }
    return counted.size();
}

}  // namespace

bool SameSource(const AnswerSource& a, const AnswerSource& b)
{
    return a.address == b.address || (a.namesUpstream && b.namesUpstream && a.upstream == b.upstream) ||
           Follows(a, b) || Follows(b, a);
}

AnswerSource SourceOf(const ServerAnswer& answer)
{
    // Stratum 2 and beyond name the server they follow; stratum 1 names a clock, and 0 a kiss.
    return {answer.from, answer.stratum >= 2, answer.referenceId};
}

bool OneSource(const std::vector<AnswerSource>& sources)
{
    return std::all_of(sources.begin(), sources.end(),
                       [&](const AnswerSource& each) { return SameSource(each, sources[0]); });
}

Consensus ChooseConsensus(const std::vector<int64_t>& offsets, const std::vector<AnswerSource>& sources,
                          bool oneServerAsked)
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
    result.agreed = IndependentAgreeing(result.agreeing, sources) >= 2 || (oneServerAsked && offsets.size() == 1);
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

bool TwoAgree(const std::vector<int64_t>& offsets, const std::vector<AnswerSource>& sources)
{
    for (size_t i = 0; i < offsets.size(); ++i) {
        for (size_t j = i + 1; j < offsets.size(); ++j) {
            if (Distance(offsets[i], offsets[j]) <= kAgreementTicks && !SameSource(sources[i], sources[j])) {
                return true;
            }
        }
    }
    return false;
}

bool HeldAnswers::Confirm(int64_t offsetTicks, const AnswerSource& source) const
{
    return std::any_of(m_held.begin(), m_held.end(), [&](const Held& held) {
        return Distance(held.offsetTicks, offsetTicks) <= kAgreementTicks && !SameSource(held.source, source);
    });
}
