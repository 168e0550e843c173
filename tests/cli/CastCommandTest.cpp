#include "JsonOutput.h"
#include "Programs.h"
#include "engine/ChartRun.h"
#include "engine/Moment.h"

#include <ctime>
#include <gtest/gtest.h>
#include <json/json.h>
#include <memory>

namespace quenmar::test {

namespace {

std::vector<std::string> strings(const Json::Value& array) {
    std::vector<std::string> out;
    for (const auto& v : array) {
        out.push_back(v.asString());
    }
    return out;
}

struct BadInput {
    std::vector<std::string> args;
    std::string message;
};

class CastRefusesBadInput : public ::testing::TestWithParam<BadInput> {};

TEST_P(CastRefusesBadInput, WithOneLineOnStderrAndStatusTwo) {
    const BadInput& c = GetParam();
    std::vector<std::string> args{"cast"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProgramRun r = runCli(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "quenmar-cli: " + c.message + "\n");
}

const std::string kNoon = "2022-11-07 12:00:00";

INSTANTIATE_TEST_SUITE_P(
    Messages, CastRefusesBadInput,
    ::testing::Values(
        BadInput{{"--zodiac", "1"}, "未选择推算条件"},
        BadInput{{"--method", "coins", "--zodiac", "1"}, "未知的起卦方式: coins (应为 number、hand 或 ms)"},
        BadInput{{"--method", "number", "--zodiac", "1"}, "未输入推算数字"},
        BadInput{{"--method", "number", "--number", "   ", "--zodiac", "1"}, "未输入推算数字"},
        // The number is looked at before the zodiac, as in the input panel.
        BadInput{{"--method", "number"}, "未输入推算数字"},
        BadInput{{"--method", "number", "--number", "12a"}, "推算数字只能由数字0-9组成"},
        BadInput{{"--method", "number", "--number", "１２", "--zodiac", "1"}, "推算数字只能由数字0-9组成"},
        BadInput{{"--method", "number", "--number", "38"}, "未选择卦主生肖"},
        BadInput{{"--method", "number", "--number", "38", "--zodiac", "0"},
                 "卦主生肖应为1到12之间的整数 (子鼠为1)"},
        BadInput{{"--method", "number", "--number", "38", "--zodiac", "13"},
                 "卦主生肖应为1到12之间的整数 (子鼠为1)"},
        BadInput{{"--method", "number", "--number", "38", "--zodiac", "x"},
                 "卦主生肖应为1到12之间的整数 (子鼠为1)"},
        BadInput{{"--method", "number", "--number", "38", "--zodiac", "99999999999999999999"},
                 "卦主生肖应为1到12之间的整数 (子鼠为1)"},
        BadInput{{"--method", "hand", "--zodiac", "1"},
                 "未装好线下卦 (--lines 应为六个字符, 初爻在前, 每个为6、7、8或9)"},
        BadInput{{"--method", "hand", "--lines", "78978", "--zodiac", "1"},
                 "未装好线下卦 (--lines 应为六个字符, 初爻在前, 每个为6、7、8或9)"},
        BadInput{{"--method", "hand", "--lines", "789785"},
                 "未装好线下卦 (--lines 应为六个字符, 初爻在前, 每个为6、7、8或9)"},
        BadInput{{"--method", "hand", "--lines", "789789"}, "未选择卦主生肖"},
        BadInput{{"--method", "ms", "--time", "later", "--zodiac", "1"}, "未选择推演时间"},
        BadInput{{"--method", "ms", "--zodiac", "1", "--game", "99"}, "彩种代码应为100到106之间的整数"},
        BadInput{{"--method", "ms", "--zodiac", "1", "--number", "17x"}, "推算数字只能由数字0-9组成"},
        BadInput{{"--method", "number", "--number", "38", "--zodiac", "1", "--moment", "2024-02-30 10:00:00"},
                 "时间格式应为 \"YYYY-MM-DD HH:MM:SS[.mmm]\""},
        BadInput{{"--method", "number", "--number", "38", "--zodiac", "1", "--moment", "0000-01-01 00:00:00"},
                 "时间格式应为 \"YYYY-MM-DD HH:MM:SS[.mmm]\""},
        BadInput{{"--method", "number", "--number", "38", "--zodiac", "1", "--moment", "2024-01-01 24:00:00"},
                 "时间格式应为 \"YYYY-MM-DD HH:MM:SS[.mmm]\""},
        BadInput{
            {"--method", "number", "--number", "38", "--zodiac", "1", "--moment", "2024-01-01 10:00:00.1234"},
            "时间格式应为 \"YYYY-MM-DD HH:MM:SS[.mmm]\""},
        BadInput{{"--method", "number", "--number", "38", "--zodiac", "1", "--moment", "yesterday"},
                 "时间格式应为 \"YYYY-MM-DD HH:MM:SS[.mmm]\""},
        BadInput{{"--method", "number", "--number", "\xff\xfe", "--zodiac", "1"}, "参数不是有效的UTF-8文本"},
        BadInput{{"--method", "number", "--number", "38", "--zodiac", "1", "--colour"}, "未知选项: --colour"},
        BadInput{{"--method", "number", "--number", "38", "--zodiac"}, "选项 --zodiac 缺少取值"},
        BadInput{{"--method", "number", "--number", "38", "--zodiac", "1", "extra"}, "多余的参数: extra"}));

TEST(Cast, JsonCarriesTheViewTheReportAndEveryChartField) {
    const ProgramRun r = runCli(
        {"cast", "--method", "number", "--number", "38", "--zodiac", "1", "--moment", kNoon, "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const Json::Value root = parseJson(r.out);
    EXPECT_EQ(root["title"].asString(), "以数字38起卦,卦主生肖:子,日主:甲子,时辰:庚午");
    EXPECT_EQ(root["primaryLabel"].asString(), "本卦: 乾宫 (7) 火地晋 游魂");
    EXPECT_EQ(root["changedLabel"].asString(), "变卦 乾宫 (4) 天地否 ");
    ASSERT_EQ(root["grid"].size(), 6u);
    for (const auto& row : root["grid"]) {
        EXPECT_EQ(row.size(), 12u);
    }
    EXPECT_EQ(strings(root["grid"][0]), (std::vector<std::string>{"玄武", "官鬼", "己巳", "火", "1", "", "",
                                                                  "父母", "壬戌", "土", "1", "应"}));
    EXPECT_EQ(strings(root["grid"][1])[6], "×");

    // The report is the engine's, byte for byte, CR LF included.
    CastRequest request;
    request.method = CastMethod::ByNumber;
    request.numberText = "38";
    request.zodiac = 1;
    request.moment = 44872.5;
    const ChartRun run = runChart(request);
    const ChartResult& chart = run.chart;
    EXPECT_EQ(root["report"].asString(), run.report);

    const Json::Value& c = root["chart"];
    EXPECT_EQ(c["method"].asInt(), 1);
    EXPECT_EQ(c["numberText"].asString(), "38");
    EXPECT_EQ(c["moment"].asDouble(), 44872.5);
    EXPECT_EQ(c["timeChoice"].asInt(), 0);
    EXPECT_EQ(c["zodiacElement"].asString(), "水");
    EXPECT_EQ(c["primaryName"].asString(), "火地晋游魂");
    EXPECT_EQ(c["changedName"].asString(), "天地否");
    EXPECT_EQ(c["shiIndex"].asInt(), 3);
    EXPECT_EQ(c["changedYingIndex"].asInt(), 5);
    EXPECT_EQ(strings(c["primaryStems"]), chart.primaryStems);
    EXPECT_EQ(c["movingMarks"][4].asInt(), -1);
    EXPECT_EQ(c["changedBranchDigits"].size(), 6u);
    EXPECT_FALSE(c.isMember("numberBasis"));
    // Every field of the chart is there: 44 members.
    EXPECT_EQ(c.getMemberNames().size(), 44u);
}

TEST(Cast, TextFormShowsTitleGridAndReport) {
    const ProgramRun r =
        runCli({"cast", "--method", "1", "--number", "38", "--zodiac", "1", "--moment", kNoon});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("以数字38起卦,卦主生肖:子,日主:甲子,时辰:庚午\n", 0), 0u);
    EXPECT_NE(r.out.find("━━━ ━━━"), std::string::npos);
    EXPECT_NE(r.out.find("卦解:            在2022年11月7日12时"), std::string::npos);
    EXPECT_NE(r.out.find("六爻:玄武,官鬼,五行属火,己->0,巳->7;不动而变>父母,五行属土,壬->1,戌->5化应\n"),
              std::string::npos);
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
}

TEST(Cast, HandLinesUseTheCoinNotation) {
    // 9 7 6 | 8 8 6 from the bottom: lower 1 1 0 (兑), upper 0 0 0 (坤).
    const ProgramRun r = runCli(
        {"cast", "--method", "hand", "--lines", "976886", "--zodiac", "7", "--moment", kNoon, "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json::Value c = parseJson(r.out)["chart"];
    EXPECT_EQ(c["lowerLines"].asString(), "110");
    EXPECT_EQ(c["upperLines"].asString(), "000");
    std::vector<int> marks;
    for (const auto& v : c["movingMarks"]) {
        marks.push_back(v.asInt());
    }
    EXPECT_EQ(marks, (std::vector<int>{1, 0, -1, 0, 0, -1}));
    EXPECT_EQ(c["primaryName"].asString(), "地泽临");
    EXPECT_EQ(c["moment"].asDouble(), 44872.5);
}

TEST(Cast, MillisecondsAtTheDrawTimeOfTheChosenLottery) {
    // 2024-05-09 is a Thursday; 22:05 is past 双色球's draw, so the next one is Sunday 21:15.
    const ProgramRun r = runCli({"cast", "--method", "ms", "--zodiac", "2", "--game", "101", "--moment",
                                 "2024-05-09 22:05:03.250", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json::Value c = parseJson(r.out)["chart"];
    EXPECT_EQ(c["timeChoice"].asInt(), 2);
    EXPECT_EQ(dateTimeText(c["moment"].asDouble()), "2024年5月12日21时15分3秒");
    // 2024-05-12 21:15:03 CST is 1715519703 s after the epoch; the clock's 250 ms are added.
    EXPECT_EQ(c["numberText"].asString(), "1715519703250");
}

TEST(Cast, MillisecondsAtTheCurrentTimeFollowTheTimeZone) {
    const std::vector<std::string> args{"cast",   "--method", "ms",
                                        "--time", "current",  "--zodiac",
                                        "2",      "--moment", "2022-11-07 12:00:00.123",
                                        "--json"};
    const Json::Value shanghai = parseJson(runCli(args, {{"TZ", "Asia/Shanghai"}}).out)["chart"];
    const Json::Value utc = parseJson(runCli(args, {{"TZ", "UTC"}}).out)["chart"];
    EXPECT_EQ(shanghai["numberText"].asString(), "1667793600123");
    EXPECT_EQ(utc["numberText"].asString(), "1667822400123");
    EXPECT_EQ(shanghai["moment"].asDouble(), utc["moment"].asDouble());
}

TEST(Cast, MillisecondsWithANumberBehaveAsAReopenedCalculation) {
    const ProgramRun r = runCli({"cast", "--method", "ms", "--number", "1733542541123", "--zodiac", "3",
                                 "--moment", "2024-12-07 11:35:41.123", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json::Value c = parseJson(r.out)["chart"];
    EXPECT_EQ(c["numberText"].asString(), "1733542541123");
    EXPECT_EQ(dateTimeText(c["moment"].asDouble()), "2024年12月7日11时35分41秒");
    EXPECT_EQ(c["primaryName"].asString(), "山泽损");
}

TEST(Cast, WithoutAMomentTheClockIsRead) {
    const double before = static_cast<double>(std::time(nullptr)) / 86400.0 + 25569.0 + 8.0 / 24.0;
    const ProgramRun r = runCli({"cast", "--method", "number", "--number", "5", "--zodiac", "1", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const double moment = parseJson(r.out)["chart"]["moment"].asDouble();
    EXPECT_NEAR(moment, before, 5.0 / 86400.0);
}

TEST(Cast, SurvivesAVeryLongNumber) {
    const std::string digits(100000, '7'); // close to the largest single argument Linux passes
    const ProgramRun r = runCli(
        {"cast", "--method", "number", "--number", digits, "--zodiac", "12", "--moment", kNoon, "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // 50000 sevens each side: 350000 mod 8 = 0 gives 坤 above and below.
    EXPECT_EQ(parseJson(r.out)["chart"]["primaryName"].asString(), "坤为地");
}

TEST(Cast, HelpAndUnknownCommands) {
    EXPECT_EQ(runCli({"--help"}).exitCode, 0);
    const ProgramRun none = runCli({});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_EQ(none.out, "");
    const ProgramRun unknown = runCli({"divine"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "quenmar-cli: 未知命令 (见 quenmar-cli --help)\n");
}

} // namespace

} // namespace quenmar::test
