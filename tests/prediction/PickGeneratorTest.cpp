#include "prediction/PickGenerator.h"

#include "prediction/BaseNumbers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace quenmar {

namespace {

std::vector<int> numbersOf(std::string_view text) {
    std::vector<int> numbers;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        int n = 0;
        std::from_chars(text.data(), text.data() + comma, n);
        numbers.push_back(n);
        text.remove_prefix(comma + 1);
    }
    return numbers;
}

// The first pass exactly as the rules state it, on the pick text.
std::string literalFirstPass(std::string_view seed, double x, double u, double v) {
    std::string text;
    for (const char c : seed) {
        for (const double s : {x, u, v}) {
            for (int mode = 0; mode < 4; ++mode) {
                addValue(text, candidate(c - '0', s, mode), false);
            }
        }
    }
    return text;
}

// The whole expansion exactly as the rules state it: the reference for the generator's set.
std::string literalExpandSeed(std::string_view seed, double x, double u, double v, double d) {
    const std::vector<int> first = numbersOf(literalFirstPass(seed, x, u, v));
    if (d == 1.0) {
        d = 0.99;
    }
    const auto scaled = [&](int n) {
        return d < 1.0 ? snapTrunc(n / d) : snapTrunc(n * d);
    };
    std::string text;
    for (const int n : first) {
        addValue(text, scaled(n), true);
    }
    if (first.size() < 30) {
        if (d == 0.99) {
            d = 1.6;
        }
        for (const int n : numbersOf(text)) {
            addValue(text, scaled(n), true);
        }
    }
    return text;
}

TEST(PairCode, ReadsTheTableRowByColumn) {
    EXPECT_EQ(pairCode(0, 0), 23);
    EXPECT_EQ(pairCode(6, 6), 90);
    EXPECT_EQ(pairCode(4, 9), 50);
    EXPECT_EQ(pairCode(9, 4), 50);
    EXPECT_EQ(pairCode(1, 6), 49);
    EXPECT_EQ(pairCode(8, 3), 16);
    EXPECT_EQ(pairCode(3, 8), 16);
    EXPECT_EQ(pairCode(2, 5), 0);
    EXPECT_EQ(pairCode(9, 0), 5);
    EXPECT_EQ(pairCode(0, 9), 4);
    EXPECT_EQ(pairCode(-1, 3), 0);
    EXPECT_EQ(pairCode(3, 10), 0);
}

struct CandidateCase {
    int digit;
    double s;
    int mode;
    int expected;
};

class CandidateTable : public ::testing::TestWithParam<CandidateCase> {};

TEST_P(CandidateTable, GivesTheRuleOfItsMode) {
    const CandidateCase c = GetParam();
    EXPECT_EQ(candidate(c.digit, c.s, c.mode), c.expected) << c.digit << " " << c.s << " mode " << c.mode;
}

INSTANTIATE_TEST_SUITE_P(Cases, CandidateTable,
                         ::testing::Values(CandidateCase{0, 0.7, 0, 7}, // the digit 0 counts as 10
                                           CandidateCase{3, 0.1, 3, 30}, CandidateCase{7, 0.3, 0, 2},
                                           CandidateCase{9, 2.0, 2, 9}, CandidateCase{5, 1.0, 2, 10},
                                           CandidateCase{4, 1.5, 1, 10}, CandidateCase{6, 0.5, 3, 12},
                                           // 3 × 0.7 is 2.0999999999999996: truncated, not snapped.
                                           CandidateCase{3, 0.7, 0, 2}, CandidateCase{3, 0.7, 1, 5},
                                           CandidateCase{3, 0.7, 2, 1},
                                           // 7 × 0.7 is 4.8999999999999995.
                                           CandidateCase{7, 0.7, 1, 11},
                                           // 1 / 0.2 is exactly 5; 0 / s never happens since 0 counts as 10.
                                           CandidateCase{1, 0.2, 3, 5}, CandidateCase{0, 0.3, 3, 33},
                                           // Mode 0 may give 0; modes 2 and 3 turn 0 into 10.
                                           CandidateCase{2, 0.4, 0, 0}, CandidateCase{2, 0.0, 2, 2},
                                           CandidateCase{4, 0.0, 3, 10}, CandidateCase{1, 1.0, 2, 10},
                                           CandidateCase{9, 0.1, 3, 90},
                                           // Magnitudes: 2 − 3 = −1 gives 1.
                                           CandidateCase{2, 1.5, 2, 1}, CandidateCase{5, 0.5, 4, 0},
                                           CandidateCase{5, 0.5, -1, 0}));

