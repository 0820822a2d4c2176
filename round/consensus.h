// Several servers' answers agreeing on the time: the median of their offsets, the ones that agree
// with it within a second, and the others (falsetickers), as chrony and ntpd throw out a server
// that disagrees.
#pragma once

#include <cstdint>
#include <vector>

#include "base/net_address.h"
#include "sntp/ntp_time.h"

constexpr int64_t kAgreementTicks = 10000000;  // 1 s in 100 ns ticks

struct Consensus {
    bool agreed = false;            // at least two answers agree (or the only server asked answered)
    int64_t offsetTicks = 0;        // the median offset of the agreeing answers
    int chosen = -1;                // the agreeing answer nearest that median, -1 without agreement
    std::vector<bool> agreeing;     // per answer: within 1 s of the median of them all
};

// Where an answer came from. One source counts once toward agreement, however many names lead to
// it: the same address and port twice, two servers that name the same server they follow (the
// reference identifier of stratum 2 and beyond), or one that follows the other's IPv4 address.
struct AnswerSource {
    NetAddress address;
    bool namesUpstream = false;  // stratum 2 or more: the reference identifier names a server
    uint32_t upstream = 0;       // that identifier, as the reply's four bytes read big-endian
};
bool SameSource(const AnswerSource& a, const AnswerSource& b);
// The source of a server's answer: who sent it, and whom it follows.
AnswerSource SourceOf(const ServerAnswer& answer);
// Whether every one of the sources is the first one (true for none).
bool OneSource(const std::vector<AnswerSource>& sources);

// Offsets are server time minus local clock, one per answer (each server's best sample), with the
// answers' sources. The median
// of them all decides who agrees; the time is the median of those who do. Set only when two that
// agree come from two sources, or when the round asked one server alone.
Consensus ChooseConsensus(const std::vector<int64_t>& offsets, const std::vector<AnswerSource>& sources,
                          bool oneServerAsked);

// Whether two of the answers from two sources agree: the round then waits only a little longer
// for the rest.
bool TwoAgree(const std::vector<int64_t>& offsets, const std::vector<AnswerSource>& sources);

// Answers too large to set alone, each held until another source says the same (a round of one
// server at a time).
class HeldAnswers {
public:
    void Clear() { m_held.clear(); }
    bool Empty() const { return m_held.empty(); }
    void Hold(int64_t offsetTicks, const AnswerSource& source) { m_held.push_back({offsetTicks, source}); }
    // Whether another source held an offset within a second of this one: the same server under a
    // second name says nothing new.
    bool Confirm(int64_t offsetTicks, const AnswerSource& source) const;

private:
    struct Held {
        int64_t offsetTicks;
        AnswerSource source;
    };
    std::vector<Held> m_held;
};
