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
        PlausibilityCase{"SingleBall", 100, "99", "", "x", "主号码不是01至80之间的20个不同号码"},
        PlausibilityCase{"HugeLine", 100, std::string(3u << 20, '1'), "", "x",
                         "主号码不是01至80之间的20个不同号码"},
        PlausibilityCase{"Eighty1", 100, kTwenty.substr(0, 38) + "81", "", "x",
                         "主号码不是01至80之间的20个不同号码"},
        PlausibilityCase{"Repeated", 100, kTwenty.substr(0, 38) + "03", "", "x",
                         "主号码不是01至80之间的20个不同号码"},
        PlausibilityCase{"Zero", 101, "000203043233", "16", "x", "主号码不是01至33之间的6个不同号码"},
        PlausibilityCase{"BlueSeventeen", 101, "010203043233", "17", "x", "附加号码不是01至16之间的一个号码"},
        PlausibilityCase{"NoBlue", 101, "010203043233", "", "x", "附加号码不是01至16之间的一个号码"},
        PlausibilityCase{"LottoBluesTwice", 104, "0102033435", "0505", "x",
                         "附加号码不是01至12之间的2个不同号码"},
        PlausibilityCase{"NotDigits", 103, "5a8", "", "x", "主号码不是3个数字"},
        PlausibilityCase{"ExtraFor3D", 103, "528", "1", "x", "不应有附加号码"},
        PlausibilityCase{"SevenStarFifteen", 106, "163802", "15", "x", "附加号码不是0至14之间的一个号码"},
        PlausibilityCase{"SevenStarLong", 106, "163802", "009", "x", "附加号码不是0至14之间的一个号码"},
        PlausibilityCase{"Arrange5Short", 105, "4071", "", "x", "主号码不是5个数字"},
        // Issue and date are capped, counted in characters: 32 CJK characters pass, 33 do not.
        PlausibilityCase{"LongIssue", 105, "40719", "", std::string(33, '9'), "期号超过32个字符"},
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
    EXPECT_EQ(implausibility(*lotteryByCode(100), draw).value_or(""), "日期超过32个字符");
}

} // namespace
} // namespace quenmar::draws