struct SnapCase {
    double r;
    int expected;
};

class SnapTruncTable : public ::testing::TestWithParam<SnapCase> {};

TEST_P(SnapTruncTable, TruncatesAndSnapsNearWholeValues) {
    EXPECT_EQ(snapTrunc(GetParam().r), GetParam().expected) << GetParam().r;
}

INSTANTIATE_TEST_SUITE_P(Cases, SnapTruncTable,
                         ::testing::Values(SnapCase{28.999999999999996, 29}, SnapCase{2.0999999999999996, 2},
                                           SnapCase{0.9999999, 1}, SnapCase{0.999999, 1},
                                           SnapCase{0.999998, 0}, SnapCase{1.999998, 1}, SnapCase{7.5, 7},
                                           SnapCase{0.0, 0}, SnapCase{-0.0, 0},
                                           // Snapped by the sign of the value, also when it truncates to 0.
                                           SnapCase{-0.9999999, -1}, SnapCase{-3.9999999, -4},
                                           SnapCase{-2.5, -2},
                                           SnapCase{std::numeric_limits<double>::infinity(), 0},
                                           SnapCase{-std::numeric_limits<double>::infinity(), 0},
                                           SnapCase{std::numeric_limits<double>::quiet_NaN(), 0},
                                           SnapCase{1e300, INT_MAX}, SnapCase{-1e300, -INT_MAX}));

struct SplitCase {
    int value;
    int divisor;
    std::vector<int> parts;
};

class SplitLargeTable : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLargeTable, GivesTheQuotientInRangeThenANonZeroRemainder) {
    EXPECT_EQ(splitLarge(GetParam().value, GetParam().divisor), GetParam().parts);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitLargeTable,
                         ::testing::Values(SplitCase{123, 80, {1, 43}}, SplitCase{160, 80, {2}},
                                           SplitCase{200, 2, {}}, SplitCase{97, 9, {10, 7}},
                                           SplitCase{85, 2, {42, 1}}, SplitCase{7000, 80, {40}},
                                           SplitCase{161, 2, {80, 1}}, SplitCase{163, 2, {1}},
                                           SplitCase{85, 0, {}}));

// splitValues computes the divisors' splits in one list; every value a post pass can split.
TEST(SplitValues, AreTheSplitsUnderEachDivisorInTurn) {
    for (int n = kHighestNumber + 1; n <= 2000; ++n) {
        std::vector<int> expected;
        for (const int divisor : {80, 2, 3, 4, 5, 6, 7, 8, 9}) {
            const std::vector<int> parts = splitLarge(n, divisor);
            expected.insert(expected.end(), parts.begin(), parts.end());
        }
        ASSERT_EQ(splitValues(n), expected) << n;
    }
}

TEST(Seed, AddDigitAppendsOnlyNewText) {
    std::string seed;
    addDigit(seed, 4);
    addDigit(seed, 2);
    addDigit(seed, 4);
    addDigit(seed, 0);
    EXPECT_EQ(seed, "420");
    // A number of two digits (only from a basis filled by hand) is looked up as a text.
    addDigit(seed, 42);
    EXPECT_EQ(seed, "420");
    addDigit(seed, 24);
    EXPECT_EQ(seed, "42024");
}

TEST(Seed, AddPairCodeTakesOneDigitOrTheFirstAndLastCharacters) {
    std::string seed = "427193860";
    addPairCode(seed, 4, 9); // 50: the 5 is new, the 0 is not
    EXPECT_EQ(seed, "4271938605");
    seed.clear();
    addPairCode(seed, 6, 6); // 90
    EXPECT_EQ(seed, "90");
    seed = "3";
    addPairCode(seed, 0, 0); // 23
    EXPECT_EQ(seed, "32");
    seed = "5";
    addPairCode(seed, 1, 1); // 0
    EXPECT_EQ(seed, "50");
    seed = "1";
    addPairCode(seed, 8, 3); // 16
    EXPECT_EQ(seed, "16");
}

TEST(AddValue, TestsNumbersUpToEightyAsSubstringsOfTheText) {
    std::string text = "15,";
    addValue(text, 5, false); // the digit 5 occurs in 15
    addValue(text, 1, false);
    EXPECT_EQ(text, "15,");
    text = "51,";
    addValue(text, 5, false);
    EXPECT_EQ(text, "51,");
    addValue(text, 80, false);
    addValue(text, 8, false); // occurs in 80
    EXPECT_EQ(text, "51,80,");
}

