#include "base/DateTime.h"

#include <gtest/gtest.h>

namespace quenmar {

TEST(DateTime, CivilDaysRoundTripAcrossTheWholeRange) {
    // Every day from year 1 to 9999: each maps to the next day number and back.
    std::int64_t expected = daysFromCivil(1, 1, 1);
    for (int y = 1; y <= 9999; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= 31 && isValidDateTime(DateTime{y, m, d}); ++d, ++expected) {
                ASSERT_EQ(daysFromCivil(y, m, d), expected) << y << "-" << m << "-" << d;
                const CivilDate back = civilFromDays(expected);
                ASSERT_EQ(back.year, y);
                ASSERT_EQ(back.month, m);
                ASSERT_EQ(back.day, d);
            }
        }
    }
    EXPECT_EQ(daysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(daysFromCivil(1899, 12, 30), -25569);
}

TEST(DateTime, TextDropsTrailingZeroParts) {
    EXPECT_EQ(dateTimeText(DateTime{2024, 5, 1, 21, 30, 5}), "2024年5月1日21时30分5秒");
    EXPECT_EQ(dateTimeText(DateTime{2024, 5, 1, 0, 7}), "2024年5月1日0时7分");
    EXPECT_EQ(dateTimeText(DateTime{2024, 5, 1, 0, 0, 0, 999}), "2024年5月1日");
    EXPECT_EQ(dateText(DateTime{2024, 5, 1, 8}), "2024年5月1日");
}

TEST(DateTime, WeekdayCountsFromSunday) {
    EXPECT_EQ(weekday(DateTime{2024, 5, 5}), 1); // a Sunday
    EXPECT_EQ(weekday(DateTime{2024, 5, 9}), 5); // a Thursday
    EXPECT_EQ(weekday(DateTime{2024, 5, 11}), 7);
    EXPECT_EQ(weekday(DateTime{1950, 1, 1}), 1);
}

TEST(DateTime, ValidatesCalendarFields) {
    EXPECT_TRUE(isValidDateTime(DateTime{2024, 2, 29}));
    EXPECT_FALSE(isValidDateTime(DateTime{2023, 2, 29}));
    EXPECT_FALSE(isValidDateTime(DateTime{1900, 2, 29}));
    EXPECT_TRUE(isValidDateTime(DateTime{2000, 2, 29}));
    EXPECT_FALSE(isValidDateTime(DateTime{2024, 13, 1}));
    EXPECT_FALSE(isValidDateTime(DateTime{2024, 4, 31}));
    EXPECT_FALSE(isValidDateTime(DateTime{2024, 4, 30, 24}));
    EXPECT_FALSE(isValidDateTime(DateTime{0, 1, 1}));
}

} // namespace quenmar
