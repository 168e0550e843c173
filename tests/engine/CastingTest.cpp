#include "engine/Casting.h"

#include "Moments.h"
#include "engine/Moment.h"
#include "engine/Tables.h"

#include <gtest/gtest.h>

namespace quenmar {

using test::at;

namespace {

std::string name(int upper, int lower) {
    return std::string(trigramName(upper)) + "/" + std::string(trigramName(lower));
}

struct NumberCase {
    const char* text;
    int hourNumber;
    const char* primary; // upper/lower
    int movingLine;
    const char* changed;
};

class CastByNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(CastByNumber, GivesTrigramsMovingLineAndChangedHexagram) {
    const NumberCase& c = GetParam();
    const auto cast = castByNumber(c.text, c.hourNumber);
    ASSERT_TRUE(cast.has_value());
    EXPECT_EQ(name(cast->upper, cast->lower), c.primary);
    EXPECT_EQ(cast->movingLine, c.movingLine);
    const ChangedLines changed =
        changedByMovingLine(trigramLines(cast->upper), trigramLines(cast->lower), cast->movingLine);
    EXPECT_EQ(name(trigramNumber(changed.upperLines), trigramNumber(changed.lowerLines)), c.changed);
}

INSTANTIATE_TEST_SUITE_P(
    NumberRules, CastByNumber,
    ::testing::Values(NumberCase{"5", 0, "巽/坤", 1, "巽/震"},     // 风地观 → 风雷益
                      NumberCase{"5", 12, "巽/震", 3, "巽/离"},    // the hour enters a one-digit cast
                      NumberCase{"0", 0, "坤/坤", 4, "震/坤"},     // 0 and the hour 0 both wrap to 8
                      NumberCase{"38", 0, "离/坤", 5, "乾/坤"},    // 火地晋 → 天地否
                      NumberCase{"99", 0, "乾/乾", 6, "兑/乾"},    // the raw digits are added: 18 → 6
                      NumberCase{"123", 0, "乾/兑", 3, "乾/乾"},   // 天泽履 → 乾为天
                      NumberCase{"105", 0, "兑/兑", 5, "震/兑"},   // middle zero: one value 10
                      NumberCase{"900", 0, "兑/兑", 6, "乾/兑"},   // middle zero: 90; a zero third wraps to 6
                      NumberCase{"120", 0, "乾/震", 3, "乾/离"},   // last zero: 1 and 20
                      NumberCase{"012", 0, "坤/震", 6, "艮/震"},   // first zero: 0 and 12
                      NumberCase{"1234", 0, "离/艮", 4, "艮/艮"},  // 火山旅 → 艮为山
                      NumberCase{"12345", 0, "离/震", 6, "震/震"}, // odd: the middle digit goes below
                      NumberCase{"1733542541123", 0, "艮/兑", 6, "坤/兑"} // 13 digits: 山泽损 → 地泽临
                      ));

} // namespace

TEST(CastByNumber, EmptyTextCastsNothing) {
    EXPECT_FALSE(castByNumber("", 3).has_value());
}

TEST(CastByNumber, NonDigitCharactersCountZero) {
    // A millisecond number before 1970 carries a sign; it counts as a character worth 0.
    const auto cast = castByNumber("-12", 0);
    ASSERT_TRUE(cast.has_value());
    EXPECT_EQ(*cast, (NumberCast{8, 1, 2})); // no "0": the sign counts 0 and wraps to 坤
}

TEST(DigitSum, AddsAsciiDigitsOnly) {
    EXPECT_EQ(digitSum("12345"), 15);
    EXPECT_EQ(digitSum(""), 0);
    EXPECT_EQ(digitSum("1a2"), 3);
    EXPECT_EQ(digitSum("１２"), 0); // full-width digits are not digits
    EXPECT_EQ(textValue("05"), 5);
    EXPECT_EQ(textValue("a"), 0);
}

TEST(CastByHand, MalformedLinesGiveKun) {
    const HandCast cast = castByHand("101", "1x1", {0, 0, 0, 0, 0, 1});
    EXPECT_EQ(cast.upper, 3);
    EXPECT_EQ(cast.lower, 8);
    EXPECT_EQ(cast.movingFlags, (std::vector<int>{0, 0, 0, 0, 0, 1}));
}

TEST(ChangedLines, FlagsFlipEveryMovingLine) {
    EXPECT_EQ(changedByFlags("101", "100", {1, 0, -1, 0, 0, 1}), (ChangedLines{"100", "001"}));
    EXPECT_EQ(changedByFlags("101", "100", {0, 0, 0, 0, 0, 0}), (ChangedLines{"101", "100"}));
    // Fewer than six flags: the missing ones count as still.
    EXPECT_EQ(changedByFlags("101", "100", {1}), (ChangedLines{"101", "000"}));
}

TEST(ChangedLines, OneMovingLineFlipsOneLine) {
    EXPECT_EQ(changedByMovingLine("101", "000", 5), (ChangedLines{"111", "000"}));
    EXPECT_EQ(changedByMovingLine("101", "000", 1), (ChangedLines{"101", "100"}));
    EXPECT_EQ(changedByMovingLine("101", "000", 0), (ChangedLines{"101", "000"}));
    EXPECT_EQ(changedByMovingLine("101", "000", 7), (ChangedLines{"101", "000"}));
}

struct DrawCase {
    int game;
    DateTime now;
    DateTime draw;
};

class DrawMoment : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DrawMoment, FindsTheNextDrawOfTheLottery) {
    const DrawCase& c = GetParam();
    const auto draw = dateTimeFromMoment(drawMoment(momentFromDateTime(c.now), c.game));
    ASSERT_TRUE(draw.has_value());
    EXPECT_EQ(*draw, c.draw);
}

