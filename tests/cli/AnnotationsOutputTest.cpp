#include "JsonOutput.h"
#include "Programs.h"

#include <gtest/gtest.h>
#include <json/json.h>

// The expert chart as `cast` prints it. What the annotations say is held to a second
// implementation by tests/reference/check_annotations.py; these pin the two forms.
namespace quenmar::test {

namespace {

// The worked example, 火地晋 → 天地否: 子孙 is missing and hides under line 1, 卦身 卯 stands on
// line 3, 天地否 is 六合, its 戌 line is void on a 甲子 day and its 午 line clashes with 子.
const std::vector<std::string> kWorkedExample{"cast",     "--method", "number",   "--number",           "38",
                                              "--zodiac", "1",        "--moment", "2022-11-07 12:00:00"};

std::vector<std::string> withJson(std::vector<std::string> args) {
    args.emplace_back("--json");
    return args;
}

TEST(CastAnnotations, TextFormPrintsOneBlockBetweenTheReportAndThePrediction) {
    const ProgramRun r = runCli(kWorkedExample);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string section =
        "化应\n"
        "\n"
        "详细排盘:\n"
        "四柱: 壬寅年 庚戌月 甲子日 庚午时  节: 寒露 2022-10-08 15:22  旬空: 戌亥\n"
        "卦型: 本卦无 变卦六合  卦身: 卯 (三爻)  互卦: 水山蹇  错卦: 水天需  综卦: 地火明夷\n"
        "爻    伏神        本卦      变卦      变卦六亲(按本卦宫)\n"
        "六爻                        空        父母\n"
        "五爻                                  兄弟\n"
        "四爻                              冲  官鬼\n"
        "三爻                                  妻财\n"
        "二爻                                  官鬼\n"
        "初爻  子孙甲子水                      父母\n"
        "\n"
        "周易推演参考数据如下：\n";
    EXPECT_NE(r.out.find(section), std::string::npos) << r.out;
}

TEST(CastAnnotations, JsonCarriesEveryAnnotationOfTheChart) {
    const ProgramRun r = runCli(withJson(kWorkedExample));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json::Value a = parseJson(r.out)["annotations"];
    EXPECT_EQ(a.getMemberNames().size(), 15u);
    EXPECT_EQ(a["yearPillar"].asString() + a["monthPillar"].asString() + a["dayPillar"].asString() +
                  a["hourPillar"].asString(),
              "壬寅庚戌甲子庚午");
    EXPECT_EQ(a["solarTerm"]["name"].asString(), "寒露");
    EXPECT_EQ(a["solarTerm"]["moment"].asString(), "2022-10-08 15:22");
    EXPECT_EQ(a["voidBranches"][0].asString() + a["voidBranches"][1].asString(), "戌亥");
    EXPECT_EQ(a["primaryKind"].asString(), "");
    EXPECT_EQ(a["changedKind"].asString(), "六合");
    EXPECT_EQ(a["guaShen"]["branch"].asString(), "卯");
    ASSERT_EQ(a["guaShen"]["lines"].size(), 1u);
    EXPECT_EQ(a["guaShen"]["lines"][0].asInt(), 3);
    EXPECT_EQ(a["nuclear"].asString() + a["opposite"].asString() + a["reversed"].asString(),
              "水山蹇水天需地火明夷");

    const Json::Value& first = a["lines"][0];
    EXPECT_FALSE(first["void"].asBool() || first["monthBreak"].asBool() || first["dayClash"].asBool());
    EXPECT_EQ(first["hidden"]["relation"].asString() + first["hidden"]["ganzhi"].asString() +
                  first["hidden"]["element"].asString(),
              "子孙甲子水");
    for (Json::ArrayIndex i = 1; i < 6; ++i) {
        EXPECT_TRUE(a["lines"][i]["hidden"].isNull()) << i;
    }
    for (const Json::Value& line : a["changedLines"]) {
        EXPECT_TRUE(line.isMember("hidden") && line["hidden"].isNull());
    }
    EXPECT_TRUE(a["changedLines"][5]["void"].asBool());     // 壬戌
    EXPECT_TRUE(a["changedLines"][3]["dayClash"].asBool()); // 壬午 against 子
    ASSERT_EQ(a["changedRelationsByPrimaryPalace"].size(), 6u);
    EXPECT_EQ(a["changedRelationsByPrimaryPalace"][5].asString(), "父母");
}

// The year and month pillars need the solar terms, which are known for 1900-2100 only.
TEST(CastAnnotations, OutsideTheYearsOfTheTermsThePillarsAreEmptyAndTheTermNull) {
    std::vector<std::string> args = kWorkedExample;
    args.back() = "2101-01-01 00:00:00";
    const Json::Value a = parseJson(runCli(withJson(args)).out)["annotations"];
    EXPECT_EQ(a["yearPillar"].asString(), "");
    EXPECT_EQ(a["monthPillar"].asString(), "");
    EXPECT_EQ(a["dayPillar"].asString(), "丁未");
    EXPECT_TRUE(a.isMember("solarTerm") && a["solarTerm"].isNull());
    for (const Json::Value& line : a["lines"]) {
        EXPECT_FALSE(line["monthBreak"].asBool());
    }
    EXPECT_NE(runCli(args).out.find("\n四柱: 丁未日 庚子时 (年柱、月柱只排1900至2100年)  旬空: 寅卯\n"),
              std::string::npos);
}

} // namespace

} // namespace quenmar::test
