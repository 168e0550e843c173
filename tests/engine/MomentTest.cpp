#include "engine/Moment.h"

#include "Moments.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace quenmar {

using test::at;

TEST(Moment, DayCountSince1899_12_30WithTimeAsFraction) {
    EXPECT_EQ(at(1899, 12, 30), 0.0);
    EXPECT_EQ(at(1900, 1, 1), 2.0);
    EXPECT_EQ(at(1970, 1, 1), 25569.0);
    EXPECT_EQ(at(2022, 11, 7, 12), 44872.5);
    EXPECT_EQ(at(1899, 12, 29, 18), -0.25);
}

TEST(Moment, FieldsRoundTripToTheMillisecond) {
    const DateTime samples[] = {{2024, 5, 1, 21, 30, 5, 123},    {1950, 1, 1, 0, 0, 0, 1},
                                {2035, 12, 31, 23, 59, 59, 999}, {2100, 2, 28, 12, 0, 0, 500},
                                {1899, 12, 29, 6, 0, 0, 0},      {9999, 12, 31, 23, 59, 59, 999}};
    for (const DateTime& f : samples) {
        const auto back = dateTimeFromMoment(momentFromDateTime(f));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, f) << dateText(f);
    }
}

TEST(Moment, RoundingToTheMillisecondCarriesIntoTheNextDay) {
    const auto f = dateTimeFromMoment(at(2024, 5, 1) + 1.0 - 0.0004 / 86400.0);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(*f, (DateTime{2024, 5, 2, 0, 0, 0, 0}));
}

TEST(Moment, AbsurdMomentsHaveNoFields) {
    EXPECT_FALSE(dateTimeFromMoment(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(dateTimeFromMoment(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(dateTimeFromMoment(1e300));
    EXPECT_FALSE(dateTimeFromMoment(-1e12));
}

TEST(Moment, DateTimeTextDropsTrailingZeroParts) {
    EXPECT_EQ(dateTimeText(at(2024, 5, 1, 21, 30, 5)), "2024年5月1日21时30分5秒");
    EXPECT_EQ(dateTimeText(at(2024, 5, 1, 21, 30)), "2024年5月1日21时30分");
    EXPECT_EQ(dateTimeText(at(2024, 5, 1, 8)), "2024年5月1日8时");
    EXPECT_EQ(dateTimeText(at(2024, 5, 1)), "2024年5月1日");
    EXPECT_EQ(dateTimeText(at(2024, 5, 1, 0, 0, 7)), "2024年5月1日0时0分7秒");
    // Milliseconds are kept in the moment but never written.
    EXPECT_EQ(dateTimeText(at(2024, 5, 1, 0, 0, 0, 250)), "2024年5月1日");
}

TEST(Moment, DateTimeTextIsEmptyOutsideTheOleDateRange) {
    EXPECT_EQ(dateTimeText(-657435.0), "");
    EXPECT_EQ(dateTimeText(2958466.0), "");
    EXPECT_EQ(dateTimeText(std::nan("")), "");
    EXPECT_EQ(dateTimeText(-657434.0), "100年1月1日");
    EXPECT_EQ(dateTimeText(2958465.0), "9999年12月31日");
}

TEST(Moment, EpochMillisecondsAddTheStandardBias) {
    // China Standard Time: UTC = local time − 8 h, a bias of −480 minutes.
    EXPECT_EQ(epochMs(at(1970, 1, 1, 8), -480), 0);
    EXPECT_EQ(epochMs(at(2022, 11, 7, 12, 0, 0, 123), -480), 1667793600123);
    EXPECT_EQ(epochMs(at(1970, 1, 1), 0), 0);
    EXPECT_EQ(epochMs(at(1969, 12, 31, 23, 59, 59, 999), 0), -1);
    EXPECT_EQ(epochMs(at(1970, 1, 1), 300), 18'000'000); // five hours west
}

} // namespace quenmar
