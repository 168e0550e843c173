#include "JsonOutput.h"
#include "Programs.h"
#include "engine/Moment.h"
#include "prediction/Calculation.h"

#include <gtest/gtest.h>
#include <json/json.h>
#include <memory>

namespace quenmar::test {

namespace {

std::vector<int> ints(const Json::Value& array) {
    std::vector<int> out;
    for (const auto& v : array) {
        out.push_back(v.asInt());
    }
    return out;
}

template <std::size_t N>
std::vector<int> ints(const std::array<std::int32_t, N>& values) {
    return std::vector<int>(values.begin(), values.end());
}

// The chart of the number 1 for a 子 querent on 2023-01-09 00:10: its ninth bet is empty.
const std::vector<std::string> kEmptyBetCast{
    "cast",  "--method", "number", "--number", "1", "--zodiac", "1", "--moment", "2023-01-09 00:10:00",
    "--json"};

Calculation emptyBetCalculation() {
    CastRequest request;
    request.method = CastMethod::ByNumber;
    request.numberText = "1";
    request.zodiac = 1;
    request.moment = momentFromDateTime(DateTime{2023, 1, 9, 0, 10, 0, 0});
    Calculation calculation = runCalculation(request);
    EXPECT_TRUE(calculation.run.charted);
    return calculation;
}

TEST(CastPrediction, TheSameRequestGivesTheSameJsonInTwoProcesses) {
    for (const auto& args :
         {kEmptyBetCast,
          std::vector<std::string>{"cast", "--method", "ms", "--zodiac", "4", "--time", "draw", "--moment",
                                   "2024-06-15 08:30:00.250", "--json"},
          std::vector<std::string>{"cast", "--method", "hand", "--lines", "976886", "--zodiac", "7",
                                   "--moment", "2022-11-07 12:00:00", "--json"}}) {
        const ProgramRun first = runCli(args);
        const ProgramRun second = runCli(args);
        ASSERT_EQ(first.exitCode, 0) << first.err;
        EXPECT_EQ(second.exitCode, 0);
        EXPECT_FALSE(parseJson(first.out)["prediction"].asString().empty());
        EXPECT_EQ(first.out, second.out);
    }
}

TEST(CastPrediction, JsonCarriesTheBasisThePicksAndTheText) {
    const ProgramRun r = runCli(kEmptyBetCast);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json::Value root = parseJson(r.out);
    const Calculation calculation = emptyBetCalculation();
    const NumberBasis& b = calculation.basis;

    const Json::Value& basis = root["numberBasis"];
    EXPECT_EQ(basis.getMemberNames().size(), 21u);
    EXPECT_EQ(basis["querentDigit"].asInt(), 1);
    EXPECT_EQ(basis["dayStemDigit"].asInt(), 7);
    EXPECT_EQ(basis["dayBranchDigit"].asInt(), 8);
    EXPECT_EQ(basis["hourStemDigit"].asInt(), 4);
    EXPECT_EQ(basis["hourBranchDigit"].asInt(), 1);
    EXPECT_EQ(ints(basis["primaryStemDigits"]), (std::vector<int>{8, 8, 8, 1, 1, 1}));
    EXPECT_EQ(ints(basis["primaryBranchDigits"]), (std::vector<int>{0, 7, 8, 2, 4, 5}));
    EXPECT_EQ(ints(basis["changedStemDigits"]), (std::vector<int>{2, 2, 2, 1, 1, 1}));
    EXPECT_EQ(ints(basis["changedBranchDigits"]), (std::vector<int>{5, 2, 4, 2, 4, 5}));
    EXPECT_EQ(ints(basis["querentRelations"]), ints(b.querentRelations));
    ASSERT_EQ(basis["crossRelations"].size(), 6u);
    for (Json::ArrayIndex k = 0; k < 6; ++k) {
        EXPECT_EQ(ints(basis["crossRelations"][k]), ints(b.crossRelations[k])) << k;
    }
    EXPECT_EQ(basis["markedLine"].asInt(), b.markedLine);
    EXPECT_EQ(ints(basis["markedDigits"]), ints(b.markedDigits));
    EXPECT_EQ(basis["shiIndex"].asInt(), 2);
    EXPECT_EQ(basis["yingIndex"].asInt(), 5);
    EXPECT_EQ(ints(basis["shiDigits"]), (std::vector<int>{8, 8}));
    EXPECT_EQ(ints(basis["yingDigits"]), (std::vector<int>{1, 5}));
    EXPECT_EQ(basis["changedShiIndex"].asInt(), b.changedShiIndex);
    EXPECT_EQ(basis["changedYingIndex"].asInt(), b.changedYingIndex);
    EXPECT_EQ(ints(basis["changedShiYingRelations"]), ints(b.changedShiYingRelations));
    EXPECT_EQ(ints(basis["changedShiYingDigits"]), ints(b.changedShiYingDigits));

    const Prediction& expected = calculation.prediction;
    ASSERT_EQ(root["rawPicks"].size(), 11u);
    ASSERT_EQ(root["picks"].size(), 11u);
    for (Json::ArrayIndex i = 0; i < 11; ++i) {
        EXPECT_EQ(root["rawPicks"][i].asString(), expected.rawPicks[i].text()) << i;
        EXPECT_EQ(root["picks"][i].asString(), expected.picks[i]) << i;
    }
    EXPECT_EQ(root["rawPicks"][0].asString().back(), ',');
    // The empty ninth bet: no raw numbers, an empty pick, and "无" in the text.
    EXPECT_EQ(root["rawPicks"][8].asString(), "");
    EXPECT_EQ(root["picks"][8].asString(), "");
    EXPECT_EQ(root["picks"][10].asString(), "02,04,05,10,15,19,21,25,29,30,35,38,40,43,50,58,62,66,70,80");
    const std::string text = root["prediction"].asString();
    EXPECT_EQ(text, expected.text);
    EXPECT_NE(text.find("\r\n九注:无\r\n十注:04,05,10,15,20,35,43,50,66,70\r\n"), std::string::npos);
}

TEST(CastPrediction, TextFormEndsWithThePredictionInPlainLines) {
    std::vector<std::string> args = kEmptyBetCast;
    args.pop_back(); // no --json
    const ProgramRun r = runCli(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string tail = "\n\n周易推演参考数据如下：\n"
                             " ---仅---供-----参---考---\n"
                             "推演十注:\n"
                             "一注:01,04,10,16,20,33,46,50,60,70\n"
                             "二注:01,04,10,16,20,33,40,50,60,70\n"
                             "三注:04,05,15,19,25,35,43,50,66,70\n"
                             "四注:04,05,10,15,20,35,43,50,66,70\n"
                             "五注:04,05,15,18,20,35,43,50,66,70\n"
                             "六注:01,04,10,16,20,33,40,50,60,70\n"
                             "七注:04,05,10,15,25,35,43,50,66,70\n"
                             "八注:01,04,10,16,20,33,40,50,60,70\n"
                             "九注:无\n"
                             "十注:04,05,10,15,20,35,43,50,66,70\n"
                             "预选20码:\n"
                             "02,04,05,10,15,19,21,25,29,30,35,38,40,43,50,58,62,66,70,80\n";
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
    // The report comes first.
    EXPECT_LT(r.out.find("爻基数:"), r.out.size() - tail.size());
}

} // namespace

} // namespace quenmar::test
