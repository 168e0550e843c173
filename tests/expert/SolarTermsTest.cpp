#include "expert/SolarTerms.h"

#include "ExpertTestSupport.h"
#include "expert/SolarPillars.h"

#include <gtest/gtest.h>

namespace quenmar {

namespace {

using test::beijingInstant;

constexpr std::int64_t kMinute = 60'000;
constexpr std::int64_t kDay = 86'400'000;

std::int64_t termInstant(int year, int index) {
    const auto instant = solarTermInstant(year, index);
    EXPECT_TRUE(instant.has_value()) << year << " " << index;
    return instant.value_or(0);
}

struct PublishedTerm {
    int year;
    int index;
    const char* name;
    int month, day, hour, minute; // Beijing time as the almanacs print it
};

class PublishedTerms : public ::testing::TestWithParam<PublishedTerm> {};

TEST_P(PublishedTerms, FallWithinAMinuteOfTheAlmanac) {
    const PublishedTerm& t = GetParam();
    EXPECT_EQ(solarTermName(t.index), t.name);
    const std::int64_t published = beijingInstant({t.year, t.month, t.day, t.hour, t.minute, 0, 0});
    EXPECT_NEAR(static_cast<double>(termInstant(t.year, t.index)), static_cast<double>(published), 60'000.0);
}

INSTANTIATE_TEST_SUITE_P(Almanac, PublishedTerms,
                         ::testing::Values(PublishedTerm{2024, 1, "立春", 2, 4, 16, 27},
                                           PublishedTerm{2024, 11, "大雪", 12, 6, 23, 17},
                                           PublishedTerm{2024, 0, "小寒", 1, 6, 4, 49},
                                           PublishedTerm{2025, 1, "立春", 2, 3, 22, 10}));

// The Sun covers 30° in 29.4 days near perihelion and in 31.4 near aphelion: any other gap
// means a root in the wrong place, a wrong target or a year's terms out of order.
TEST(SolarTerms, FollowOneAnotherAMonthApartOverTheWholeSpan) {
    std::int64_t previous = termInstant(kFirstTermYear - 1, 0);
    for (int year = kFirstTermYear - 1; year <= kLastTermYear + 1; ++year) {
        for (int index = year == kFirstTermYear - 1 ? 1 : 0; index < kTermsPerYear; ++index) {
            const std::int64_t instant = termInstant(year, index);
            const double gapDays = static_cast<double>(instant - previous) / static_cast<double>(kDay);
            ASSERT_GT(gapDays, 29.3) << year << " " << solarTermName(index);
            ASSERT_LT(gapDays, 31.6) << year << " " << solarTermName(index);
            previous = instant;
        }
    }
}

TEST(SolarTerms, AreInForceFromTheirInstantOn) {
    const std::int64_t liChun = termInstant(2024, 1);
    EXPECT_EQ(solarTermInForce(liChun), (SolarTerm{2024, 1, liChun}));
    EXPECT_EQ(solarTermInForce(liChun - 1), (SolarTerm{2024, 0, termInstant(2024, 0)}));
    // Between 1 January (UTC) and 小寒 the previous year's 大雪 still rules.
    EXPECT_EQ(solarTermInForce(beijingInstant({2025, 1, 2, 12, 0, 0, 0})),
              (SolarTerm{2024, 11, termInstant(2024, 11)}));
}

TEST(SolarTerms, AreKnownOnlyForTheirYears) {
    EXPECT_FALSE(solarTermInstant(kFirstTermYear - 2, 11));
    EXPECT_FALSE(solarTermInstant(kLastTermYear + 2, 0));
    EXPECT_TRUE(solarTermInForce(beijingInstant({kFirstTermYear, 1, 1, 0, 0, 0, 0})));
    EXPECT_TRUE(solarTermInForce(beijingInstant({kLastTermYear, 12, 31, 23, 59, 0, 0})));
    EXPECT_FALSE(solarTermInForce(beijingInstant({kFirstTermYear - 2, 6, 1, 0, 0, 0, 0})));
    EXPECT_FALSE(solarTermInForce(beijingInstant({kLastTermYear + 2, 6, 1, 0, 0, 0, 0})));
}

// Pillars a minute either side of a term: the year turns at 立春 only, not on 1 January.
struct PillarCase {
    const char* what;
    int year;
    int index;             // the term the moment lies near
    std::int64_t offsetMs; // from the term's instant
    const char* yearPillar;
    const char* monthPillar;
};

class PillarsAroundTerms : public ::testing::TestWithParam<PillarCase> {};

TEST_P(PillarsAroundTerms, TurnAtTheTermsInstant) {
    const PillarCase& c = GetParam();
    const auto pillars = solarPillars(termInstant(c.year, c.index) + c.offsetMs);
    ASSERT_TRUE(pillars) << c.what;
    EXPECT_EQ(pillars->yearPillar, c.yearPillar) << c.what;
    EXPECT_EQ(pillars->monthPillar, c.monthPillar) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Boundaries, PillarsAroundTerms,
                         ::testing::Values(PillarCase{"before 立春 2024", 2024, 1, -kMinute, "癸卯", "乙丑"},
                                           PillarCase{"after 立春 2024", 2024, 1, kMinute, "甲辰", "丙寅"},
                                           PillarCase{"before 大雪 2024", 2024, 11, -kMinute, "甲辰", "乙亥"},
                                           PillarCase{"after 大雪 2024", 2024, 11, kMinute, "甲辰", "丙子"},
                                           PillarCase{"before 小寒 2025", 2025, 0, -kMinute, "甲辰", "丙子"},
                                           PillarCase{"after 小寒 2025", 2025, 0, kMinute, "甲辰", "丁丑"},
                                           PillarCase{"before 立春 2025", 2025, 1, -kMinute, "甲辰", "丁丑"},
                                           PillarCase{"after 立春 2025", 2025, 1, kMinute, "乙巳", "戊寅"}));

// 五虎遁 over a whole cycle of year stems, and 小寒 closing the year before.
TEST(SolarPillars, OpenEachYearWithTheYinMonthOfItsStem) {
    const char* expected[][2] = {{"甲辰", "丙寅"}, {"乙巳", "戊寅"}, {"丙午", "庚寅"}, {"丁未", "壬寅"},
                                 {"戊申", "甲寅"}, {"己酉", "丙寅"}, {"庚戌", "戊寅"}, {"辛亥", "庚寅"},
                                 {"壬子", "壬寅"}, {"癸丑", "甲寅"}};
    for (int k = 0; k < 10; ++k) {
        const SolarPillars pillars = pillarsOfTerm(SolarTerm{2024 + k, 1, 0});
        EXPECT_EQ(pillars.yearPillar, expected[k][0]) << 2024 + k;
        EXPECT_EQ(pillars.monthPillar, expected[k][1]) << 2024 + k;
    }
    EXPECT_EQ(pillarsOfTerm(SolarTerm{2025, 0, 0}).monthPillar, "丁丑");
    EXPECT_EQ(pillarsOfTerm(SolarTerm{2024, 11, 0}).monthPillar, "丙子");
    EXPECT_EQ(pillarsOfTerm(SolarTerm{1984, 1, 0}).yearPillar, "甲子");
}

} // namespace

} // namespace quenmar
