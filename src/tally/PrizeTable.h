#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// What a 快乐8 选十 bet (ten numbers) pays per 2 元 stake, by the number of its hits, in each
// version of the prize table, and the chance of each hit count for a bet picked at random.
namespace quenmar::tally {

inline constexpr int kBetNumbers = 10;             // a 选十 bet
inline constexpr int kDrawNumbers = 20;            // numbers drawn of the 80
inline constexpr int kStakeYuan = 2;               // one bet
inline constexpr int kHitCounts = kBetNumbers + 1; // 0..10 hits

/// The prize of one bet: a fixed amount in 元, or the floating top prize, whose amount depends
/// on the draw's pool and sales and is not known here.
struct Prize {
    int yuan = 0;
    bool floating = false;

    bool operator==(const Prize&) const = default;
};

inline constexpr Prize kFloating{0, true};

/// One version of the table: the first issue it applies to, and the prize of 0..10 hits.
struct PrizeVersion {
    std::int64_t fromIssue = 0;
    std::array<Prize, kHitCounts> byHits{};
};

// The 选十 prize table. Source: a public summary of the operator's notices on the change of
// the 快乐8 prizes from issue 2025350 (8 hits: 800 元 before it, 720 元 from it on). A later
// change is one more line, from its first issue.
// clang-format off
inline constexpr std::array<PrizeVersion, 2> kPickTenPrizes{{
    //             0 hits   1    2    3    4    5      6      7       8        9         10
    {0,       {{{2}, {0}, {0}, {0}, {0}, {3}, {5}, {80}, {800}, {8000}, kFloating}}},
    {2025350, {{{2}, {0}, {0}, {0}, {0}, {3}, {5}, {80}, {720}, {8000}, kFloating}}},
}};
// clang-format on

/// The prize of a bet with `hits` hits (0..10) in the draw of `issue` (the issue's digits as a
/// number): by the latest version that applies from that issue or before it.
Prize pickTenPrize(std::int64_t issue, int hits);

/// The issue's digits as a number, for choosing the table; a text of more digits than a number
/// holds reads as the largest issue.
std::int64_t issueNumber(std::string_view issueDigits);

/// The chance that a random ten-number bet has `hits` of the twenty drawn numbers:
/// C(20,k)·C(60,10−k)/C(80,10).
double chanceOfHits(int hits);

} // namespace quenmar::tally
