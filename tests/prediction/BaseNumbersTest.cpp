#include "prediction/BaseNumbers.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quenmar {

namespace {

struct RelationCase {
    int a;
    int b;
    int score;
};

class DigitRelationTable : public ::testing::TestWithParam<RelationCase> {};

TEST_P(DigitRelationTable, ScoresThePair) {
    const RelationCase c = GetParam();
    EXPECT_EQ(digitRelation(c.a, c.b), c.score) << c.a << " against " << c.b;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DigitRelationTable,
    ::testing::Values(RelationCase{7, 7, 5}, RelationCase{0, 5, -5}, RelationCase{5, 0, -5},
                      // Not symmetric.
                      RelationCase{0, 1, -2}, RelationCase{1, 0, 1}, RelationCase{9, 8, 2},
                      RelationCase{8, 9, 2}, RelationCase{3, 6, 1}, RelationCase{6, 3, 1},
                      RelationCase{4, 2, 4}, RelationCase{2, 4, 4},
                      // Outside 0..9: equal arguments still score 5, others 0.
                      RelationCase{10, 10, 5}, RelationCase{-1, 3, 0}, RelationCase{3, 10, 0}));

TEST(DigitRelation, DigitsOfOneElementClash) {
    for (int n = 0; n < 5; ++n) {
        EXPECT_EQ(digitRelation(n, n + 5), -5) << n;
        EXPECT_EQ(digitRelation(n + 5, n), -5) << n;
    }
}

TEST(DigitRelation, EveryDigitScoresItselfFiveAndOthersWithinRange) {
    for (int a = 0; a <= 9; ++a) {
        for (int b = 0; b <= 9; ++b) {
            const int score = digitRelation(a, b);
            if (a == b) {
                EXPECT_EQ(score, 5);
            } else {
                EXPECT_TRUE(score >= -5 && score <= 4 && score != 0) << a << "," << b;
            }
        }
    }
}

struct TenthsCase {
    double in;
    double out;
};

class ToTenthsTable : public ::testing::TestWithParam<TenthsCase> {};

TEST_P(ToTenthsTable, RoundsHalfAwayFromZero) {
    EXPECT_EQ(toTenths(GetParam().in), GetParam().out) << GetParam().in;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToTenthsTable,
    ::testing::Values(TenthsCase{0.25, 0.3}, TenthsCase{-0.25, -0.3}, TenthsCase{0.0000005, 0.0000005},
                      TenthsCase{-0.000001, -0.000001}, TenthsCase{0.0, 0.0},
                      // 1.2000000000000002 (6 × 0.2) comes back as the double nearest 1.2.
                      TenthsCase{6 * 0.2, 1.2}, TenthsCase{0.36, 0.4}, TenthsCase{0.34, 0.3},
                      TenthsCase{0.04, 0.0}, TenthsCase{0.05, 0.1}, TenthsCase{7.96, 8.0},
                      // 0.15 × 10 is 1.4999999999999998; the slack of 0.000001 carries it up.
                      TenthsCase{0.15, 0.2}, TenthsCase{-2.449, -2.4}, TenthsCase{39.99, 40.0}));

NumberBasis basisWithRelations(std::vector<int> entries) {
    NumberBasis b;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        b.querentRelations[i] = entries[i];
    }
    return b;
}

TEST(ChartFactor, FromTheFourDayAndHourRelations) {
    EXPECT_EQ(chartFactor(basisWithRelations({0, 0, 0, 0})), 1.0);
    EXPECT_EQ(chartFactor(basisWithRelations({5, -5, 2, -2})), 1.0);
    EXPECT_EQ(chartFactor(basisWithRelations({1, 0, 0, 0})), 0.1);
    EXPECT_EQ(chartFactor(basisWithRelations({-5, 5, -5, 4})), 0.1);
    EXPECT_EQ(chartFactor(basisWithRelations({5, 5, 5, 5})), 2.0);
    EXPECT_EQ(chartFactor(basisWithRelations({-5, -5, -5, -5})), 2.0);
    EXPECT_EQ(chartFactor(basisWithRelations({4, 2, 1, -5})), 0.2);
    // Only entries 0..3 count.
    EXPECT_EQ(chartFactor(basisWithRelations({3, 0, 0, 0, 5, 5})), 0.3);
}

TEST(ScaledMagnitude, TakesTheMagnitudeOrTenForZero) {
    EXPECT_EQ(scaledMagnitude(-3, 0.7), 2.1);
    EXPECT_EQ(scaledMagnitude(3, 0.7), 2.1);
    EXPECT_EQ(scaledMagnitude(0, 0.7), 7.0);
    EXPECT_EQ(scaledMagnitude(20, 2.0), 40.0);
    EXPECT_EQ(scaledMagnitude(1, 0.1), 0.1);
}

