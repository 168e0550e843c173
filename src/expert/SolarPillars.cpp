#include "expert/SolarPillars.h"

#include "engine/Tables.h"

namespace quenmar {

namespace {

int positiveMod(int value, int modulus) {
    const int r = value % modulus;
    return r < 0 ? r + modulus : r;
}

// Stem then branch of position n (0-based) of the sixty-pair cycle.
std::string cyclePair(int n) {
    std::string pair(stemText(positiveMod(n, 10) + 1));
    pair += branchText(positiveMod(n, 12) + 1);
    return pair;
}

constexpr int kTermLiChun = 1;
constexpr int kBranchYin = 2; // 0-based 寅

} // namespace

SolarPillars pillarsOfTerm(const SolarTerm& term) {
    // 小寒 opens the last month of the year that began at the previous 立春.
    const int solarYear = term.index < kTermLiChun ? term.year - 1 : term.year;
    const int yearCycle = positiveMod(solarYear - 4, 60); // the year 4 was a 甲子 year
    const int yearStem = yearCycle % 10;
    const int monthFromYin = positiveMod(term.index - kTermLiChun, kTermsPerYear);
    const int yinMonthStem = (2 * (yearStem % 5) + 2) % 10;
    const int monthStem = (yinMonthStem + monthFromYin) % 10;
    const int monthBranch = (kBranchYin + monthFromYin) % 12;

    SolarPillars pillars;
    pillars.yearPillar = cyclePair(yearCycle);
    pillars.monthPillar = std::string(stemText(monthStem + 1)) + std::string(branchText(monthBranch + 1));
    pillars.term = term;
    return pillars;
}

std::optional<SolarPillars> solarPillars(std::int64_t epochMs) {
    const auto term = solarTermInForce(epochMs);
    if (!term) {
        return std::nullopt;
    }
    return pillarsOfTerm(*term);
}

} // namespace quenmar
