#pragma once

#include "base/DateTime.h"

#include <cstdint>
#include <optional>
#include <string>

// A moment is a local date-time held as a floating count of days since 1899-12-30 00:00,
// the fraction being the time of day; it is also the stored form. This module is the one
// place that converts between moments and date-time fields, always rounding to the
// millisecond, so that the day pillar, the hour, the titles and the report agree.
namespace quenmar {

inline constexpr std::int64_t kMsPerDay = 86'400'000;

/// 2022-11-07 00:00:01 local time, a 甲子 day: the reference moment of the day count.
inline constexpr double CHART_EPOCH = 44872.0 + 1.0 / 86400.0;

/// Moments a date-time text can be written for (the range of an OLE automation date).
inline constexpr double kMinTextMoment = -657434.0;
inline constexpr double kMaxTextMoment = 2958466.0; // exclusive: 9999-12-31 ends here

/// The moment of local date-time fields. Fields must be valid.
double momentFromDateTime(const DateTime& fields);

/// The moment of a day number (days since 1899-12-30) and a time of day in milliseconds.
double momentFromDay(std::int64_t dayNumber, std::int64_t msOfDay);

/// The moment rounded to whole milliseconds since 1899-12-30 00:00.
std::int64_t momentMilliseconds(double moment);

/// Date-time fields of a moment, rounded to the millisecond; nothing for a moment that is
/// not finite or lies outside years 1..9999.
std::optional<DateTime> dateTimeFromMoment(double moment);

/// Days since 1899-12-30 of a civil date (proleptic Gregorian).
std::int64_t dayNumberOfDate(int year, int month, int day);

/// The date text followed by "%d时%d分%d秒" when the seconds are not 0, else "%d时%d分"
/// when the minutes are not 0, else "%d时" when the hour is not 0. Empty for a moment
/// outside the range of an OLE date.
std::string dateTimeText(double moment);

/// Milliseconds from 1970-01-01 00:00 UTC to a local moment, given the time zone's standard
/// bias in minutes (UTC = local time + bias; no daylight-saving bias is added).
std::int64_t epochMs(double moment, int standardBiasMinutes);

} // namespace quenmar
