#include "store/YsModel.h"

#include "Moments.h"
#include "engine/Casting.h"
#include "engine/ChartRun.h"
#include "engine/Moment.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace quenmar::store {
namespace {

using test::at;

struct TitleCase {
    std::string userTitle;
    double moment;
    std::string expected;
};

class RecordTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(RecordTitleTest, AppendsTheMomentInParentheses) {
    EXPECT_EQ(recordTitle(GetParam().userTitle, GetParam().moment), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, RecordTitleTest,
    ::testing::Values(TitleCase{"A", at(2024, 5, 1, 8, 0, 0), "A(2024年5月1日8时)"},
                      TitleCase{"A", at(2024, 5, 1, 8, 30, 15), "A(2024年5月1日8时30分15秒)"},
                      TitleCase{"A", at(2024, 5, 1, 0, 0, 0), "A(2024年5月1日)"},
                      TitleCase{"abc", at(2024, 5, 3, 14, 0, 0), "abc(2024年5月3日14时)"},
                      TitleCase{"abc", at(2024, 5, 3, 14, 5, 30), "abc(2024年5月3日14时5分30秒)"},
                      TitleCase{"abc", at(2024, 5, 3, 14, 5, 0), "abc(2024年5月3日14时5分)"},
                      // Milliseconds are not part of the text.
                      TitleCase{"测", at(2024, 5, 3, 0, 0, 0, 999), "测(2024年5月3日)"},
                      // An empty title still gives a title; the caller asks for one first.
                      TitleCase{"", at(2024, 5, 3, 14, 0, 0), "(2024年5月3日14时)"},
                      TitleCase{"A", 2958466.0, "A()"}, TitleCase{"A", -657435.0, "A()"},
                      TitleCase{"A", std::numeric_limits<double>::quiet_NaN(), "A()"},
                      TitleCase{"A", std::numeric_limits<double>::infinity(), "A()"}));

struct FlagsCase {
    std::string text;
    std::vector<int> expected;
};

class ParseMovingFlagsTest : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(ParseMovingFlagsTest, ReadsEachPartLikeAnInteger) {
    std::vector<int> flags;
    parseMovingFlags(GetParam().text, flags);
    EXPECT_EQ(flags, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseMovingFlagsTest,
    ::testing::Values(FlagsCase{"0,0,1,0,-1,0", {0, 0, 1, 0, -1, 0}}, FlagsCase{"", {}},
                      FlagsCase{" 1 ,\t-1 ,, ,", {1, -1}}, FlagsCase{"+1,-0", {1, 0}},
                      FlagsCase{"1x,x1,-,+", {1, 0, 0, 0}}, FlagsCase{"1 2", {1}}, FlagsCase{"0,1", {0, 1}},
                      FlagsCase{"0,0,0,0,0,0,1,1", {0, 0, 0, 0, 0, 0, 1, 1}},
                      FlagsCase{"99999999999999999999,-99999999999999999999", {INT_MAX, INT_MIN}}));

TEST(ParseMovingFlagsTest, AppendsToTheGivenList) {
    std::vector<int> flags{7};
    parseMovingFlags("1,-1", flags);
    EXPECT_EQ(flags, (std::vector<int>{7, 1, -1}));
}

TEST(FormatMovingFlagsTest, JoinsWithCommasAndReadsBack) {
    EXPECT_EQ(formatMovingFlags({}), "");
    EXPECT_EQ(formatMovingFlags({-1}), "-1");
    const std::vector<int> flags{0, 0, 1, 0, -1, 0};
    EXPECT_EQ(formatMovingFlags(flags), "0,0,1,0,-1,0");
    std::vector<int> back;
    parseMovingFlags(formatMovingFlags(flags), back);
    EXPECT_EQ(back, flags);
}

// A finished chart as the chart panel would hold it.
ChartResult chartOf(CastRequest request, double now) {
    prepareRequest(request, kGameHappy8, ClockReading{now, -480});
    const ChartRun run = runChart(request);
    EXPECT_TRUE(run.charted) << run.message;
    return run.chart;
}

TEST(ModelFromChartTest, KeepsTheInputsOfTheCalculation) {
    CastRequest request;
    request.method = CastMethod::ByHand;
    request.zodiac = 7;
    request.upperLines = "101";
    request.lowerLines = "001";
    request.movingFlags = {0, 0, 1, 0, -1, 0};
    request.timeChoice = TimeChoice::Current;
    request.moment = at(2024, 5, 3, 14, 5, 30, 250);
    const ChartResult chart = chartOf(request, request.moment);

    const YsModel model = modelFromChart(chart, "abc", "备注\n第二行");
    YsModel expected;
    expected.ysname = "abc(2024年5月3日14时5分30秒)";
    expected.ysindex = 2;
    expected.ysnumber = "";
    expected.ysday = request.moment;
    expected.gzsxid = 7;
    expected.upstr = "101";
    expected.downstr = "001";
    expected.dong = {0, 0, 1, 0, -1, 0};
    expected.rot = 1;
    expected.uinfo = "备注\n第二行";
    EXPECT_EQ(model, expected);
}

TEST(ModelFromChartTest, StoresTheMovingMarkOfANumberCast) {
    CastRequest request;
    request.method = CastMethod::ByNumber;
    request.zodiac = 1;
    request.numberText = "38"; // 火地晋 moving on line 5, the yin middle line of 离
    const ChartResult chart = chartOf(request, at(2024, 5, 3, 0, 0, 0));
    const YsModel model = modelFromChart(chart, "", "");
    EXPECT_EQ(model.ysname, "(2024年5月3日)");
    EXPECT_EQ(model.ysnumber, "38");
    EXPECT_EQ(model.dong, (std::vector<int>{0, 0, 0, 0, -1, 0}));
    EXPECT_EQ(model._id, 0);
}

TEST(RequestFromModelTest, RestoresTheFieldsAndPadsTheFlagsToSixLines) {
    YsModel model;
    model._id = 12;
    model.ysname = "ignored";
    model.ysindex = 2;
    model.ysnumber = " 5 ";
    model.ysday = 45000.5;
    model.gzsxid = 3;
    model.upstr = "111";
    model.downstr = "000";
    model.dong = {1, -1};
    model.rot = 2;
    model.uinfo = "ignored";

    CastRequest expected;
    expected.recordId = 12;
    expected.method = CastMethod::ByHand;
    expected.numberText = " 5 "; // only the number box trims
    expected.moment = 45000.5;
    expected.zodiac = 3;
    expected.upperLines = "111";
    expected.lowerLines = "000";
    expected.timeChoice = TimeChoice::Draw;
    expected.movingFlags = {1, -1, 0, 0, 0, 0};
    EXPECT_EQ(requestFromModel(model), expected);

    model.dong = {1, 0, 0, 0, 0, -1, 1, 1};
    EXPECT_EQ(requestFromModel(model).movingFlags, (std::vector<int>{1, 0, 0, 0, 0, -1}));
    model.ysindex = 1;
    EXPECT_EQ(requestFromModel(model).numberText, "5");
}

// Saving and reviewing must give the same chart back: the record is the whole input.
TEST(RequestFromModelTest, ReviewRecomputesTheSavedChart) {
    CastRequest byHand;
    byHand.method = CastMethod::ByHand;
    byHand.zodiac = 12;
    byHand.upperLines = "010";
    byHand.lowerLines = "110";
    byHand.movingFlags = {1, 0, 0, -1, 0, 0};
    byHand.moment = at(2023, 2, 4, 23, 59, 59, 500);

    CastRequest byMilliseconds;
    byMilliseconds.method = CastMethod::ByMilliseconds;
    byMilliseconds.zodiac = 4;
    byMilliseconds.timeChoice = TimeChoice::Draw;

    for (const CastRequest& original : {byHand, byMilliseconds}) {
        const double then = at(2024, 1, 9, 22, 30, 1, 123);
        const ChartResult chart = chartOf(original, then);
        YsModel saved = modelFromChart(chart, "t", "");
        saved._id = 5;
        // Reviewed a year later: the stored moment and number stand.
        const ChartResult again = chartOf(requestFromModel(saved), at(2025, 6, 1, 9, 0, 0));
        EXPECT_EQ(again, chart) << "method " << static_cast<int>(original.method);
    }
}

} // namespace
} // namespace quenmar::store
