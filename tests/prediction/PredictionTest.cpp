#include "prediction/Prediction.h"

#include "Moments.h"
#include "engine/ChartRun.h"
#include "engine/Moment.h"
#include "prediction/BaseNumbers.h"
#include "prediction/Calculation.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace quenmar {

using test::at;

namespace {

using Picks = std::array<std::string, kPickCount>;

TEST(PickValues, SplitsTrimsAndSkipsEmptyItems) {
    EXPECT_EQ(pickValues("12,5,80,"), (std::vector<int>{12, 5, 80}));
    EXPECT_EQ(pickValues(" 3 , ,7"), (std::vector<int>{3, 7}));
    EXPECT_EQ(pickValues(""), (std::vector<int>{}));
    EXPECT_EQ(pickValues(",,"), (std::vector<int>{}));
    EXPECT_EQ(pickValues("x,4"), (std::vector<int>{0, 4}));
}

TEST(SpreadByDecade, TakesSweepBySweepOverTheEightGroups) {
    const std::vector<int> values{5, 3, 12, 45, 46, 47, 48, 71, 2, 15, 60, 61};
    EXPECT_EQ(spreadByDecade(values, 10), (std::vector<int>{5, 12, 45, 60, 71, 3, 15, 46, 61, 2}));
}

TEST(SpreadByDecade, GroupEdges) {
    // 9 is in the first group, 10 and 19 in the second (in list order), 80 with 70 and above.
    EXPECT_EQ(spreadByDecade(std::vector<int>{9, 19, 10}, 2), (std::vector<int>{9, 19}));
    EXPECT_EQ(spreadByDecade(std::vector<int>{80, 75, 1}, 2), (std::vector<int>{1, 80}));
    EXPECT_EQ(spreadByDecade(std::vector<int>{99, 70, 69}, 3), (std::vector<int>{69, 99, 70}));
}

TEST(SpreadByDecade, StopsOnceEveryGroupIsExhausted) {
    EXPECT_EQ(spreadByDecade(std::vector<int>{3, 1, 2}, 10), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(spreadByDecade(std::vector<int>{}, 20), (std::vector<int>{}));
    // Values of 0 or less belong to no group.
    EXPECT_EQ(spreadByDecade(std::vector<int>{0, -4, 7}, 10), (std::vector<int>{7}));
    EXPECT_EQ(spreadByDecade(std::vector<int>{1, 2}, 0), (std::vector<int>{}));
}

TEST(FormatPick, TenValuesAreSortedAndWrittenWithTwoDigits) {
    EXPECT_EQ(formatPick(std::vector<int>{12, 5, 80, 7, 33, 41, 2, 66, 19, 70}, 10),
              "02,05,07,12,19,33,41,66,70,80");
}

TEST(FormatPick, MoreValuesAreSpreadByDecadeFirst) {
    EXPECT_EQ(formatPick(std::vector<int>{5, 3, 12, 45, 46, 47, 48, 71, 2, 15, 60, 61}, 10),
              "02,03,05,12,15,45,46,60,61,71");
}

TEST(FormatPick, TheFiftySixValuesOfTheWorkedExample) {
    const std::vector<int> raw =
        pickValues("10,50,2,12,7,25,20,15,1,43,29,21,17,14,6,22,42,37,32,56,28,18,16,30,55,"
                   "47,33,11,27,75,45,62,41,31,13,35,53,26,72,52,46,23,80,60,70,40,57,68,"
                   "34,19,58,39,67,77,51,38,");
    ASSERT_EQ(raw.size(), 56u);
    // Sweep 0: 2, 10, 25, 37, 43, 50, 62, 75; sweep 1: 7, 12.
    EXPECT_EQ(spreadByDecade(raw, 10), (std::vector<int>{2, 10, 25, 37, 43, 50, 62, 75, 7, 12}));
    EXPECT_EQ(formatPick(raw, 10), "02,07,10,12,25,37,43,50,62,75");
}

TEST(FormatPick, ThePreselectionKeepsEveryDecadeThatHasAValue) {
    std::vector<int> values;
    for (int n = 1; n <= 29; ++n) {
        values.push_back(n);
    }
    values.push_back(75);
    // Sweeps take 1 10 20 75, then three a sweep from the first three groups.
    EXPECT_EQ(formatPick(values, 20), "01,02,03,04,05,06,07,10,11,12,13,14,15,20,21,22,23,24,25,75");
}

TEST(FormatPick, ShortAndEmptyPicks) {
    EXPECT_EQ(formatPick(std::vector<int>{40, 3, 17}, 10), "03,17,40");
    EXPECT_EQ(formatPick(std::vector<int>{}, 10), "");
    // Exactly `need` values are only sorted; those not above 0 are not written.
    EXPECT_EQ(formatPick(std::vector<int>{0, 9, 8}, 3), "08,09");
    EXPECT_EQ(formatPick(std::vector<int>{100, 9}, 2), "09,100");
}

// The template with its placeholders, as the results box shows it.
std::string literalPredictionText(const Picks& picks) {
    std::string text =
        "周易推演参考数据如下：\r\n "
        "---仅---供-----参---考---\r\n推演十注:\r\n一注:{1}\r\n二注:{2}\r\n三注:{3}"
        "\r\n四注:{4}\r\n五注:{5}\r\n六注:{6}\r\n七注:{7}\r\n八注:{8}\r\n九注:{9}\r\n十注:{10}\r\n"
        "预选20码:\r\n{11}";
    for (int n = 1; n <= kPickCount; ++n) {
        std::string placeholder = "{";
        placeholder.append(std::to_string(n)).append("}");
        const std::string& pick = picks[static_cast<std::size_t>(n - 1)];
        for (std::size_t at = text.find(placeholder); at != std::string::npos;
             at = text.find(placeholder, at)) {
            text.replace(at, placeholder.size(), pick.empty() ? "无" : pick);
        }
    }
    return text;
}

ChartResult finishedChart(const CastRequest& request) {
    const ChartRun run = runChart(request);
    EXPECT_TRUE(run.charted) << run.message;
    return run.chart;
}

CastRequest byNumber(const char* number, int zodiac, double moment) {
    CastRequest r;
    r.method = CastMethod::ByNumber;
    r.numberText = number;
    r.zodiac = zodiac;
    r.moment = moment;
    return r;
}

// Whole charts, from the request to the eleven lines. The basis digits of each were read off
// the chart report; the picks were checked against a separate, literal transcription of the
// rules working on the pick texts.
TEST(WholeChart, NumberThirtyEightAtNoonOfTheReferenceDay) {
    const ChartResult chart = finishedChart(byNumber("38", 1, at(2022, 11, 7, 12, 0)));
    const NumberBasis b = buildNumberBasis(chart);
    // 子 querent 1; day 甲子 3 1; hour 庚午 4 2; 青龙 on the 应 line 1, 玄武 on line 6.
    EXPECT_EQ(b.querentDigit, 1);
    EXPECT_EQ(b.dayStemDigit, 3);
    EXPECT_EQ(b.hourBranchDigit, 2);
    EXPECT_EQ(b.markedLine, 5);
    EXPECT_EQ(b.shiDigits, (std::array<std::int32_t, 2>{0, 9}));
    EXPECT_EQ(chartFactor(b), 0.5);
    // Pick 11 by hand: seed 134209856, u 1.0 (line 4), v 1.0 (changed line 3), t 7.0 (cross
    // relations of line 6 sum to −14), d 0.9. The first pass gives seventeen numbers, the post
    // passes nineteen; a short pre-selection shows what it has.
    const PickPlan plan = planPick(b, 11, 0.5);
    EXPECT_EQ(plan.seed, "134209856");
    EXPECT_EQ(plan.d, 0.9);
    EXPECT_EQ(generatePick(b, 11, 0.5), "1,2,11,4,6,3,8,5,16,22,14,20,10,13,17,12,24,15,18,");
    const Picks expected{"01,03,11,19,28,34,45,57,60,76",
                         "01,02,03,11,15,22,26,30,38,41",
                         "01,02,04,07,12,14,19,21,22,24",
                         "01,02,14,18,20,25,35,44,50,64",
                         "02,04,12,18,20,32,40,54,60,80",
                         "01,02,04,11,15,16,20,22,27,30",
                         "01,02,14,17,21,34,45,57,68,71",
                         "02,04,12,14,20,32,40,56,62,70",
                         "02,04,12,14,20,32,40,50,64,80",
                         "02,05,10,15,25,35,40,50,62,70",
                         "01,02,03,04,05,06,08,10,11,12,13,14,15,16,17,18,20,22,24"};
    EXPECT_EQ(runPrediction(chart), expected);
    EXPECT_EQ(predictionText(chart), literalPredictionText(expected));
}

TEST(WholeChart, ByHandWithThreeMovingLines) {
    CastRequest r;
    r.method = CastMethod::ByHand;
    r.lowerLines = "110";
    r.upperLines = "000";
    r.movingFlags = {1, 0, -1, 0, 0, -1};
    r.zodiac = 7;
    r.moment = at(2022, 11, 7, 12, 0);
    const ChartResult chart = finishedChart(r);
    // 午 querent 2; 青龙 on line 1, which holds neither 世 (line 2) nor 应 (line 5).
    EXPECT_EQ(buildNumberBasis(chart).querentDigit, 2);
    EXPECT_EQ(buildNumberBasis(chart).markedLine, 0);
    EXPECT_EQ(runPrediction(chart), (Picks{"01,03,15,18,23,31,45,54,63,70", "03,06,10,13,20,33,40,50,63,73",
                                           "01,04,10,14,21,22,32,48,54,68", "01,03,10,12,20,25,31,32,42,52",
                                           "01,03,11,13,21,35,42,53,65,72", "02,07,10,15,25,32,47,50,60,75",
                                           "01,03,14,16,21,33,42,50,60,72", "01,03,10,11,23,26,33,38,40,52",
                                           "01,02,03,10,12,13,20,23,27,33", "01,03,10,12,20,33,40,51,62,74",
                                           "01,02,03,04,06,10,11,13,15,20,21,23,27,30,33,34,36,43,48,54"}));
}

TEST(WholeChart, ByMillisecondsAtADrawTime) {
    CastRequest r;
    r.method = CastMethod::ByMilliseconds;
    r.timeChoice = TimeChoice::Draw;
    r.numberText = "1718458200000";
    r.zodiac = 4;
    r.moment = at(2024, 6, 15, 21, 30);
    const ChartResult chart = finishedChart(r);
    // 卯 querent 8; day 庚戌 4 5; hour 丁亥 7 6; 玄武 on line 2, free of 世 (6) and 应 (3).
    EXPECT_EQ(buildNumberBasis(chart).querentDigit, 8);
    EXPECT_EQ(buildNumberBasis(chart).dayBranchDigit, 5);
    EXPECT_EQ(buildNumberBasis(chart).hourStemDigit, 7);
    EXPECT_EQ(buildNumberBasis(chart).markedLine, 1);
    EXPECT_EQ(runPrediction(chart), (Picks{"05,07,12,16,18,21,23,30,32,42", "05,16,18,25,28,39,44,50,61,70",
                                           "04,08,13,14,22,26,30,35,44,48", "02,06,10,18,20,31,45,56,63,75",
                                           "04,06,08,13,14,20,24,30,33,40", "05,09,15,16,20,28,31,41,52,67",
                                           "05,17,18,24,27,32,38,48,54,68", "04,07,13,14,22,24,30,39,45,50",
                                           "04,14,15,24,28,33,38,45,48,57", "05,08,15,16,25,27,35,45,57,71",
                                           "04,09,11,13,14,16,17,18,22,23,24,26,28,30,33,35,36,38,44,48"}));
}

TEST(WholeChart, AnEmptyBetReadsNone) {
    // x is 0.1 (relations −4 −1 1 5); pick 9 pairs lines 3 and 6 whose sums −2 and 1 give u 0.2,
    // v 0.1 and t 0.1, so d = toTenths(0.04) = 0 and every number is dropped.
    const ChartResult chart = finishedChart(byNumber("1", 1, at(2023, 1, 9, 0, 10)));
    EXPECT_EQ(chartFactor(buildNumberBasis(chart)), 0.1);
    EXPECT_EQ(planPick(buildNumberBasis(chart), 9, 0.1).d, 0.0);
    const Picks expected{"01,04,10,16,20,33,46,50,60,70",
                         "01,04,10,16,20,33,40,50,60,70",
                         "04,05,15,19,25,35,43,50,66,70",
                         "04,05,10,15,20,35,43,50,66,70",
                         "04,05,15,18,20,35,43,50,66,70",
                         "01,04,10,16,20,33,40,50,60,70",
                         "04,05,10,15,25,35,43,50,66,70",
                         "01,04,10,16,20,33,40,50,60,70",
                         "",
                         "04,05,10,15,20,35,43,50,66,70",
                         "02,04,05,10,15,19,21,25,29,30,35,38,40,43,50,58,62,66,70,80"};
    EXPECT_EQ(runPrediction(chart), expected);
    EXPECT_EQ(predictionText(chart), "周易推演参考数据如下：\r\n"
                                     " ---仅---供-----参---考---\r\n"
                                     "推演十注:\r\n"
                                     "一注:01,04,10,16,20,33,46,50,60,70\r\n"
                                     "二注:01,04,10,16,20,33,40,50,60,70\r\n"
                                     "三注:04,05,15,19,25,35,43,50,66,70\r\n"
                                     "四注:04,05,10,15,20,35,43,50,66,70\r\n"
                                     "五注:04,05,15,18,20,35,43,50,66,70\r\n"
                                     "六注:01,04,10,16,20,33,40,50,60,70\r\n"
                                     "七注:04,05,10,15,25,35,43,50,66,70\r\n"
                                     "八注:01,04,10,16,20,33,40,50,60,70\r\n"
                                     "九注:无\r\n"
                                     "十注:04,05,10,15,20,35,43,50,66,70\r\n"
                                     "预选20码:\r\n"
                                     "02,04,05,10,15,19,21,25,29,30,35,38,40,43,50,58,62,66,70,80");
}

TEST(Prediction, AnEmptyChartStillFillsTheTemplate) {
    // Every digit of an empty chart reads 0: the seed is 0 and the digits of the pair codes.
    const ChartResult chart;
    const std::string text = predictionText(chart);
    EXPECT_EQ(text, literalPredictionText(runPrediction(chart)));
    EXPECT_EQ(text.find('{'), std::string::npos);
}

// The text of generated picks is formatted on a set of the numbers; this compares it with
// formatPick over picks of every size, in random order, the sizes that need no spreading
// included.
TEST(Prediction, FormatsGeneratedPicksAsFormatPickDoes) {
    std::mt19937 random(20240611);
    std::array<int, kHighestNumber> numbers{};
    std::iota(numbers.begin(), numbers.end(), 1);
    for (int round = 0; round < 500; ++round) {
        std::array<PickNumbers, kPickCount> picks;
        Picks formatted;
        for (std::size_t i = 0; i < picks.size(); ++i) {
            std::shuffle(numbers.begin(), numbers.end(), random);
            const int need = i + 1 == picks.size() ? 20 : 10;
            const int size = std::uniform_int_distribution<int>(0, 3)(random) == 0
                                 ? need
                                 : std::uniform_int_distribution<int>(0, kHighestNumber)(random);
            for (int k = 0; k < size; ++k) {
                picks[i].push(numbers[static_cast<std::size_t>(k)]);
            }
            formatted[i] = formatPick(picks[i].values(), need);
        }
        ASSERT_EQ(predictionTextOf(picks), literalPredictionText(formatted)) << round;
    }
}

TEST(Prediction, PredictGathersRawPicksPicksAndText) {
    const ChartResult chart = finishedChart(byNumber("4711", 9, at(2024, 2, 29, 23, 45)));
    const NumberBasis basis = buildNumberBasis(chart);
    const Prediction prediction = predict(basis);
    const double x = chartFactor(basis);
    for (int pick = 1; pick <= kPickCount; ++pick) {
        const auto i = static_cast<std::size_t>(pick - 1);
        EXPECT_EQ(prediction.rawPicks[i].text(), generatePick(basis, pick, x));
        EXPECT_EQ(prediction.picks[i],
                  formatPick(pickValues(prediction.rawPicks[i].text()), pick == 11 ? 20 : 10));
    }
    EXPECT_EQ(prediction.picks, runPrediction(chart));
    EXPECT_EQ(prediction.text, predictionText(chart));
    EXPECT_EQ(prediction.text, literalPredictionText(prediction.picks));
}

TEST(Calculation, HoldsTheChartItsBasisAndItsPrediction) {
    const CastRequest request = byNumber("38", 1, at(2022, 11, 7, 12, 0));
    const Calculation calculation = runCalculation(request);
    ASSERT_TRUE(calculation.run.charted);
    EXPECT_EQ(calculation.run.chart, runChart(request).chart);
    EXPECT_EQ(calculation.run.report, runChart(request).report);
    EXPECT_EQ(calculation.basis, buildNumberBasis(calculation.run.chart));
    EXPECT_EQ(calculation.prediction, predict(calculation.basis));
    EXPECT_EQ(calculation.prediction.text, predictionText(calculation.run.chart));
    // The same request always yields the same lines.
    EXPECT_EQ(runCalculation(request).prediction, calculation.prediction);
}

// The check of saved calculations takes the picks without the report and the view: the same
// chart and the numbers the prediction text shows, for every method.
TEST(Calculation, ComputePicksGivesTheNumbersOfThePredictionText) {
    const char* lines[] = {"100", "011", "110", "001", "111", "000", "101", "010"};
    for (int i = 0; i < 60; ++i) {
        CastRequest r = byNumber(std::to_string(1 + i * 7919).c_str(), 1 + i % 12,
                                 at(2023 + i % 3, 1 + i % 12, 1 + i % 28, i % 24, (i * 7) % 60));
        if (i % 3 == 1) {
            r.method = CastMethod::ByHand;
            r.numberText.clear();
            r.upperLines = lines[i % 8];
            r.lowerLines = lines[(i / 3) % 8];
            r.movingFlags = {i % 2, -(i % 5 == 0), 0, (i / 2) % 2, 0, -(i % 7 == 1)};
        } else if (i % 3 == 2) {
            r.method = CastMethod::ByMilliseconds;
            r.timeChoice = TimeChoice::Draw;
            r.numberText = std::to_string(1690000000000LL + i * 7654321LL);
        }
        const Calculation calculation = runCalculation(r);
        const auto sets = computePicks(r);
        ASSERT_TRUE(sets.ok()) << i;
        EXPECT_EQ(castChart(r).value(), calculation.run.chart) << i;
        for (std::size_t pick = 0; pick < kPickCount; ++pick) {
            NumberSet shown;
            for (const int n : pickValues(calculation.prediction.picks[pick])) {
                shown.add(n);
            }
            EXPECT_EQ((*sets)[pick], shown) << i << " pick " << pick + 1;
        }
    }
    const auto refused = computePicks(byNumber("", 1, at(2022, 11, 7, 12, 0)));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), "未输入推算数字");
}

TEST(Calculation, ARefusedRequestYieldsOnlyTheReason) {
    const Calculation calculation = runCalculation(byNumber("", 1, at(2022, 11, 7, 12, 0)));
    EXPECT_FALSE(calculation.run.charted);
    EXPECT_EQ(calculation.run.message, "未输入推算数字");
    EXPECT_EQ(calculation.basis, NumberBasis{});
    EXPECT_EQ(calculation.prediction, Prediction{});
}

} // namespace

} // namespace quenmar
