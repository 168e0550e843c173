#include "prediction/BaseNumbers.h"

#include <array>
#include <cmath>

namespace quenmar {

namespace {

// Row a, column b. Digits of one element (n and n + 5) clash at −5.
constexpr std::array<std::array<int, 10>, 10> RelationScores{{
    {5, -2, 3, 2, 3, -5, 4, -1, 4, 1},
    {1, 5, 2, -3, 1, -4, -5, -4, -1, -3},
    {3, -2, 5, -1, 4, 1, 4, -5, 3, -2},
    {2, -3, -1, 5, -2, -4, 1, -3, -5, -4},
    {3, 1, 4, -2, 5, -1, 3, 2, 4, -5},
    {-5, 2, 1, -4, 3, 5, 2, -3, -2, -3},
    {4, -5, 4, 1, 3, 2, 5, -2, 3, -1},
    {-1, -4, -5, -3, 2, -3, -2, 5, 1, -4},
    {4, -1, 3, -5, 4, -2, 3, 1, 5, 2},
    {1, -3, -2, -4, -5, -3, -1, -4, 2, 5},
}};

constexpr int kLines = 6;
constexpr double kTenthsSlack = 0.000001;

std::int32_t digitAt(const std::array<std::int32_t, kLines>& digits, int index) {
    return index >= 0 && index < kLines ? digits[static_cast<std::size_t>(index)] : 0;
}

// The first 青龙 or 玄武 line that holds neither 世 nor 应; failing that the last such line
// that does; failing that the bottom line.
int markedLineOf(unsigned dragonOrTortoiseLines, int shiIndex, int yingIndex) {
    int result = 0;
    for (int line = 0; line < kLines; ++line) {
        if ((dragonOrTortoiseLines >> line & 1U) != 0) {
            if (line != shiIndex && line != yingIndex) {
                return line;
            }
            result = line;
        }
    }
    return result;
}

bool isLine(int line) {
    return line >= 1 && line <= kLines;
}

// Sums are taken in 64 bits: a basis is a plain record, and one filled by hand must not
// overflow where a built one never could.
unsigned long long magnitudeOf(long long sum) {
    if (sum == 0) {
        return 10;
    }
    return sum < 0 ? 0ULL - static_cast<unsigned long long>(sum) : static_cast<unsigned long long>(sum);
}

double magnitudeTimes(long long sum, double s) {
    return toTenths(static_cast<double>(magnitudeOf(sum)) * s);
}

long long sumOf(std::int32_t a, std::int32_t b) {
    return static_cast<long long>(a) + b;
}

} // namespace

int digitRelation(int a, int b) {
    if (a == b) {
        return 5;
    }
    if (a < 0 || a > 9 || b < 0 || b > 9) {
        return 0;
    }
    return RelationScores[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)];
}

double toTenths(double v) {
    if (v >= -kTenthsSlack && v <= kTenthsSlack) {
        return v;
    }
    const double m = std::fabs(v) * 10.0;
    const double shifted = m + kTenthsSlack;
    const double i = std::floor(shifted);
    const double f = shifted - i;
    const double r = (f >= 0.5 ? i + 1.0 : i) / 10.0;
    return v < 0.0 ? -r : r;
}

double scaledMagnitude(long long sum, double s) {
    return magnitudeTimes(sum, s);
}

double chartFactor(const NumberBasis& basis) {
    const auto& r = basis.querentRelations;
    const long long sum = sumOf(r[0], r[1]) + sumOf(r[2], r[3]);
    return toTenths(static_cast<double>(magnitudeOf(sum)) / 10.0);
}

double primaryLineFactor(const NumberBasis& basis, int line, double s) {
    if (!isLine(line)) {
        return 0.0;
    }
    const auto first = static_cast<std::size_t>(4 + 2 * (line - 1));
    return magnitudeTimes(sumOf(basis.querentRelations[first], basis.querentRelations[first + 1]), s);
}

