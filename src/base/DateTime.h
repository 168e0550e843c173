#pragma once

#include <cstdint>
#include <string>

// Local date-time fields and the texts written from them. A reading of the clock, a moment's
// fields and a toss time all use this one record; converting to and from moments is the
// engine's business.
namespace quenmar {

struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    bool operator==(const DateTime&) const = default;
};

/// A civil date of the proleptic Gregorian calendar.
struct CivilDate {
    std::int64_t year = 1970;
    int month = 1;
    int day = 1;
};

namespace detail {
constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
} // namespace detail

/// Days since 1970-01-01 of a civil date (month 1..12, day 1..31). H. Hinnant's algorithm,
/// exact for every date of the proleptic Gregorian calendar.
constexpr std::int64_t daysFromCivil(std::int64_t y, int month, int day) {
    const auto m = static_cast<unsigned>(month);
    const auto d = static_cast<unsigned>(day);
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = detail::floorDiv(y, 400);
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

/// The civil date `days` after 1970-01-01 (negative: before it).
constexpr CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = detail::floorDiv(z, 146097);
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {y + (m <= 2 ? 1 : 0), static_cast<int>(m), static_cast<int>(d)};
}

/// True when the fields name a real calendar date and time (years 1..9999).
bool isValidDateTime(const DateTime& fields);

/// Weekday of a date-time: Sunday 1, Monday 2, ..., Saturday 7.
int weekday(const DateTime& fields);

/// "%d年%d月%d日" of the date.
std::string dateText(const DateTime& fields);

/// The date text followed by "%d时%d分%d秒" when the seconds are not 0, else "%d时%d分"
/// when the minutes are not 0, else "%d时" when the hour is not 0; no leading zeros.
std::string dateTimeText(const DateTime& fields);

} // namespace quenmar