TEST(LineFactors, PrimaryLineUsesTheRelationsOfThatPrimaryLine) {
    NumberBasis b;
    // Line 3: entries 8 and 9.
    b.querentRelations[8] = -1;
    b.querentRelations[9] = -2;
    EXPECT_EQ(primaryLineFactor(b, 3, 0.7), 2.1);
    b.querentRelations[9] = 1;
    EXPECT_EQ(primaryLineFactor(b, 3, 0.7), 7.0);
}

TEST(LineFactors, ChangedLineSixUsesEntriesTwentySixAndTwentySeven) {
    NumberBasis b;
    b.querentRelations[14] = 5; // primary line 6: must not count
    b.querentRelations[15] = 5;
    b.querentRelations[26] = 2;
    b.querentRelations[27] = -4;
    EXPECT_EQ(changedLineFactor(b, 6, 0.5), 1.0);
    EXPECT_EQ(primaryLineFactor(b, 6, 0.5), 5.0);
}

TEST(LineFactors, CrossLineSumsTheFourCrossRelations) {
    NumberBasis b;
    b.crossRelations[0] = {1, 2, 3, 4};
    b.crossRelations[5] = {-5, 5, -4, 4};
    EXPECT_EQ(crossLineFactor(b, 1, 0.2), 2.0);
    EXPECT_EQ(crossLineFactor(b, 6, 0.2), 2.0); // a sum of 0 counts as 10
}

TEST(LineFactors, LinesOutsideOneToSixGiveZero) {
    NumberBasis b;
    b.querentRelations.fill(3);
    for (const int line : {0, 7, -1, 100}) {
        EXPECT_EQ(primaryLineFactor(b, line, 1.0), 0.0) << line;
        EXPECT_EQ(changedLineFactor(b, line, 1.0), 0.0) << line;
        EXPECT_EQ(crossLineFactor(b, line, 1.0), 0.0) << line;
    }
}

TEST(LineFactors, HandFilledExtremesDoNotOverflow) {
    NumberBasis b;
    b.querentRelations.fill(INT32_MAX);
    b.crossRelations[0] = {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN};
    EXPECT_EQ(chartFactor(b), toTenths(4.0 * INT32_MAX / 10.0));
    EXPECT_EQ(crossLineFactor(b, 1, 1.0), toTenths(-4.0 * INT32_MIN));
}

// A chart as the engine leaves it, with digits chosen so that every position is distinct
// enough to catch a mix-up of lines, stems and branches.
ChartResult sampleChart() {
    ChartResult c;
    c.zodiacDigit = 4;
    c.dayStemDigit = 2;
    c.dayBranchDigit = 7;
    c.hourStemDigit = 1;
    c.hourBranchDigit = 9;
    c.primaryStemDigits = {3, 1, 4, 1, 5, 9};
    c.primaryBranchDigits = {8, 2, 6, 5, 3, 5};
    c.changedStemDigits = {6, 7, 0, 2, 1, 8};
    c.changedBranchDigits = {0, 9, 9, 3, 7, 4};
    c.shiIndex = 2;
    c.yingIndex = 5;
    c.changedShiIndex = 1;
    c.changedYingIndex = 4;
    c.primarySpirits = {"勾陈", "腾蛇", "白虎", "玄武", "青龙", "朱雀"};
    return c;
}

TEST(BuildNumberBasis, CopiesTheDigitsAndScoresTheRelations) {
    const NumberBasis b = buildNumberBasis(sampleChart());
    EXPECT_EQ(b.querentDigit, 4);
    EXPECT_EQ(b.dayStemDigit, 2);
    EXPECT_EQ(b.dayBranchDigit, 7);
    EXPECT_EQ(b.hourStemDigit, 1);
    EXPECT_EQ(b.hourBranchDigit, 9);
    EXPECT_EQ(b.primaryStemDigits, (std::array<std::int32_t, 6>{3, 1, 4, 1, 5, 9}));
    EXPECT_EQ(b.changedBranchDigits, (std::array<std::int32_t, 6>{0, 9, 9, 3, 7, 4}));
    // Row 4 of the table against 2, 7, 1, 9; then primary line 1 (3, 8) ... changed line 6 (8, 4).
    const std::array<std::int32_t, 28> relations{4,  2,  1,  -5,         // day and hour
                                                 -2, 4,  1,  4,  5,  3,  // primary lines 1..3
                                                 1,  -1, -1, -2, -5, -1, // primary lines 4..6
                                                 3,  3,  2,  -5, 3,  -5, // changed lines 1..3
                                                 4,  -2, 1,  2,  4,  5}; // changed lines 4..6
    EXPECT_EQ(b.querentRelations, relations);
    // Line 1: 3→6, 3→0, 8→6, 8→0.
    EXPECT_EQ(b.crossRelations[0], (std::array<std::int32_t, 4>{1, 2, 3, 4}));
    // Line 6: 9→8, 9→4, 5→8, 5→4.
    EXPECT_EQ(b.crossRelations[5], (std::array<std::int32_t, 4>{2, -5, -2, 3}));
}

