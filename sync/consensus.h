// Several servers' answers agreeing on the time: the median of their offsets, the ones that agree
// with it within a second, and the others (falsetickers), as chrony and ntpd throw out a server
// that disagrees.
#pragma once

#include <cstdint>
#include <vector>

constexpr int64_t kAgreementTicks = 10000000;  // 1 s in 100 ns ticks

struct Consensus {
    bool agreed = false;            // at least two answers agree (or the only server asked answered)
    int64_t offsetTicks = 0;        // the median offset of the agreeing answers
    int chosen = -1;                // the agreeing answer nearest that median, -1 without agreement
    std::vector<bool> agreeing;     // per answer: within 1 s of the median of them all
};

// Offsets are server time minus local clock, one per answer. The median of them all decides who
// agrees; the time is the median of those who do. Set only when two agree, or when the round asked
// one server alone.
Consensus ChooseConsensus(const std::vector<int64_t>& offsets, bool oneServerAsked);

// Whether any two of the offsets agree: the round then waits only a little longer for the rest.
bool TwoAgree(const std::vector<int64_t>& offsets);