// 2024-05-05 is a Sunday; 2024-05-09 a Thursday.
INSTANTIATE_TEST_SUITE_P(
    Schedules, DrawMoment,
    ::testing::Values(
        DrawCase{100, {2024, 5, 9, 23, 0, 17, 450}, {2024, 5, 9, 21, 30, 17, 0}}, // same day, already past
        DrawCase{100, {2024, 5, 9, 8, 5, 0, 0}, {2024, 5, 9, 21, 30, 0, 0}},
        DrawCase{101, {2024, 5, 9, 22, 5, 3, 9}, {2024, 5, 12, 21, 15, 3, 0}}, // Thursday late → Sunday
        DrawCase{101, {2024, 5, 9, 21, 59, 0, 0}, {2024, 5, 9, 21, 15, 0, 0}}, // Thursday, not late
        DrawCase{101, {2024, 5, 5, 22, 0, 0, 0}, {2024, 5, 7, 21, 15, 0, 0}},  // Sunday late → Tuesday
        DrawCase{101, {2024, 5, 7, 10, 0, 0, 0}, {2024, 5, 7, 21, 15, 0, 0}},  // Tuesday
        DrawCase{101, {2024, 5, 7, 23, 0, 0, 0}, {2024, 5, 9, 21, 15, 0, 0}},  // Tuesday late
        DrawCase{101, {2024, 5, 6, 23, 0, 0, 0}, {2024, 5, 7, 21, 15, 0, 0}},  // Monday
        DrawCase{101, {2024, 5, 8, 1, 0, 0, 0}, {2024, 5, 9, 21, 15, 0, 0}},   // Wednesday
        DrawCase{101, {2024, 5, 10, 1, 0, 0, 0}, {2024, 5, 12, 21, 15, 0, 0}}, // Friday
        DrawCase{101, {2024, 5, 11, 1, 0, 0, 0}, {2024, 5, 12, 21, 15, 0, 0}}, // Saturday
        DrawCase{101, {2024, 12, 31, 12, 0, 0, 0}, {2024, 12, 31, 21, 15, 0, 0}},
        DrawCase{106, {2024, 5, 5, 22, 0, 0, 0}, {2024, 5, 7, 21, 25, 0, 0}},     // Sunday late → Tuesday
        DrawCase{106, {2024, 5, 7, 22, 0, 0, 0}, {2024, 5, 10, 21, 25, 0, 0}},    // Tuesday late → Friday
        DrawCase{106, {2024, 5, 8, 9, 0, 0, 0}, {2024, 5, 10, 21, 25, 0, 0}},     // Wednesday
        DrawCase{106, {2024, 5, 9, 9, 0, 0, 0}, {2024, 5, 10, 21, 25, 0, 0}},     // Thursday
        DrawCase{106, {2024, 5, 10, 22, 0, 0, 0}, {2024, 5, 12, 21, 25, 0, 0}},   // Friday late → Sunday
        DrawCase{106, {2024, 12, 28, 22, 0, 0, 0}, {2024, 12, 29, 21, 25, 0, 0}}, // Saturday
        DrawCase{106, {2024, 12, 31, 23, 0, 0, 0}, {2025, 1, 3, 21, 25, 0, 0}},   // over the year's end
        DrawCase{103, {2024, 5, 9, 22, 5, 3, 9}, {2024, 5, 9, 22, 5, 3, 9}}       // no schedule
        ));

