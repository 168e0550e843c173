#include "engine/Moment.h"

#include <cmath>

namespace quenmar {

namespace {

using detail::floorDiv;

constexpr std::int64_t kDaysTo1899_12_30 = daysFromCivil(1899, 12, 30);
static_assert(daysFromCivil(1970, 1, 1) - kDaysTo1899_12_30 == 25569);

} // namespace

std::int64_t dayNumberOfDate(int year, int month, int day) {
    return daysFromCivil(year, month, day) - kDaysTo1899_12_30;
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

std::string dateTimeText(double moment) {
    if (!(moment >= kMinTextMoment && moment < kMaxTextMoment)) {
        return {};
    }
    const auto f = dateTimeFromMoment(moment);
    return f ? dateTimeText(*f) : std::string{};
}

std::int64_t epochMs(double moment, int standardBiasMinutes) {
    if (!std::isfinite(moment) || moment < -700000.0 || moment > 3000000.0) {
        return 0; // no date-time of years 1..9999; keeps the conversion below defined
    }
    const double ms = std::floor((moment - 25569.0) * static_cast<double>(kMsPerDay) + 0.5);
    return static_cast<std::int64_t>(ms) + static_cast<std::int64_t>(standardBiasMinutes) * 60'000;
}

} // namespace quenmar