TEST(BuildNumberBasis, ShiYingAndChangedShiYingDigits) {
    const NumberBasis b = buildNumberBasis(sampleChart());
    EXPECT_EQ(b.shiIndex, 2);
    EXPECT_EQ(b.yingIndex, 5);
    EXPECT_EQ(b.shiDigits, (std::array<std::int32_t, 2>{4, 6}));  // primary line 3
    EXPECT_EQ(b.yingDigits, (std::array<std::int32_t, 2>{8, 4})); // changed line 6
    EXPECT_EQ(b.changedShiIndex, 1);
    EXPECT_EQ(b.changedYingIndex, 4);
    EXPECT_EQ(b.changedShiYingDigits, (std::array<std::int32_t, 4>{7, 9, 1, 7}));
    EXPECT_EQ(b.changedShiYingRelations, (std::array<std::int32_t, 4>{2, -5, 1, 2}));
}

struct SpiritCase {
    std::vector<std::string> spirits;
    int shi;
    int ying;
    int marked;
};

class MarkedLineRule : public ::testing::TestWithParam<SpiritCase> {};

TEST_P(MarkedLineRule, PicksTheFirstFreeGreenDragonOrBlackTortoiseLine) {
    ChartResult c = sampleChart();
    c.primarySpirits = GetParam().spirits;
    c.shiIndex = GetParam().shi;
    c.yingIndex = GetParam().ying;
    const NumberBasis b = buildNumberBasis(c);
    ASSERT_EQ(b.markedLine, GetParam().marked);
    const auto line = static_cast<std::size_t>(b.markedLine);
    EXPECT_EQ(b.markedDigits,
              (std::array<std::int32_t, 4>{c.primaryStemDigits[line], c.primaryBranchDigits[line],
                                           c.changedStemDigits[line], c.changedBranchDigits[line]}));
}

INSTANTIATE_TEST_SUITE_P(Cases, MarkedLineRule,
                         ::testing::Values(
                             // 青龙 on the 世 line, 玄武 free: the 玄武 line.
                             SpiritCase{{"青龙", "朱雀", "勾陈", "腾蛇", "白虎", "玄武"}, 0, 3, 5},
                             // 玄武 on line 1 as the 应 line, 青龙 free on line 2: index 1.
                             SpiritCase{{"玄武", "青龙", "朱雀", "勾陈", "腾蛇", "白虎"}, 3, 0, 1},
                             // Both on 世 and 应: the last of them.
                             SpiritCase{{"白虎", "玄武", "青龙", "朱雀", "勾陈", "腾蛇"}, 1, 2, 2},
                             SpiritCase{{"白虎", "玄武", "青龙", "朱雀", "勾陈", "腾蛇"}, 2, 1, 2},
                             // Free 青龙 below a free 玄武: the lower one wins.
                             SpiritCase{{"腾蛇", "白虎", "玄武", "青龙", "朱雀", "勾陈"}, 5, 0, 2},
                             // Neither spirit at all (a texts mismatch must not count): index 0.
                             SpiritCase{{"白虎", "朱雀", "勾陈", "腾蛇", "青", "玄武 "}, 2, 4, 0},
                             // A short list is scanned as far as it goes.
                             SpiritCase{{"白虎", "朱雀"}, 2, 4, 0}, SpiritCase{{}, 2, 4, 0}));

TEST(BuildNumberBasis, AnUnfilledChartGivesZeroDigitsAndNoCrash) {
    ChartResult c;
    c.zodiacDigit = 3;
    c.shiIndex = 9;
    c.yingIndex = -1;
    c.changedShiIndex = 6;
    const NumberBasis b = buildNumberBasis(c);
    EXPECT_EQ(b.primaryStemDigits, (std::array<std::int32_t, 6>{}));
    EXPECT_EQ(b.shiDigits, (std::array<std::int32_t, 2>{}));
    EXPECT_EQ(b.shiIndex, 9);
    EXPECT_EQ(b.querentRelations[4], digitRelation(3, 0));
    EXPECT_EQ(b.markedLine, 0);
}

TEST(BuildNumberBasis, IsTheSameForEveryCopyOfTheChart) {
    const ChartResult c = sampleChart();
    const ChartResult copy = c;
    EXPECT_EQ(buildNumberBasis(copy), buildNumberBasis(c));
    EXPECT_EQ(copy, c);
}

} // namespace

} // namespace quenmar