TEST(AddValue, ZeroIsAddedOnlyWhenNotDroppedAndNotInTheText) {
    std::string text;
    addValue(text, 0, true);
    addValue(text, -3, true);
    EXPECT_EQ(text, "");
    addValue(text, 0, false);
    EXPECT_EQ(text, "0,");
    text = "10,";
    addValue(text, 0, false);
    EXPECT_EQ(text, "10,");
}

TEST(AddValue, EightyFiveAfterFiftyOneAppendsItsSplitValues) {
    std::string text = "51,";
    addValue(text, 85, false);
    // 1 and 4 followed by a comma already occur (in 51, and later in 14,), so they are refused.
    EXPECT_EQ(text, "51,5,42,28,21,17,14,12,10,9,");
}

TEST(AddValue, SplitValuesAreTestedWithTheirComma) {
    // After 15 the split value 5 is refused (5, is the tail of 15,), the 1 is not.
    std::string text = "15,";
    addValue(text, 85, false);
    EXPECT_EQ(text, "15,1,42,28,21,17,14,12,10,9,");
    // 81: 1 1 | 40 1 | 27 0 | 20 1 | 16 1 | 13 3 | 11 4 | 10 1 | 9 0; the 3 is refused after 13.
    text.clear();
    addValue(text, 81, false);
    EXPECT_EQ(text, "1,40,27,20,16,13,11,4,10,9,");
}

TEST(ExpandSeed, TheDescribedExample) {
    EXPECT_EQ(expandSeed("13", 0.5, 2.0, 3.5, 0.6), "1,3,5,16,10,15,21,11,8,26,25,35,18,");
}

TEST(ExpandSeed, PostFactorZeroLeavesThePickEmpty) {
    EXPECT_EQ(expandSeed("4271938605", 0.2, 0.4, 1.2, 0.0), "");
    EXPECT_TRUE(expandSeedNumbers("13", 0.5, 2.0, 3.5, 0.0).empty());
}

TEST(ExpandSeed, PostFactorOneIsUsedAsPointNineNineThenOnePointSix) {
    // First pass: 1, 2, 10. Divided by 0.99 they stay 1, 2, 10; the second pass multiplies by
    // 1.6: 1.6 → 1 (there), 3.2 → 3, 16.
    EXPECT_EQ(expandSeed("1", 1.0, 1.0, 1.0, 1.0), "1,2,10,3,16,");
    EXPECT_EQ(expandSeed("1", 1.0, 1.0, 1.0, 0.99), "1,2,10,3,16,");
}

TEST(ExpandSeed, PostFactorTwoAndAHalfSplitsEightyTwo) {
    // First pass 30, 33, 27, 10. Then 30 → 75; 33 → 82.5 → 82, split into 1 2 | 41 | 27 | 20 |
    // 16 | 13 4 | 11 (5 refused after 75) | 10 | 9; 27 → 67; 10 → 25. The first pass was short,
    // so all fourteen go through the factor once more.
    EXPECT_EQ(expandSeed("3", 10.0, 10.0, 10.0, 2.5),
              "75,1,2,41,27,20,16,13,4,11,10,9,67,25,62,46,37,31,26,23,22,51,34,17,14,12,50,40,32,55,33,18,");
}

TEST(ExpandSeed, ALongFirstPassGetsNoSecondPass) {
    const std::string first = literalFirstPass("4271938605", 1.3, 2.9, 7.7);
    ASSERT_GE(numbersOf(first).size(), 30u);
    // With d = 1.0 (used as 0.99) every number 1..80 stays as it is and is re-added under the
    // add rule; nothing is multiplied by 1.6 afterwards.
    std::string expected;
    for (const int n : numbersOf(first)) {
        addValue(expected, n, true);
    }
    EXPECT_EQ(expandSeed("4271938605", 1.3, 2.9, 7.7, 1.0), expected);
}

TEST(ExpandSeed, CharactersThatAreNotDigitsArePassedOver) {
    EXPECT_EQ(expandSeed("1x3-", 0.5, 2.0, 3.5, 0.6), expandSeed("13", 0.5, 2.0, 3.5, 0.6));
}

