#include "engine/Report.h"

#include "Moments.h"
#include "engine/ChartRun.h"
#include "engine/Moment.h"

#include <gtest/gtest.h>

namespace quenmar {

using test::at;

namespace {

CastRequest numberRequest(const char* number, double moment, int zodiac = 1) {
    CastRequest r;
    r.method = CastMethod::ByNumber;
    r.numberText = number;
    r.moment = moment;
    r.zodiac = zodiac;
    return r;
}

CastRequest handRequest(const char* upper, const char* lower, std::vector<int> flags, double moment) {
    CastRequest r;
    r.method = CastMethod::ByHand;
    r.upperLines = upper;
    r.lowerLines = lower;
    r.movingFlags = std::move(flags);
    r.moment = moment;
    r.zodiac = 7;
    return r;
}

std::string row(const ChartView& view, int line) {
    std::string text;
    for (const auto& cell : view.cells[static_cast<std::size_t>(6 - line)]) {
        text += cell + "|";
    }
    return text;
}

} // namespace

TEST(Report, NumberThirtyEightAtNoonOfTheReferenceDay) {
    const ChartRun run = runChart(numberRequest("38", at(2022, 11, 7, 12)));
    ASSERT_TRUE(run.charted);
    const std::string expected =
        "卦解:            在2022年11月7日12时日主:甲子,时辰:庚午,属子的卦主测得:\r\n"
        "           (乾宫第7卦)火地晋游魂变卦为:(乾宫第4卦)天地否\r\n"
        "----------以下各种名词为周易专业术语，请以代名词去理解，切勿以字面意义理解而迷信-----------\r\n"
        "\r\n"
        "卦基数:\r\n"
        "日主:甲->3,子->1\r\n"
        "卦主:子->1\r\n"
        "时辰:庚->4,午->2\r\n"
        "\r\n"
        "爻基数:\r\n"
        "腾蛇,兄弟,五行属金持世,己->0,酉->9;不动而变>官鬼,五行属火,壬->1,午->2\r\n"
        "青龙,父母,五行属土应爻,乙->8,未->0;不动而变>父母,五行属土,壬->1,戌->5\r\n"
        "\r\n"
        "二爻:朱雀,官鬼,五行属火,乙->8,巳->7;不动而变>官鬼,五行属火,乙->8,巳->7\r\n"
        "三爻:勾陈,妻财,五行属木,乙->8,卯->8;不动而变>妻财,五行属木,乙->8,卯->8化世\r\n"
        "五爻:白虎,父母,五行属土,己->0,未->0;发动而变>兄弟,五行属金,壬->1,申->4\r\n"
        "六爻:玄武,官鬼,五行属火,己->0,巳->7;不动而变>父母,五行属土,壬->1,戌->5化应\r\n";
    EXPECT_EQ(run.report, expected);
    EXPECT_EQ(run.view.title, "以数字38起卦,卦主生肖:子,日主:甲子,时辰:庚午");
    EXPECT_EQ(run.view.primaryLabel, "本卦: 乾宫 (7) 火地晋 游魂");
    EXPECT_EQ(run.view.changedLabel, "变卦 乾宫 (4) 天地否 ");
}

TEST(Report, GridRowsRunFromTheTopLineDown) {
    const ChartRun run = runChart(numberRequest("38", at(2022, 11, 7, 12)));
    const ChartResult& chart = run.chart;
    EXPECT_EQ(row(run.view, 6), "玄武|官鬼|己巳|火|1|||父母|壬戌|土|1|应|");
    EXPECT_EQ(row(run.view, 5), "白虎|父母|己未|土|0||×|兄弟|壬申|金|1||");
    EXPECT_EQ(row(run.view, 4), "腾蛇|兄弟|己酉|金|1|世||官鬼|壬午|火|1||");
    EXPECT_EQ(row(run.view, 1), "青龙|父母|乙未|土|0|应||父母|乙未|土|0||");
    EXPECT_EQ(chart.movingMarks, (std::vector<int>{0, 0, 0, 0, -1, 0}));
}

TEST(Report, MovingYangLineIsMarkedWithACircle) {
    // "99": 乾为天, moving line 6 is yang.
    const ChartRun run = runChart(numberRequest("99", at(2024, 5, 1, 9)));
    const ChartResult& chart = run.chart;
    EXPECT_EQ(run.view.cells[0][kMovingColumn], "○");
    EXPECT_EQ(chart.movingMarks, (std::vector<int>{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(run.view.title,
              "以数字99起卦,卦主生肖:子,日主:" + chart.dayPillar + ",时辰:" + chart.hourPillar);
}

TEST(Report, PureHexagramReportsLinesSixAndThreeFirst) {
    // "99": 乾为天 moving line 6 → 泽天夬.
    const ChartRun run = runChart(numberRequest("99", at(2024, 5, 1)));
    const ChartResult& chart = run.chart;
    ASSERT_TRUE(run.charted);
    EXPECT_EQ(chart.shiIndex, 5);
    EXPECT_EQ(chart.yingIndex, 2);
    const auto firstLine = run.report.find("\r\n爻基数:\r\n");
    ASSERT_NE(firstLine, std::string::npos);
    const std::string tail = run.report.substr(firstLine);
    EXPECT_NE(tail.find("\r\n" + chart.primarySpirits[5] + ",父母,五行属土持世,壬->1,戌->5;发动而变>"),
              std::string::npos);
    EXPECT_NE(tail.find("初爻:"), std::string::npos);
    EXPECT_NE(tail.find("二爻:"), std::string::npos);
    EXPECT_EQ(tail.find("三爻:"), std::string::npos);
    EXPECT_NE(tail.find("四爻:"), std::string::npos);
    EXPECT_NE(tail.find("五爻:"), std::string::npos);
    EXPECT_EQ(tail.find("六爻:"), std::string::npos);
    // Exact midnight writes the date alone.
    EXPECT_EQ(run.report.substr(0, run.report.find("日主")), "卦解:            在2024年5月1日");
}

TEST(Report, HandCastWithoutMovingLinesRepeatsThePrimary) {
    const ChartRun run = runChart(handRequest("101", "000", {0, 0, 0, 0, 0, 0}, at(2024, 5, 1, 8, 30)));
    const ChartResult& chart = run.chart;
    ASSERT_TRUE(run.charted);
    EXPECT_EQ(run.view.title.substr(0, run.view.title.find(',')), "以自己装卦");
    EXPECT_EQ(chart.movingMarks, (std::vector<int>(6, 0)));
    EXPECT_EQ(chart.changedRelations, chart.primaryRelations);
    EXPECT_EQ(chart.changedStems, chart.primaryStems);
    EXPECT_EQ(chart.changedBranches, chart.primaryBranches);
    EXPECT_EQ(run.report.find("发动而变>"), std::string::npos);
    EXPECT_EQ(run.report.find("化世"), std::string::npos);
    EXPECT_EQ(run.report.find("化应"), std::string::npos);
    for (const auto& cells : run.view.cells) {
        EXPECT_EQ(cells[kMovingColumn], "");
    }
}

TEST(Report, HandFlagsMarkEveryMovingLine) {
    // 9 7 6 8 8 7 from the bottom: 离 below? lines 1-3 = 1 1 0 (兑), lines 4-6 = 0 0 1 (艮).
    const ChartRun run = runChart(handRequest("001", "110", {1, 0, -1, 0, 0, 0}, at(2024, 5, 1, 8, 30)));
    const ChartResult& chart = run.chart;
    ASSERT_TRUE(run.charted);
    EXPECT_EQ(run.view.primaryLabel, "本卦: 艮宫 (4) 山泽损 ");
    EXPECT_EQ(run.view.cells[5][kMovingColumn], "○");
    EXPECT_EQ(run.view.cells[3][kMovingColumn], "×");
    EXPECT_EQ(chart.movingMarks, (std::vector<int>{1, 0, -1, 0, 0, 0}));
    // Lines 1 and 3 flip: 兑 110 → 011 巽; 山风蛊 is the 归魂 of 巽.
    EXPECT_EQ(run.view.changedLabel, "变卦 巽宫 (8) 山风蛊 归魂");
    EXPECT_EQ(chart.changedName, "山风蛊归魂");
}

TEST(Report, MillisecondTitleCarriesNoNumber) {
    CastRequest r;
    r.method = CastMethod::ByMilliseconds;
    r.numberText = "1733542541123";
    r.moment = at(2024, 12, 7, 11, 35, 41, 123);
    r.zodiac = 3;
    const ChartRun run = runChart(r);
    const ChartResult& chart = run.chart;
    ASSERT_TRUE(run.charted);
    EXPECT_EQ(run.view.title.substr(0, run.view.title.find(',')), "以超时空毫秒起卦");
    EXPECT_EQ(chart.primaryName, "山泽损");
    EXPECT_EQ(chart.changedName, "地泽临");
    EXPECT_EQ(run.report.substr(0, run.report.find("日主")), "卦解:            在2024年12月7日11时35分41秒");
}

TEST(ChartRunRefusal, NothingIsCastAndNothingIsShown) {
    struct Case {
        CastRequest request;
        const char* message;
    };
    CastRequest invalid = numberRequest("38", 1.0);
    invalid.invalid = true;
    CastRequest badLines = handRequest("10", "000", {0, 0, 0, 0, 0, 0}, 1.0);
    CastRequest fewFlags = handRequest("101", "000", {0, 0, 0}, 1.0);
    CastRequest noMethod = numberRequest("38", 1.0);
    noMethod.method = CastMethod::None;
    CastRequest emptyMs = numberRequest("", 1.0);
    emptyMs.method = CastMethod::ByMilliseconds;
    const Case cases[] = {{numberRequest("", 1.0), "未输入推算数字"},
                          {emptyMs, "未输入推算数字"},
                          {badLines, "未装好线下卦"},
                          {fewFlags, "未装好线下卦"},
                          {noMethod, "未选择推算条件"},
                          {invalid, "未选择推算条件"}};
    for (const Case& c : cases) {
        const ChartRun run = runChart(c.request);
        EXPECT_FALSE(run.charted);
        EXPECT_EQ(run.message, c.message);
        EXPECT_EQ(run.report, "");
        EXPECT_EQ(run.chart, ChartResult{});
        EXPECT_EQ(run.view, ChartView{});
    }
}

TEST(ChartColumns, TwelveTitles) {
    const auto titles = chartColumnTitles();
    EXPECT_EQ(titles[0], "六神");
    EXPECT_EQ(titles[4], "卦象");
    EXPECT_EQ(titles[6], "动爻");
    EXPECT_EQ(titles[11], "世应");
}

} // namespace quenmar
