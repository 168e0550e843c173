#include "engine/Moment.h"

#include <cmath>

namespace quenmar {

namespace {

constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days since 1970-01-01 of a civil date (H. Hinnant's algorithm).
constexpr std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = floorDiv(y, 400);
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct CivilDate {
    std::int64_t year;
    int month;
    int day;
};

constexpr CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {y + (m <= 2 ? 1 : 0), static_cast<int>(m), static_cast<int>(d)};
}

constexpr std::int64_t kDaysTo1899_12_30 = daysFromCivil(1899, 12, 30);
static_assert(daysFromCivil(1970, 1, 1) - kDaysTo1899_12_30 == 25569);

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

} // namespace

bool isValidDateTime(const DateTime& f) {
    return f.year >= 1 && f.year <= 9999 && f.month >= 1 && f.month <= 12 && f.day >= 1 &&
           f.day <= daysInMonth(f.year, f.month) && f.hour >= 0 && f.hour <= 23 && f.minute >= 0 &&
           f.minute <= 59 && f.second >= 0 && f.second <= 59 && f.millisecond >= 0 && f.millisecond <= 999;
}

std::int64_t dayNumberOfDate(int year, int month, int day) {
    return daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kDaysTo1899_12_30;
}

double momentFromDay(std::int64_t dayNumber, std::int64_t msOfDay) {
    return static_cast<double>(dayNumber) + static_cast<double>(msOfDay) / static_cast<double>(kMsPerDay);
}

double momentFromDateTime(const DateTime& f) {
    const std::int64_t msOfDay =
        ((static_cast<std::int64_t>(f.hour) * 60 + f.minute) * 60 + f.second) * 1000 + f.millisecond;
    return momentFromDay(dayNumberOfDate(f.year, f.month, f.day), msOfDay);
}

std::int64_t momentMilliseconds(double moment) {
    return std::llround(moment * static_cast<double>(kMsPerDay));
}

std::optional<DateTime> dateTimeFromMoment(double moment) {
    // Years 1..9999 span about 3.65 million days either side of 1899; anything beyond
    // (or not finite) has no fields and must not reach the integer conversion.
    if (!std::isfinite(moment) || moment < -700000.0 || moment > 3000000.0) {
        return std::nullopt;
    }
    const std::int64_t ms = momentMilliseconds(moment);
    const std::int64_t day = floorDiv(ms, kMsPerDay);
    std::int64_t rest = ms - day * kMsPerDay;
    const CivilDate date = civilFromDays(day + kDaysTo1899_12_30);
    if (date.year < 1 || date.year > 9999) {
        return std::nullopt;
    }
    DateTime f;
    f.year = static_cast<int>(date.year);
    f.month = date.month;
    f.day = date.day;
    f.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    f.second = static_cast<int>(rest % 60);
    rest /= 60;
    f.minute = static_cast<int>(rest % 60);
    f.hour = static_cast<int>(rest / 60);
    return f;
}

int weekday(const DateTime& f) {
    // 1970-01-01 was a Thursday (5 in the Sunday = 1 numbering).
    const std::int64_t days = daysFromCivil(f.year, static_cast<unsigned>(f.month), static_cast<unsigned>(f.day));
    return static_cast<int>(((days % 7) + 7 + 4) % 7) + 1;
}

std::string dateText(const DateTime& f) {
    std::string text;
    text.reserve(24);
    text += std::to_string(f.year);
    text += "年";
    text += std::to_string(f.month);
    text += "月";
    text += std::to_string(f.day);
    text += "日";
    return text;
}

std::string dateTimeText(double moment) {
    if (!(moment >= kMinTextMoment && moment < kMaxTextMoment)) {
        return {};
    }
    const auto f = dateTimeFromMoment(moment);
    if (!f) {
        return {};
    }
    std::string text = dateText(*f);
    if (f->second != 0) {
        text += std::to_string(f->hour) + "时" + std::to_string(f->minute) + "分" + std::to_string(f->second) + "秒";
    } else if (f->minute != 0) {
        text += std::to_string(f->hour) + "时" + std::to_string(f->minute) + "分";
    } else if (f->hour != 0) {
        text += std::to_string(f->hour) + "时";
    }
    return text;
}

std::int64_t epochMs(double moment, int standardBiasMinutes) {
    if (!std::isfinite(moment) || moment < -700000.0 || moment > 3000000.0) {
        return 0; // no date-time of years 1..9999; keeps the conversion below defined
    }
    const double ms = std::floor((moment - 25569.0) * static_cast<double>(kMsPerDay) + 0.5);
    return static_cast<std::int64_t>(ms) + static_cast<std::int64_t>(standardBiasMinutes) * 60'000;
}

} // namespace quenmar
