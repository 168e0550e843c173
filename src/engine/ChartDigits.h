#pragma once

#include "base/Result.h"
#include "engine/CastRequest.h"
#include "engine/ChartResult.h"

#include <array>
#include <string>

// The numbers of a chart that the suggested numbers are made from, without its texts.
namespace quenmar {

/// The digits of the querent, the pillars and both hexagrams' lines, the 世/应 indexes and the
/// lines of the 青龙 and the 玄武: everything of a chart that its number basis reads.
struct ChartDigits {
    int zodiacDigit = 0;
    int dayStemDigit = 0;
    int dayBranchDigit = 0;
    int hourStemDigit = 0;
    int hourBranchDigit = 0;
    std::array<int, 6> primaryStemDigits{}; // line 1 first
    std::array<int, 6> primaryBranchDigits{};
    std::array<int, 6> changedStemDigits{};
    std::array<int, 6> changedBranchDigits{};
    int shiIndex = 0; // 0-based, as in the chart
    int yingIndex = 0;
    int changedShiIndex = 0;
    int changedYingIndex = 0;
    unsigned dragonOrTortoiseLines = 0; // bit i: the spirit of line index i is 青龙 or 玄武

    bool operator==(const ChartDigits&) const = default;
};

/// The digits of a finished chart; per-line values a short (unfilled) chart lacks read as 0.
ChartDigits chartDigits(const ChartResult& chart);

/// The digits castChart's chart would have, without its texts: the pillars and the cast as a
/// chart has them, the hexagrams' digits derived once per hexagram. checkCast's message when it
/// refuses the request.
Result<ChartDigits, std::string> castDigits(const CastRequest& request);

} // namespace quenmar
