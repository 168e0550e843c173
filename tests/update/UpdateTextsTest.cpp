#include "update/UpdateTexts.h"

#include <gtest/gtest.h>

namespace quenmar::update {
namespace {

struct MegabyteCase {
    std::int64_t bytes;
    const char* text;
};

class MegabytesTextTest : public ::testing::TestWithParam<MegabyteCase> {};

TEST_P(MegabytesTextTest, RoundsToTwoDecimals) {
    EXPECT_EQ(megabytesText(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MegabytesTextTest,
                         ::testing::Values(MegabyteCase{0, "0"}, MegabyteCase{1, "0"},
                                           MegabyteCase{5000, "0"},
                                           MegabyteCase{5243, "0.01"}, // 0.005000… rounds up
                                           MegabyteCase{1310720, "1.25"}, MegabyteCase{1572864, "1.5"},
                                           MegabyteCase{5242880, "5"}, MegabyteCase{123456789, "117.74"},
                                           MegabyteCase{-1048576, "-1"}, MegabyteCase{-1, "0"},
                                           MegabyteCase{1099511627776, "1048576"}, // 1 TiB, no exponent
                                           MegabyteCase{std::int64_t{1} << 62, "4398046511104"}));

TEST(UpdateTextsTest, FillsTheFirstPlaceholder) {
    EXPECT_EQ(fillTemplate("文件大小:{0}MB", "5"), "文件大小:5MB");
    EXPECT_EQ(fillTemplate("更新内容:{0}", "a {0} b"), "更新内容:a {0} b");
    EXPECT_EQ(fillTemplate("none", "x"), "none");
}

TEST(UpdateTextsTest, ProgressOfAQuarter) {
    EXPECT_EQ(progressPercent(1310720, 5242880), 25);
    EXPECT_EQ(progressText(1310720, 5242880), "文件大小:5/已下载:1.25MB");
}

struct PercentCase {
    std::int64_t received;
    std::int64_t total;
    std::optional<int> percent;
};

class ProgressPercentTest : public ::testing::TestWithParam<PercentCase> {};

TEST_P(ProgressPercentTest, CountsOnlyMeaningfulNotices) {
    EXPECT_EQ(progressPercent(GetParam().received, GetParam().total), GetParam().percent);
}

INSTANTIATE_TEST_SUITE_P(Notices, ProgressPercentTest,
                         ::testing::Values(PercentCase{1, 3, 33}, PercentCase{2, 3, 67},
                                           PercentCase{1, 200, 1}, PercentCase{1, 201, 0},
                                           PercentCase{5, 5, 100}, PercentCase{0, 5, std::nullopt},
                                           PercentCase{5, 0, std::nullopt}, PercentCase{6, 5, std::nullopt},
                                           PercentCase{-1, 5, std::nullopt},
                                           PercentCase{std::int64_t{1} << 40, std::int64_t{1} << 41, 50}));

} // namespace
} // namespace quenmar::update
