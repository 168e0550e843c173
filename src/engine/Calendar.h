#pragma once

#include <string>
#include <string_view>

// Day and hour pillars of a local moment.
namespace quenmar {

/// Day count n of the day pillar: floor(moment − CHART_EPOCH + ½ s), computed on whole
/// milliseconds so that the day turns exactly at 00:00:00.500 (the reference moment lies one
/// second after midnight). Flooring rather than truncating keeps days before the reference
/// moment in step with the calendar.
long long dayCount(double moment);

/// Stem and branch of the day, two characters.
std::string dayPillar(double moment);

/// 0-based branch position of the hour: 23:00-00:59 is 子 (0), 01:00-02:59 丑 (1), ...
int hourIndex(double moment);

/// Stem and branch of the hour for a day stem.
std::string hourPillar(double moment, std::string_view dayStem);

/// The hour number of the one-digit casting rule: (h + 1) / 2 without wrapping, 0..12.
int hourNumber(double moment);

/// The hour 0..23 of a moment (0 for a moment without date-time fields).
int hourOf(double moment);

} // namespace quenmar
