#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The twelve 节 (the solar terms that open the months) from the Sun's apparent ecliptic longitude:
// 立春 at 315°, then every 30°. Instants are milliseconds since 1970-01-01 00:00 UTC, the scale
// `epochMs` gives a chart's moment, so a moment and a term compare as instants.
//
// A civil year holds its twelve 节 in this order, which is the index used below: 0 小寒 (285°,
// early January), 1 立春, 2 惊蛰, 3 清明, 4 立夏, 5 芒种, 6 小暑, 7 立秋, 8 白露, 9 寒露, 10 立冬,
// 11 大雪 (255°, early December).
namespace quenmar {

inline constexpr int kTermsPerYear = 12;
/// The years whose moments get year and month pillars; the terms of the year before are known
/// too, for the 大雪 still in force in the first days of kFirstTermYear.
inline constexpr int kFirstTermYear = 1900;
inline constexpr int kLastTermYear = 2100;

/// Name of 节 `index` (0 小寒 ... 11 大雪); empty outside 0..11.
std::string_view solarTermName(int index);

/// The instant of 节 `index` of a civil year, for the years kFirstTermYear − 1 .. kLastTermYear + 1.
/// A year's twelve terms are computed together on first use and kept; safe from any thread.
std::optional<std::int64_t> solarTermInstant(int year, int index);

/// A 节 and its instant.
struct SolarTerm {
    int year = 0;  // the civil year it falls in
    int index = 0; // 0 小寒 ... 11 大雪
    std::int64_t epochMs = 0;

    bool operator==(const SolarTerm&) const = default;
};

/// The 节 in force at an instant: the last one at or before it. Nothing for an instant outside
/// the UTC years kFirstTermYear − 1 .. kLastTermYear + 1 or before the first 小寒 of them.
std::optional<SolarTerm> solarTermInForce(std::int64_t epochMs);

/// TT − civil time in seconds at an instant, as the terms were converted with: TT − UTC from
/// the leap-second table where it is known, else ΔT by Espenak and Meeus's expressions.
double terrestrialMinusCivilSeconds(std::int64_t epochMs);

} // namespace quenmar
