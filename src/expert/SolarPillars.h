#pragma once

#include "expert/SolarTerms.h"

#include <cstdint>
#include <optional>
#include <string>

// The year and month pillars by the solar terms: the year turns at 立春 (not on 1 January nor
// at the lunar new year), the month at each 节, 寅 month from 立春 to 丑 month from 小寒, the
// month stems following the year stem (五虎遁: a 甲 or 己 year opens with 丙寅, 乙 or 庚 with 戊寅,
// 丙 or 辛 with 庚寅, 丁 or 壬 with 壬寅, 戊 or 癸 with 甲寅).
namespace quenmar {

struct SolarPillars {
    std::string yearPillar;
    std::string monthPillar;
    SolarTerm term; // the 节 in force

    bool operator==(const SolarPillars&) const = default;
};

/// The pillars while a given 节 is in force.
SolarPillars pillarsOfTerm(const SolarTerm& term);

/// The pillars at an instant (milliseconds since 1970 UTC); nothing where no 节 is known.
std::optional<SolarPillars> solarPillars(std::int64_t epochMs);

} // namespace quenmar
