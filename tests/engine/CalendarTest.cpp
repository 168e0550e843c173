#include "engine/Calendar.h"

#include "Moments.h"
#include "engine/Moment.h"

#include <gtest/gtest.h>

namespace quenmar {

using test::at;

TEST(DayPillar, CountsSixtyDaysFromTheReferenceDay) {
    EXPECT_EQ(dayPillar(at(2022, 11, 7, 12)), "甲子");
    EXPECT_EQ(dayPillar(at(2022, 11, 8, 12)), "乙丑");
    EXPECT_EQ(dayPillar(at(2022, 11, 17, 12)), "甲戌");
    EXPECT_EQ(dayPillar(at(2023, 1, 6, 12)), "甲子");
}

TEST(DayPillar, TurnsHalfASecondAfterMidnight) {
    EXPECT_EQ(dayPillar(at(2022, 11, 8, 0, 0, 0, 0)), "甲子");
    EXPECT_EQ(dayPillar(at(2022, 11, 8, 0, 0, 0, 499)), "甲子");
    EXPECT_EQ(dayPillar(at(2022, 11, 8, 0, 0, 0, 500)), "乙丑");
    EXPECT_EQ(dayPillar(at(2022, 11, 8, 0, 0, 0, 600)), "乙丑");
    EXPECT_EQ(dayPillar(at(2022, 11, 7, 23, 59, 59, 999)), "甲子");
}

TEST(DayPillar, DaysBeforeTheReferenceDayMatchTheCalendar) {
    // Days that almanacs agree on: truncating the day count toward zero would make every one
    // of these a day late.
    EXPECT_EQ(dayPillar(at(2022, 11, 6, 12)), "癸亥");
    EXPECT_EQ(dayPillar(at(2022, 11, 6, 0, 0, 0, 600)), "癸亥");
    EXPECT_EQ(dayPillar(at(1950, 1, 1, 12)), "丙申");
    EXPECT_EQ(dayPillar(at(1949, 10, 1, 12)), "甲子");
    EXPECT_EQ(dayPillar(at(2000, 1, 1, 12)), "戊午");
    EXPECT_EQ(dayPillar(at(2100, 12, 31, 12)), dayPillar(at(2100, 12, 31, 12) - 60.0));
}

TEST(DayPillar, AbsurdMomentsDoNotCrash) {
    EXPECT_EQ(dayPillar(1e300).size(), 6u);
    EXPECT_EQ(dayPillar(-1e300).size(), 6u);
}

TEST(HourPillar, IndexWrapsAtTwentyThreeButTheNumberDoesNot) {
    struct Case {
        int hour;
        int index;
        int number;
    };
    const Case cases[] = {{0, 0, 0},  {1, 1, 1},    {2, 1, 1},    {3, 2, 2},
                          {12, 6, 6}, {21, 11, 11}, {22, 11, 11}, {23, 0, 12}};
    for (const Case& c : cases) {
        EXPECT_EQ(hourIndex(at(2024, 5, 1, c.hour, 30)), c.index) << c.hour;
        EXPECT_EQ(hourNumber(at(2024, 5, 1, c.hour, 30)), c.number) << c.hour;
    }
}

TEST(HourPillar, StemFollowsTheDayStem) {
    EXPECT_EQ(hourPillar(at(2022, 11, 7, 12), "甲"), "庚午");
    EXPECT_EQ(hourPillar(at(2022, 11, 7, 23, 30), "癸"), "壬子");
    EXPECT_EQ(hourPillar(at(2022, 11, 7, 0, 10), "甲"), "甲子");
    EXPECT_EQ(hourPillar(at(2022, 11, 7, 0, 10), "己"), "甲子");
    EXPECT_EQ(hourPillar(at(2022, 11, 7, 0, 10), "乙"), "丙子");
    EXPECT_EQ(hourPillar(at(2022, 11, 7, 0, 10), "庚"), "丙子");
    EXPECT_EQ(hourPillar(at(2022, 11, 7, 0, 10), "丙"), "戊子");
    EXPECT_EQ(hourPillar(at(2022, 11, 7, 0, 10), "丁"), "庚子");
    EXPECT_EQ(hourPillar(at(2022, 11, 7, 0, 10), "戊"), "壬子");
    EXPECT_EQ(hourPillar(at(2022, 11, 7, 22, 10), "戊"), "癸亥");
}

} // namespace quenmar