TEST(ExpandSeed, NegativeScalesFollowTheTextRules) {
    // Negative candidates write a "-" into the first-pass text; the post pass drops them.
    EXPECT_EQ(expandSeed("58", -1.3, 0.4, 2.2, 0.7), literalExpandSeed("58", -1.3, 0.4, 2.2, 0.7));
    EXPECT_EQ(expandSeed("1", -1.0, -1.0, -1.0, 1.0), literalExpandSeed("1", -1.0, -1.0, -1.0, 1.0));
}

// The generator answers the membership tests from a set of the numbers present. This compares
// it with the literal text rules over many seeds and factors, including the factor ranges a
// chart never produces.
TEST(ExpandSeed, AgreesWithTheTextRulesOnRandomInput) {
    std::mt19937 random(20240305);
    const auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    const auto pickInt = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    const auto scale = [&]() -> double {
        switch (pickInt(0, 5)) {
        case 0:
            return pickInt(1, 200) / 10.0; // tenths as a chart gives them
        case 1:
            return toTenths(pickInt(1, 20) * (pickInt(1, 20) / 10.0));
        case 2:
            return uniform(0.0, 25.0);
        case 3:
            return pickInt(0, 3) == 0 ? 0.0 : 1.0;
        case 4:
            return uniform(0.0, 0.3);
        default:
            return pickInt(0, 9) == 0 ? uniform(-6.0, 0.0) : pickInt(1, 40) / 10.0;
        }
    };
    const auto postFactor = [&]() -> double {
        switch (pickInt(0, 4)) {
        case 0:
            return pickInt(0, 80) / 10.0;
        case 1:
            return 1.0;
        case 2:
            return uniform(0.0, 9.0);
        case 3:
            return toTenths(uniform(0.3, 80.0) * 100 / 1000);
        default:
            return pickInt(0, 5) == 0 ? uniform(-3.0, 0.0) : 0.99;
        }
    };
    std::string digits = "0123456789";
    for (int round = 0; round < 8000; ++round) {
        std::shuffle(digits.begin(), digits.end(), random);
        std::string seed = digits.substr(0, static_cast<std::size_t>(pickInt(1, 10)));
        if (pickInt(0, 9) == 0) {
            seed += seed; // repeated digits add nothing new
        }
        const double x = scale(), u = scale(), v = scale(), d = postFactor();
        ASSERT_EQ(expandSeed(seed, x, u, v, d), literalExpandSeed(seed, x, u, v, d))
            << "seed " << seed << " x " << x << " u " << u << " v " << v << " d " << d;
    }
}

// Every scale a chart can give (tenths up to 20.0) and every post factor (tenths up to 8.0,
// and 0.99) at least once, against the literal rules.
TEST(ExpandSeed, AgreesWithTheTextRulesForEveryTenth) {
    for (int k = 0; k <= 200; ++k) {
        const double x = k / 10.0;
        const double u = (200 - k) / 10.0;
        const double v = (k * 7 % 201) / 10.0;
        const double d = k == 200 ? 0.99 : (k % 81) / 10.0;
        ASSERT_EQ(expandSeed("0123456789", x, u, v, d), literalExpandSeed("0123456789", x, u, v, d)) << k;
        ASSERT_EQ(expandSeed("9876543210", v, x, u, d), literalExpandSeed("9876543210", v, x, u, d)) << k;
    }
}

// The worked example: Q 4, DS 2, DB 7, HS 1, HB 9 and line 1 PS 3, PB 8, CS 6, CB 0.
NumberBasis workedExampleBasis() {
    ChartResult c;
    c.zodiacDigit = 4;
    c.dayStemDigit = 2;
    c.dayBranchDigit = 7;
    c.hourStemDigit = 1;
    c.hourBranchDigit = 9;
    c.primaryStemDigits = {3, 5, 5, 5, 5, 5};
    c.primaryBranchDigits = {8, 5, 5, 5, 5, 5};
    c.changedStemDigits = {6, 5, 5, 5, 5, 5};
    c.changedBranchDigits = {0, 5, 5, 5, 5, 5};
    return buildNumberBasis(c);
}

