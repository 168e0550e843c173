#include "engine/Calendar.h"

#include "engine/Moment.h"
#include "engine/Tables.h"

namespace quenmar {

namespace {

long long positiveMod(long long value, long long modulus) {
    const long long r = value % modulus;
    return r < 0 ? r + modulus : r;
}

// CHART_EPOCH in whole milliseconds: 2022-11-07 00:00:01.000.
constexpr long long kEpochMs = 44872LL * kMsPerDay + 1000;

} // namespace

long long dayCount(double moment) {
    const auto fields = dateTimeFromMoment(moment);
    const long long ms = fields ? momentMilliseconds(moment) : kEpochMs;
    const long long shifted = ms - kEpochMs + 500;
    long long n = shifted / kMsPerDay;
    if (shifted % kMsPerDay != 0 && shifted < 0) {
        --n;
    }
    return n;
}

std::string dayPillar(double moment) {
    const long long n = dayCount(moment);
    std::string pillar(stemText(static_cast<int>(positiveMod(n, 10)) + 1));
    pillar += branchText(static_cast<int>(positiveMod(n, 12)) + 1);
    return pillar;
}

int hourOf(double moment) {
    const auto fields = dateTimeFromMoment(moment);
    return fields ? fields->hour : 0;
}

int hourIndex(double moment) {
    const int index = (hourOf(moment) + 1) / 2;
    return index == 12 ? 0 : index;
}

int hourNumber(double moment) {
    return (hourOf(moment) + 1) / 2;
}

std::string hourPillar(double moment, std::string_view dayStem) {
    const int index = hourIndex(moment);
    const int s = stemNumber(dayStem);
    const int shift = s - 1 <= 4 ? s - 1 : s - 6;
    std::string pillar(stemText(static_cast<int>(positiveMod(index + 2 * shift, 10)) + 1));
    pillar += branchText(index + 1);
    return pillar;
}

} // namespace quenmar