TEST(PrepareRequest, ByNumberTakesTheClockReading) {
    CastRequest r;
    r.method = CastMethod::ByNumber;
    r.numberText = "38";
    r.moment = 1.0;
    r.recordId = 7; // a reviewed number calculation is still cast at the present moment
    prepareRequest(r, 100, ClockReading{at(2024, 5, 1, 9), -480});
    EXPECT_EQ(r.moment, at(2024, 5, 1, 9));
    EXPECT_EQ(r.numberText, "38");
}

TEST(PrepareRequest, ByMillisecondsAtTheCurrentTime) {
    CastRequest r;
    r.method = CastMethod::ByMilliseconds;
    r.timeChoice = TimeChoice::Current;
    prepareRequest(r, 100, ClockReading{at(2022, 11, 7, 12, 0, 0, 123), -480});
    EXPECT_EQ(r.moment, at(2022, 11, 7, 12, 0, 0, 123));
    EXPECT_EQ(r.numberText, "1667793600123");
}

TEST(PrepareRequest, ByMillisecondsAtTheDrawTimeKeepsTheClocksMilliseconds) {
    CastRequest r;
    r.method = CastMethod::ByMilliseconds;
    r.timeChoice = TimeChoice::Draw;
    prepareRequest(r, 100, ClockReading{at(2022, 11, 7, 12, 0, 45, 123), -480});
    EXPECT_EQ(r.moment, at(2022, 11, 7, 21, 30, 45));
    EXPECT_EQ(r.numberText, std::to_string(epochMs(at(2022, 11, 7, 21, 30, 45), -480) + 123));
    EXPECT_EQ(r.numberText, "1667827845123");
}

TEST(PrepareRequest, ByMillisecondsBefore1970UsesTheMillisecondsOfTheMoment) {
    CastRequest r;
    r.method = CastMethod::ByMilliseconds;
    r.timeChoice = TimeChoice::Draw;
    // 1950-01-01 12:00:00.250 local: the number before 1970 is negative, yet the milliseconds
    // carried over are those of the clock (250), not a negative remainder.
    prepareRequest(r, 100, ClockReading{at(1950, 1, 1, 12, 0, 0, 250), -480});
    EXPECT_EQ(r.numberText, std::to_string(epochMs(at(1950, 1, 1, 21, 30), -480) + 250));
}

TEST(PrepareRequest, CodesWithoutScheduleAddTheMillisecondsTwice) {
    CastRequest r;
    r.method = CastMethod::ByMilliseconds;
    r.timeChoice = TimeChoice::Draw;
    prepareRequest(r, 103, ClockReading{at(2022, 11, 7, 12, 0, 0, 123), -480});
    EXPECT_EQ(r.moment, at(2022, 11, 7, 12, 0, 0, 123));
    EXPECT_EQ(r.numberText, "1667793600246");
}

TEST(PrepareRequest, ReopenedMillisecondAndHandCalculationsKeepTheirInputs) {
    CastRequest ms;
    ms.method = CastMethod::ByMilliseconds;
    ms.recordId = 12;
    ms.timeChoice = TimeChoice::Draw;
    ms.moment = 45000.25;
    ms.numberText = "1733542541123";
    CastRequest hand;
    hand.method = CastMethod::ByHand;
    hand.moment = 45001.5;
    const CastRequest msBefore = ms;
    const CastRequest handBefore = hand;
    prepareRequest(ms, 100, ClockReading{at(2024, 1, 1), -480});
    prepareRequest(hand, 100, ClockReading{at(2024, 1, 1), -480});
    EXPECT_EQ(ms, msBefore);
    EXPECT_EQ(hand, handBefore);
}

} // namespace quenmar