TEST(WorkedExample, SeedAndFactorsOfPickOne) {
    const NumberBasis b = workedExampleBasis();
    EXPECT_EQ(b.querentRelations[0], 4);
    EXPECT_EQ(b.querentRelations[1], 2);
    EXPECT_EQ(b.querentRelations[2], 1);
    EXPECT_EQ(b.querentRelations[3], -5);
    const double x = chartFactor(b);
    EXPECT_EQ(x, 0.2);
    const PickPlan plan = planPick(b, 1, x);
    EXPECT_EQ(plan.seed, "4271938605");
    EXPECT_EQ(plan.u, 0.4);
    EXPECT_EQ(plan.v, 1.2);
    EXPECT_EQ(plan.t, 2.0);
    EXPECT_EQ(plan.d, 0.4);
}

TEST(WorkedExample, FirstPassOfPickOne) {
    EXPECT_EQ(literalFirstPass("4271938605", 0.2, 0.4, 1.2),
              "0,4,20,1,5,3,10,8,6,35,9,17,15,45,12,22,19,40,11,30,13,50,14,25,");
}

TEST(WorkedExample, RawPickOne) {
    const NumberBasis b = workedExampleBasis();
    const std::string raw = generatePick(b, 1, chartFactor(b));
    const std::vector<int> numbers = numbersOf(raw);
    ASSERT_EQ(numbers.size(), 56u);
    EXPECT_EQ(std::vector<int>(numbers.begin(), numbers.begin() + 8),
              (std::vector<int>{10, 50, 2, 12, 7, 25, 20, 15}));
    // Followed through by hand up to the 6 (35 / 0.4 = 87.5 splits into 1, 43, 29, 21, 17, 14,
    // 6); the rest checked against a separate transcription of the rules.
    EXPECT_EQ(raw,
              "10,50,2,12,7,25,20,15,1,43,29,21,17,14,6,22,42,37,32,56,28,18,16,30,55,47,33,11,27,75,45,62,"
              "41,31,13,35,53,26,72,52,46,23,80,60,70,40,57,68,34,19,58,39,67,77,51,38,");
    EXPECT_EQ(generatePickNumbers(b, 1, chartFactor(b)).values().size(), 56u);
}

// Relation sums chosen so that every factor names its source: primary line k sums to k,
// changed line k to k + 6, the cross relations of line k to k + 13, and x is 1.0.
NumberBasis distinctSumsBasis() {
    NumberBasis b;
    b.querentRelations[0] = 5;
    b.querentRelations[1] = 5;
    for (std::size_t k = 0; k < 6; ++k) {
        b.querentRelations[4 + 2 * k] = static_cast<std::int32_t>(k + 1);
        b.querentRelations[16 + 2 * k] = static_cast<std::int32_t>(k + 7);
        b.crossRelations[k] = {static_cast<std::int32_t>(k + 14), 0, 0, 0};
    }
    b.changedShiYingRelations = {1, 1, 1, 1};
    b.shiIndex = 3;
    b.changedShiIndex = 4;
    b.markedLine = 1;
    return b;
}

struct FactorCase {
    int pick;
    double u;
    double v;
    double t;
    double d;
};

class PickFactors : public ::testing::TestWithParam<FactorCase> {};

TEST_P(PickFactors, ComeFromTheLinesOfThePickTable) {
    const NumberBasis b = distinctSumsBasis();
    ASSERT_EQ(chartFactor(b), 1.0);
    const FactorCase c = GetParam();
    const PickPlan plan = planPick(b, c.pick, 1.0);
    EXPECT_EQ(plan.u, c.u);
    EXPECT_EQ(plan.v, c.v);
    EXPECT_EQ(plan.t, c.t);
    EXPECT_EQ(plan.d, c.d);
}

INSTANTIATE_TEST_SUITE_P(Cases, PickFactors,
                         ::testing::Values(FactorCase{1, 1, 7, 14, 2.2}, FactorCase{3, 3, 9, 16, 2.8},
                                           FactorCase{6, 6, 12, 19, 3.7},
                                           // Lines 1 and 4, 2 and 5, 3 and 6.
                                           FactorCase{7, 1, 4, 5, 1.0}, FactorCase{8, 2, 5, 7, 1.4},
                                           FactorCase{9, 3, 6, 9, 1.8},
                                           // Lines 2 and 5; t from the changed 世/应 relations.
                                           FactorCase{10, 2, 5, 4, 1.1},
                                           // 世 line 4, changed 世 line 5, marked line 2.
                                           FactorCase{11, 4, 11, 15, 3.0}));

