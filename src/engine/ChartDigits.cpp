#include "engine/ChartDigits.h"

#include "base/Utf8.h"
#include "engine/Calendar.h"
#include "engine/CastRule.h"
#include "engine/Casting.h"
#include "engine/Derivation.h"
#include "engine/Tables.h"

#include <string_view>
#include <vector>

namespace quenmar {

namespace {

// Bit i set when spirit i (of six at most) is 青龙 or 玄武.
template <typename Spirits>
unsigned dragonOrTortoiseLinesOf(const Spirits& spirits) {
    unsigned lines = 0;
    for (std::size_t i = 0; i < 6 && i < spirits.size(); ++i) {
        const std::string_view spirit = spirits[i];
        if (spirit == "青龙" || spirit == "玄武") {
            lines |= 1U << i;
        }
    }
    return lines;
}

std::array<int, 6> firstSix(const std::vector<int>& values) {
    std::array<int, 6> six{};
    for (std::size_t i = 0; i < six.size() && i < values.size(); ++i) {
        six[i] = values[i];
    }
    return six;
}

} // namespace

ChartDigits chartDigits(const ChartResult& chart) {
    ChartDigits d;
    d.zodiacDigit = chart.zodiacDigit;
    d.dayStemDigit = chart.dayStemDigit;
    d.dayBranchDigit = chart.dayBranchDigit;
    d.hourStemDigit = chart.hourStemDigit;
    d.hourBranchDigit = chart.hourBranchDigit;
    d.primaryStemDigits = firstSix(chart.primaryStemDigits);
    d.primaryBranchDigits = firstSix(chart.primaryBranchDigits);
    d.changedStemDigits = firstSix(chart.changedStemDigits);
    d.changedBranchDigits = firstSix(chart.changedBranchDigits);
    d.shiIndex = chart.shiIndex;
    d.yingIndex = chart.yingIndex;
    d.changedShiIndex = chart.changedShiIndex;
    d.changedYingIndex = chart.changedYingIndex;
    d.dragonOrTortoiseLines = dragonOrTortoiseLinesOf(chart.primarySpirits);
    return d;
}

Result<ChartDigits, std::string> castDigits(const CastRequest& request) {
    const CastVerdict verdict = checkCast(request, CastStage::Completed);
    if (!verdict.castable()) {
        return Failure{std::string(verdict.message)};
    }
    ChartDigits d;
    const std::string day = dayPillar(request.moment);
    const std::string_view dayStem = utf8::charAt(day, 0);
    const PillarDigits dayDigits = pillarDigits(day);
    const PillarDigits hourDigits = pillarDigits(hourPillar(request.moment, dayStem));
    d.zodiacDigit = branchDigit(branchText(request.zodiac));
    d.dayStemDigit = dayDigits.stem;
    d.dayBranchDigit = dayDigits.branch;
    d.hourStemDigit = hourDigits.stem;
    d.hourBranchDigit = hourDigits.branch;

    const CastTrigrams cast = castTrigrams(request);
    const HexagramDigits primary = hexagramDigits(cast.upper, cast.lower);
    const HexagramDigits changed = hexagramDigits(cast.changedUpper, cast.changedLower);
    d.primaryStemDigits = primary.stemDigits;
    d.primaryBranchDigits = primary.branchDigits;
    d.changedStemDigits = changed.stemDigits;
    d.changedBranchDigits = changed.branchDigits;
    d.shiIndex = primary.shiLine - 1;
    d.yingIndex = primary.yingLine - 1;
    d.changedShiIndex = changed.shiLine - 1;
    d.changedYingIndex = changed.yingLine - 1;
    d.dragonOrTortoiseLines = dragonOrTortoiseLinesOf(spiritOrder(stemNumber(dayStem)));
    return d;
}

} // namespace quenmar
