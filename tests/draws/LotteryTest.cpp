#include "draws/Lottery.h"

#include "draws/DrawResult.h"

#include <gtest/gtest.h>

namespace quenmar::draws {
namespace {

struct PlausibilityCase {
    const char* name;
    int code;
    std::string main;
    std::string extra;
    std::string issue;
    const char* reason; // empty: a draw
};

class Plausibility : public ::testing::TestWithParam<PlausibilityCase> {};

TEST_P(Plausibility, ADrawMustKeepItsLotterysRules) {
    const PlausibilityCase& c = GetParam();
    DrawResult draw;
    draw.issue = c.issue;
    draw.date = "2024-05-05";
    draw.mainNumbers = c.main;
    draw.extraNumbers = c.extra;
    EXPECT_EQ(implausibility(*lotteryByCode(c.code), draw).value_or(""), c.reason);
}

const std::string kTwenty = "0307111418222529313640444751586266707379";

INSTANTIATE_TEST_SUITE_P(
    Draws, Plausibility,
    ::testing::Values(
        // The fixture pages' draws, and the edges of every range.
        PlausibilityCase{"Happy8", 100, kTwenty, "", "2024123期", ""},
        PlausibilityCase{"DoubleColour", 101, "010203043233", "16", "2024050期", ""},
        PlausibilityCase{"SevenHappy", 102, "01020304052930", "30", "x", ""},
        PlausibilityCase{"Welfare3D", 103, "009", "", "x", ""},
        PlausibilityCase{"SuperLotto", 104, "0102033435", "0112", "x", ""},
        PlausibilityCase{"Arrange5", 105, "40719", "", "x", ""},
        PlausibilityCase{"SevenStar", 106, "163802", "9", "x", ""},
        PlausibilityCase{"SevenStarFourteen", 106, "163802", "14", "x", ""},
        // A page without a draw is the site's answer, not a damaged page.
        PlausibilityCase{"NoDraw", 101, "", "", "", ""},
        // One ball "99", a 3 MB line, a number out of range, twice the same ball.
        PlausibilityCase{"SingleBall", 100, "99", "", "x",
                         "the main numbers are not 20 different numbers from 01 to 80"},
        PlausibilityCase{"HugeLine", 100, std::string(3u << 20, '1'), "", "x",
                         "the main numbers are not 20 different numbers from 01 to 80"},
        PlausibilityCase{"Eighty1", 100, kTwenty.substr(0, 38) + "81", "", "x",
                         "the main numbers are not 20 different numbers from 01 to 80"},
        PlausibilityCase{"Repeated", 100, kTwenty.substr(0, 38) + "03", "", "x",
                         "the main numbers are not 20 different numbers from 01 to 80"},
        PlausibilityCase{"Zero", 101, "000203043233", "16", "x",
                         "the main numbers are not 6 different numbers from 01 to 33"},
        PlausibilityCase{"BlueSeventeen", 101, "010203043233", "17", "x",
                         "the extra numbers are not one number from 01 to 16"},
        PlausibilityCase{"NoBlue", 101, "010203043233", "", "x",
                         "the extra numbers are not one number from 01 to 16"},
        PlausibilityCase{"LottoBluesTwice", 104, "0102033435", "0505", "x",
                         "the extra numbers are not 2 different numbers from 01 to 12"},
        PlausibilityCase{"NotDigits", 103, "5a8", "", "x", "the main numbers are not 3 digits"},
        PlausibilityCase{"ExtraFor3D", 103, "528", "1", "x", "there are extra numbers"},
        PlausibilityCase{"SevenStarFifteen", 106, "163802", "15", "x",
                         "the extra numbers are not one number from 0 to 14"},
        PlausibilityCase{"SevenStarLong", 106, "163802", "009", "x",
                         "the extra numbers are not one number from 0 to 14"},
        PlausibilityCase{"Arrange5Short", 105, "4071", "", "x", "the main numbers are not 5 digits"},
        // Issue and date are capped, counted in characters: 32 CJK characters pass, 33 do not.
        PlausibilityCase{"LongIssue", 105, "40719", "", std::string(33, '9'),
                         "the issue is longer than 32 characters"},
        PlausibilityCase{"CjkIssue", 105, "40719", "",
                         [] {
                             std::string text;
                             for (int i = 0; i < 32; ++i) {
                                 text += "期";
                             }
                             return text;
                         }(),
                         ""}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(Plausibility, ALongDateIsRefusedToo) {
    DrawResult draw;
    draw.date = std::string(40, '-');
    EXPECT_EQ(implausibility(*lotteryByCode(100), draw).value_or(""),
              "the date is longer than 32 characters");
}

} // namespace
} // namespace quenmar::draws