double changedLineFactor(const NumberBasis& basis, int line, double s) {
    if (!isLine(line)) {
        return 0.0;
    }
    const auto first = static_cast<std::size_t>(16 + 2 * (line - 1));
    return magnitudeTimes(sumOf(basis.querentRelations[first], basis.querentRelations[first + 1]), s);
}

double crossLineFactor(const NumberBasis& basis, int line, double s) {
    if (!isLine(line)) {
        return 0.0;
    }
    const auto& cross = basis.crossRelations[static_cast<std::size_t>(line - 1)];
    return magnitudeTimes(sumOf(cross[0], cross[1]) + sumOf(cross[2], cross[3]), s);
}

NumberBasis buildNumberBasis(const ChartResult& chart) {
    return buildNumberBasis(chartDigits(chart));
}

NumberBasis buildNumberBasis(const ChartDigits& digits) {
    NumberBasis b;
    b.querentDigit = digits.zodiacDigit;
    b.dayStemDigit = digits.dayStemDigit;
    b.dayBranchDigit = digits.dayBranchDigit;
    b.hourStemDigit = digits.hourStemDigit;
    b.hourBranchDigit = digits.hourBranchDigit;
    b.primaryStemDigits = digits.primaryStemDigits;
    b.primaryBranchDigits = digits.primaryBranchDigits;
    b.changedStemDigits = digits.changedStemDigits;
    b.changedBranchDigits = digits.changedBranchDigits;

    const int q = b.querentDigit;
    b.querentRelations[0] = digitRelation(q, b.dayStemDigit);
    b.querentRelations[1] = digitRelation(q, b.dayBranchDigit);
    b.querentRelations[2] = digitRelation(q, b.hourStemDigit);
    b.querentRelations[3] = digitRelation(q, b.hourBranchDigit);
    for (std::size_t k = 0; k < kLines; ++k) {
        b.querentRelations[4 + 2 * k] = digitRelation(q, b.primaryStemDigits[k]);
        b.querentRelations[5 + 2 * k] = digitRelation(q, b.primaryBranchDigits[k]);
        b.querentRelations[16 + 2 * k] = digitRelation(q, b.changedStemDigits[k]);
        b.querentRelations[17 + 2 * k] = digitRelation(q, b.changedBranchDigits[k]);
        b.crossRelations[k] = {digitRelation(b.primaryStemDigits[k], b.changedStemDigits[k]),
                               digitRelation(b.primaryStemDigits[k], b.changedBranchDigits[k]),
                               digitRelation(b.primaryBranchDigits[k], b.changedStemDigits[k]),
                               digitRelation(b.primaryBranchDigits[k], b.changedBranchDigits[k])};
    }

    b.shiIndex = digits.shiIndex;
    b.yingIndex = digits.yingIndex;
    b.shiDigits = {digitAt(b.primaryStemDigits, b.shiIndex), digitAt(b.primaryBranchDigits, b.shiIndex)};
    b.yingDigits = {digitAt(b.changedStemDigits, b.yingIndex), digitAt(b.changedBranchDigits, b.yingIndex)};

    b.changedShiIndex = digits.changedShiIndex;
    b.changedYingIndex = digits.changedYingIndex;
    b.changedShiYingDigits = {
        digitAt(b.changedStemDigits, b.changedShiIndex), digitAt(b.changedBranchDigits, b.changedShiIndex),
        digitAt(b.changedStemDigits, b.changedYingIndex), digitAt(b.changedBranchDigits, b.changedYingIndex)};
    for (std::size_t k = 0; k < 4; ++k) {
        b.changedShiYingRelations[k] = digitRelation(q, b.changedShiYingDigits[k]);
    }

    b.markedLine = markedLineOf(digits.dragonOrTortoiseLines, b.shiIndex, b.yingIndex);
    b.markedDigits = {
        digitAt(b.primaryStemDigits, b.markedLine), digitAt(b.primaryBranchDigits, b.markedLine),
        digitAt(b.changedStemDigits, b.markedLine), digitAt(b.changedBranchDigits, b.markedLine)};
    return b;
}

} // namespace quenmar
