#include "tally/PrizeTable.h"

#include <limits>

namespace quenmar::tally {

namespace {

constexpr int kAllNumbers = 80;

// Binomial coefficient; exact for every value used here (C(80,10) is about 1.6e12).
double choose(int n, int k) {
    if (k < 0 || k > n) {
        return 0.0;
    }
    double value = 1.0;
    for (int i = 1; i <= k; ++i) {
        value = value * static_cast<double>(n - k + i) / static_cast<double>(i);
    }
    return value;
}

} // namespace

Prize pickTenPrize(std::int64_t issue, int hits) {
    if (hits < 0 || hits >= kHitCounts) {
        return {};
    }
    const PrizeVersion* version = &kPickTenPrizes.front();
    for (const PrizeVersion& candidate : kPickTenPrizes) {
        if (candidate.fromIssue <= issue) {
            version = &candidate;
        }
    }
    return version->byHits[static_cast<std::size_t>(hits)];
}

std::int64_t issueNumber(std::string_view issueDigits) {
    std::int64_t value = 0;
    for (const char c : issueDigits) {
        if (c < '0' || c > '9') {
            continue;
        }
        if (value > (std::numeric_limits<std::int64_t>::max() - 9) / 10) {
            return std::numeric_limits<std::int64_t>::max();
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

double chanceOfHits(int hits) {
    return choose(kDrawNumbers, hits) * choose(kAllNumbers - kDrawNumbers, kBetNumbers - hits) /
           choose(kAllNumbers, kBetNumbers);
}

} // namespace quenmar::tally