TEST(PickFactors, PickElevenWithShiOnLineOneTakesUFromLineOne) {
    NumberBasis b = distinctSumsBasis();
    b.shiIndex = 0;
    EXPECT_EQ(planPick(b, 11, 1.0).u, 1.0);
    EXPECT_EQ(planPick(b, 11, 0.5).u, primaryLineFactor(b, 1, 0.5));
    b.shiIndex = 7; // no line: factor 0
    EXPECT_EQ(planPick(b, 11, 1.0).u, 0.0);
}

TEST(PickSeed, BetsOfOneLineMeetTheChangedBranchBeforeTheChangedStem) {
    NumberBasis b;
    b.querentDigit = b.dayStemDigit = b.hourStemDigit = b.hourBranchDigit = 8;
    b.dayBranchDigit = 6;
    b.primaryStemDigits[0] = b.primaryBranchDigits[0] = 1;
    b.changedStemDigits[0] = 2;
    b.changedBranchDigits[0] = 9;
    // 8 6, own 1 2 9, (8,8) 14 adds 4, (8,6) adds 5; the own pairs of Q and DS add nothing,
    // then (DB,CB) = (6,9) adds 0 before (DB,CS) = (6,2) adds 3.
    EXPECT_EQ(planPick(b, 1, 1.0).seed, "861294503");
}

TEST(PickSeed, PreselectionPairsTheQuerentWithTheFirstFourOwnDigitsOnly) {
    NumberBasis b;
    b.querentDigit = 0;
    b.dayStemDigit = b.dayBranchDigit = b.hourStemDigit = b.hourBranchDigit = 5;
    b.shiDigits = {5, 5};
    b.yingDigits = {5, 5};
    b.changedShiYingDigits = {6, 6, 6, 6};
    b.markedDigits = {1, 3, 4, 9};
    // 0 5, own 6, (0,5) 27; (0,6) would add 9 but is not a pair of pick 11; (5,5) and (5,6)
    // give 0; the marked digits: (0,1) 4, (0,3) 8.
    EXPECT_EQ(planPick(b, 11, 1.0).seed, "0562748");
}

TEST(PickSeed, PairedPicksTakeTheirOwnDigitsFromBothLines) {
    NumberBasis b;
    b.querentDigit = b.dayStemDigit = b.dayBranchDigit = b.hourStemDigit = b.hourBranchDigit = 3;
    b.primaryStemDigits = {1, 2, 4, 6, 7, 8};
    b.primaryBranchDigits = {1, 2, 4, 6, 7, 8};
    // Pick 8: lines 2 and 5, digits 2 and 7; (3,3) 0, then (3,2) 6, (3,7) 6.
    EXPECT_EQ(planPick(b, 8, 1.0).seed, "32706");
    // Pick 10: the changed 世/应 digits (all 0 here): (3,0) 8.
    EXPECT_EQ(planPick(b, 10, 1.0).seed, "308");
}

TEST(PickSeed, AHandFilledBasisAddsItsValuesAsTexts) {
    NumberBasis b;
    b.querentDigit = 42;
    b.dayStemDigit = -3;
    b.dayBranchDigit = 4; // occurs in "42"
    b.hourStemDigit = 2;
    b.hourBranchDigit = 7;
    // Line 1 is all 0. Codes with 42 or −3 are 0; (4,0) is 3, which occurs in "-3"; (0,0) is 23.
    EXPECT_EQ(planPick(b, 1, 1.0).seed, "42-370");
    EXPECT_FALSE(generatePick(b, 1, 1.0).empty());
}

TEST(GeneratePick, OnlyPicksOneToEleven) {
    const NumberBasis b = workedExampleBasis();
    EXPECT_EQ(generatePick(b, 0, 0.2), "");
    EXPECT_EQ(generatePick(b, 12, 0.2), "");
    EXPECT_EQ(planPick(b, 12, 0.2), PickPlan{});
    EXPECT_NE(generatePick(b, 11, 0.2), "");
}

TEST(GeneratePick, NumbersAreDistinctAndWithinOneToEighty) {
    const NumberBasis b = workedExampleBasis();
    for (int pick = 1; pick <= kPickCount; ++pick) {
        std::vector<int> numbers = numbersOf(generatePick(b, pick, 0.2));
        EXPECT_TRUE(std::ranges::all_of(numbers, [](int n) { return n >= 1 && n <= 80; })) << pick;
        std::ranges::sort(numbers);
        EXPECT_EQ(std::ranges::adjacent_find(numbers), numbers.end()) << pick;
    }
}

} // namespace

} // namespace quenmar
