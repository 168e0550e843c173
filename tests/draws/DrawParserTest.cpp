#include "draws/DrawParser.h"

#include "DrawsTestSupport.h"
#include "draws/Lottery.h"
#include "support/TextCodec.h"

#include <gtest/gtest.h>

namespace quenmar::draws {
namespace {

const std::string kTwentyNumbers = "0307111418222529313640444751586266707379";

DrawResult draw(std::string name, std::string issue, std::string date, std::string main,
                std::string extra = {}) {
    DrawResult result;
    result.name = std::move(name);
    result.issue = std::move(issue);
    result.date = std::move(date);
    result.mainNumbers = std::move(main);
    result.extraNumbers = std::move(extra);
    return result;
}

DrawResult emptyDraw(std::string name = {}) {
    return draw(std::move(name), "", "", "");
}

TEST(ParseDailyDraw, ReadsTheGb2312FixturePage) {
    const std::string bytes = test::fixtureBytes("daily_gb2312.html");
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(test::readDraw(parseDailyDrawPage(support::decodeGbPage(bytes))),
              draw("快乐8", "2024123期", "2024-05-01", kTwentyNumbers));
}

TEST(ParseDailyDraw, IssueIsOwnTextAndDateIsTheSecondChildsOwnText) {
    const auto result = test::readDraw(parseDailyDrawPage(
        "<div class=more-time-cont><a><span class=kaij-tit>2024123期<b>2024-05-01<i>x</i></b>"
        "<b>late</b></span><span class=kaij-jg><i>01</i><i>02</i></span></a></div>"));
    EXPECT_EQ(result, draw("快乐8", "2024123期", "2024-05-01", "0102"));
}

TEST(ParseDailyDraw, TheNumbersAreTheDigitsOfTheFullText) {
    // Blanks, no-break spaces and separators between the number elements are not numbers.
    const auto result =
        test::readDraw(parseDailyDrawPage("<div class=more-time-cont><a><div class=kaij-jg>\n "
                                          "<em>01</em>&nbsp;<em>02</em>, <em><b>0</b>3</em>\n"
                                          "</div></a></div>"));
    EXPECT_EQ(result, draw("", "", "", "010203"));
}

TEST(ParseDailyDraw, OnlyAnExactClassMatchSelectsTheBox) {
    const auto result = test::readDraw(parseDailyDrawPage(
        "<div class=\"more-time-cont x\"><a><span class=kaij-tit>1期<b>d1</b></span></a></div>"
        "<div class=More-Time-Cont><a><span class=kaij-tit>2期<b>d2</b></span></a></div>"
        "<div class=more-time-cont><a><span class=kaij-tit>3期<b>d3</b></span></a></div>"
        "<div class=more-time-cont><a><span class=kaij-tit>4期<b>d4</b></span></a></div>"));
    EXPECT_EQ(result, draw("快乐8", "3期", "d3", ""));
}

TEST(ParseDailyDraw, OnlyTheFirstLinkOfTheBoxCounts) {
    const auto result =
        test::readDraw(parseDailyDrawPage("<div class=more-time-cont><p><a><span class=other>x</span></a></p>"
                                          "<a><span class=kaij-tit>9期<b>d9</b></span></a></div>"));
    EXPECT_EQ(result, emptyDraw());
}

TEST(ParseDailyDraw, WithoutTheBoxTheLastDivIsRead) {
    EXPECT_EQ(test::readDraw(
                  parseDailyDrawPage("<div class=a><a><span class=kaij-tit>1期<b>d1</b></span></a></div>"
                                     "<div class=b><a><span class=kaij-tit>2期<b>d2</b></span></a></div>")),
              draw("快乐8", "2期", "d2", ""));
    EXPECT_EQ(test::readDraw(parseDailyDrawPage(
                  "<div class=a><a><span class=kaij-tit>1期<b>d1</b></span></a></div><div></div>")),
              emptyDraw());
}

TEST(ParseDailyDraw, MissingPartsLeaveEmptyFields) {
    EXPECT_EQ(test::readDraw(parseDailyDrawPage("<p>no divs at all</p>")), emptyDraw());
    EXPECT_EQ(test::readDraw(parseDailyDrawPage("<div class=more-time-cont>no link</div>")), emptyDraw());
    EXPECT_EQ(test::readDraw(parseDailyDrawPage("<div class=more-time-cont><a></a></div>")), emptyDraw());
    // A title with a single child: the date has no second child to come from.
    EXPECT_EQ(test::readDraw(parseDailyDrawPage(
                  "<div class=more-time-cont><a><span class=kaij-tit>5期</span></a></div>")),
              draw("快乐8", "5期", "", ""));
}

TEST(ParseDailyDraw, APageTheParserRefusesIsABodyError) {
    std::string deep; // nested past what the parser is allowed to chew on
    for (int i = 0; i < 5000; ++i) {
        deep += "<div>";
    }
    for (const std::string& page : {std::string(), deep}) {
        const FetchedDraw refused = parseDailyDrawPage(page);
        EXPECT_EQ(test::failureOf(refused), DrawFailure::PageRefused);
        EXPECT_EQ(test::detailOf(refused), "body error");
    }
}

struct RowCase {
    int code;
    DrawResult expected;
};

class ParseResultsRow : public ::testing::TestWithParam<RowCase> {};

TEST_P(ParseResultsRow, ReadsEachLotteryFromTheGb18030FixturePage) {
    const std::string bytes = test::fixtureBytes("results_gb18030.html");
    ASSERT_FALSE(bytes.empty());
    const Lottery lottery = *lotteryByCode(GetParam().code);
    EXPECT_EQ(test::readDraw(parseResultsRowPage(support::decodeGbPage(bytes), lottery.group, lottery.row,
                                                 lottery.mainClass, lottery.name)),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lotteries, ParseResultsRow,
    ::testing::Values(RowCase{101, draw("双色球", "2024050期", "2024-05-05", "030914222731", "12")},
                      RowCase{102, draw("七乐彩", "2024051期", "2024-05-06", "02061117202429", "13")},
                      RowCase{103, draw("福彩3D", "2024118期", "2024-05-06", "528")},
                      RowCase{104, draw("大乐透", "24049期", "2024-05-06", "0513212833", "0411")},
                      RowCase{105, draw("排列五", "24118期", "2024-05-06", "40719")},
                      RowCase{106, draw("七星彩", "24050期", "2024-05-05", "163802", "9")}),
    [](const auto& caseInfo) { return std::to_string(caseInfo.param.code); });

std::string tableWithRow(const std::string& cells) {
    return "<table class=kjtable><tbody><tr>" + cells + "</tr></tbody></table>";
}

TEST(ParseResultsRowPage, RedBallIsNotRed) {
    const std::string html =
        tableWithRow("<td>n</td><td></td><td>1期</td><td>d</td><td>"
                     "<span class=red>01</span><span class=\"red ball\">02</span>"
                     "<span class=RED>03</span><span>04</span><span class=red>05</span></td>");
    EXPECT_EQ(test::readDraw(parseResultsRowPage(html, 1, 1, "red", "双色球")),
              draw("双色球", "1期", "d", "0105", "020304"));
}

TEST(ParseResultsRowPage, AShortRowReadsCellZeroForTheMissingCells) {
    // Only three cells: the date (3) and the numbers (4) come from cell 0.
    const std::string html = tableWithRow("<td>c0<span class=red>7</span></td><td>c1</td><td>c2</td>");
    EXPECT_EQ(test::readDraw(parseResultsRowPage(html, 1, 1, "red", "福彩3D")),
              draw("福彩3D", "c2", "c0", "7"));
}

TEST(ParseResultsRowPage, AMissingRowOrTableGivesTheNameAlone) {
    EXPECT_EQ(test::readDraw(parseResultsRowPage(tableWithRow("<td>x</td>"), 2, 3, "yellow", "大乐透")),
              emptyDraw("大乐透"));
    EXPECT_EQ(test::readDraw(parseResultsRowPage("<p>gone</p>", 1, 3, "red", "双色球")), emptyDraw("双色球"));
}

TEST(ParseResultsRowPage, OwnTextsAreTrimmedOfBlanksAndNoBreakSpaces) {
    const std::string html =
        tableWithRow("<td></td><td></td><td>\n 7期&nbsp;</td><td>　2024-05-06 <i>周一</i></td>"
                     "<td><span class=red> 1 </span></td>");
    EXPECT_EQ(test::readDraw(parseResultsRowPage(html, 1, 1, "red", "n")),
              draw("n", "7期", "2024-05-06", "1"));
}

TEST(ResultsRowSelector, IsBuiltFromGroupAndRow) {
    EXPECT_EQ(resultsRowSelector(2, 6), ".kjtable > tbody:nth-child(2) > tr:nth-child(6) > td");
}

} // namespace
} // namespace quenmar::draws
