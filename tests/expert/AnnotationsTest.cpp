#include "expert/Annotations.h"

#include "ExpertTestSupport.h"
#include "engine/ChartRun.h"
#include "engine/Moment.h"

#include <gtest/gtest.h>
#include <set>

namespace quenmar {

namespace {

using test::beijingInstant;
using test::derivedHexagram;
using test::kBeijingBias;
using test::lineBranches;

TEST(BranchRelations, PairEachBranchWithItsOppositeAndItsPartner) {
    // Independently of the pair tables: a clash is six branches apart; the combining pairs
    // (子丑, 寅亥, ... 午未) are the ones whose 0-based positions add up to 1 or 13.
    for (int a = 1; a <= 12; ++a) {
        for (int b = 1; b <= 12; ++b) {
            EXPECT_EQ(branchesClash(branchText(a), branchText(b)), (a - b + 12) % 12 == 6) << a << " " << b;
            EXPECT_EQ(branchesCombine(branchText(a), branchText(b)), (a - 1 + b - 1) % 12 == 1)
                << a << " " << b;
        }
    }
    // The engine's lookups read an empty text as 子; here it is no branch at all.
    EXPECT_FALSE(branchesClash("", "午"));
    EXPECT_FALSE(branchesCombine("", "丑"));
    EXPECT_FALSE(branchesClash("子午", "午"));
}

TEST(VoidBranches, AreTheTwoBranchesEachDecadeLacks) {
    // The six decades as the almanacs list them, by their 甲 day.
    const std::pair<const char*, const char*> decades[] = {{"子", "戌亥"}, {"戌", "申酉"}, {"申", "午未"},
                                                           {"午", "辰巳"}, {"辰", "寅卯"}, {"寅", "子丑"}};
    for (int n = 0; n < 60; ++n) {
        const std::string_view stem = stemText(n % 10 + 1);
        const std::string_view branch = branchText(n % 12 + 1);
        const auto& decade = decades[n / 10];
        EXPECT_EQ(branchText((n - n % 10) % 12 + 1), decade.first) << n;
        const auto voids = voidBranches(stem, branch);
        EXPECT_EQ(std::string(voids[0]) + std::string(voids[1]), decade.second) << stem << branch;
    }
    EXPECT_EQ(voidBranches("甲", "丑")[0], ""); // no pair of the sixty
    EXPECT_EQ(voidBranches("", "子")[1], "");
}

// The tradition's ten 六冲 and eight 六合 hexagrams, which the branch rule must single out of 64.
TEST(HexagramKind, FindsTheTenClashingAndEightCombiningHexagrams) {
    const std::set<std::string> clashing = {"乾为天", "兑为泽", "离为火", "震为雷",   "巽为风",
                                            "坎为水", "艮为山", "坤为地", "天雷无妄", "雷天大壮"};
    const std::set<std::string> combining = {"天地否", "地天泰", "地雷复", "雷地豫",
                                             "水泽节", "泽水困", "火山旅", "山火贲"};
    std::set<std::string> foundClashing;
    std::set<std::string> foundCombining;
    for (int palace = 1; palace <= 8; ++palace) {
        for (int generation = 1; generation <= 8; ++generation) {
            const std::string name(hexagramName(palace, generation));
            const std::string_view kind = hexagramKind(lineBranches(derivedHexagram(name)));
            if (kind == "六冲") {
                foundClashing.insert(name);
            } else if (kind == "六合") {
                foundCombining.insert(name);
            } else {
                EXPECT_EQ(kind, "") << name;
            }
        }
    }
    EXPECT_EQ(foundClashing, clashing);
    EXPECT_EQ(foundCombining, combining);
}

struct HiddenCase {
    const char* name;
    // For each line 1..6: the hidden relation, stem-branch and element joined, or empty.
    std::array<const char*, 6> hidden;
};

class HiddenSpirits : public ::testing::TestWithParam<HiddenCase> {};

TEST_P(HiddenSpirits, ComeFromThePalacesPureHexagram) {
    const HiddenCase& c = GetParam();
    const GuaModel gua = derivedHexagram(c.name);
    const auto hidden = hiddenSpirits(gua.palace, gua.relations);
    for (std::size_t i = 0; i < 6; ++i) {
        const std::string seen =
            hidden[i] ? hidden[i]->relation + hidden[i]->ganzhi + hidden[i]->element : "";
        EXPECT_EQ(seen, c.hidden[i]) << c.name << " line " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Palaces, HiddenSpirits,
    ::testing::Values(HiddenCase{"天风姤", {"", "妻财甲寅木", "", "", "", ""}}, // lacks 妻财
                      HiddenCase{"火地晋", {"子孙甲子水", "", "", "", "", ""}}, // lacks 子孙, 游魂
                      HiddenCase{"天山遁", {"子孙甲子水", "妻财甲寅木", "", "", "", ""}}, // lacks two
                      HiddenCase{"水雷屯", {"", "", "妻财戊午火", "", "", ""}},           // of the 坎 palace
                      HiddenCase{"乾为天", {"", "", "", "", "", ""}}));

struct BodyCase {
    const char* name;
    const char* branch;
    std::vector<int> lines;
};

class GuaShenOf : public ::testing::TestWithParam<BodyCase> {};

TEST_P(GuaShenOf, CountsFromZiOrWuUpToTheShiLine) {
    const BodyCase& c = GetParam();
    const GuaModel gua = derivedHexagram(c.name);
    const bool shiYang = gua.lineBits[static_cast<std::size_t>(gua.shiLine - 1)] == "1";
    EXPECT_EQ(guaShen(gua.shiLine, shiYang, lineBranches(gua)), (GuaShen{c.branch, c.lines})) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Polarities, GuaShenOf,
                         ::testing::Values(BodyCase{"巽为风", "巳", {5}}, // yang 世 on line 6
                                           BodyCase{"坤为地", "亥", {5}}, // yin 世 on line 6
                                           BodyCase{"天风姤", "午", {4}}, // yin 世 on line 1
                                           BodyCase{"地天泰", "寅", {2}}, // yang 世 on line 3
                                           BodyCase{"风地观", "酉", {}},  // yin 世 on line 4, no such line
                                           BodyCase{"乾为天", "巳", {}}));

TEST(LocalMinuteText, RoundsToTheNearestMinuteInLocalTime) {
    EXPECT_EQ(localMinuteText(beijingInstant({2024, 12, 6, 23, 16, 30, 0}), kBeijingBias),
              "2024-12-06 23:17");
    EXPECT_EQ(localMinuteText(beijingInstant({2024, 12, 6, 23, 16, 29, 999}), kBeijingBias),
              "2024-12-06 23:16");
    EXPECT_EQ(localMinuteText(beijingInstant({2024, 12, 31, 23, 59, 45, 0}), kBeijingBias),
              "2025-01-01 00:00");
    EXPECT_EQ(localMinuteText(beijingInstant({2024, 12, 6, 23, 16, 0, 0}), 0), "2024-12-06 15:16");
}

ChartResult castByNumber(const char* number, const DateTime& when) {
    CastRequest request;
    request.method = CastMethod::ByNumber;
    request.numberText = number;
    request.zodiac = 1;
    request.timeChoice = TimeChoice::Current;
    request.moment = momentFromDateTime(when);
    ChartRun run = runChart(request);
    EXPECT_TRUE(run.charted);
    return run.chart;
}

LineAnnotation marks(bool isVoid, bool monthBreak, bool dayClash) {
    return LineAnnotation{isVoid, monthBreak, dayClash, std::nullopt};
}

// "38": 火地晋 (乾 palace, 游魂) changing at line 5 into 天地否, cast on 2025-01-06 12:00, an 乙亥 day
// of the 甲戌 decade in the 丑 month: lines of 未 are broken by the month, of 巳 clashed by the day,
// of 申 and 酉 void.
TEST(Annotate, ReadsEverythingOffAFinishedChart) {
    const ChartResult chart = castByNumber("38", DateTime{2025, 1, 6, 12, 0, 0, 0});
    ASSERT_EQ(chart.primaryName, "火地晋游魂");
    ASSERT_EQ(chart.changedName, "天地否");

    Annotations expected;
    expected.yearPillar = "甲辰";
    expected.monthPillar = "丁丑";
    expected.dayPillar = "乙亥";
    expected.hourPillar = "壬午";
    expected.solarTerm = TermInForce{"小寒", "2025-01-05 10:33"};
    expected.voidBranches = {"申", "酉"};
    expected.primaryKind = "";
    expected.changedKind = "六合";
    expected.guaShen = GuaShen{"卯", {3}}; // yang 世 on line 4: 子丑寅卯
    expected.nuclear = "水山蹇";
    expected.opposite = "水天需";
    expected.reversed = "地火明夷";
    // 火地晋: 乙未 乙巳 乙卯 己酉 己未 己巳; 天地否: 乙未 乙巳 乙卯 壬午 壬申 壬戌.
    expected.lines = {marks(false, true, false), marks(false, false, true), marks(false, false, false),
                      marks(true, false, false), marks(false, true, false), marks(false, false, true)};
    expected.lines[0].hidden = HiddenSpirit{"子孙", "甲子", "水"};
    expected.changedLines = {marks(false, true, false),  marks(false, false, true),
                             marks(false, false, false), marks(false, false, false),
                             marks(true, false, false),  marks(false, false, false)};
    expected.changedRelationsByPrimaryPalace = {"父母", "官鬼", "妻财", "官鬼", "兄弟", "父母"};

    EXPECT_EQ(annotate(chart, kBeijingBias), expected);
}

// "5": 风地观 of the 乾 palace changes into 风雷益 of the 巽 palace, so counting from the primary's
// metal differs from the report's count from the changed palace's wood.
TEST(Annotate, CountsTheChangedRelationsFromThePrimarysPalace) {
    const ChartResult chart = castByNumber("5", DateTime{2024, 3, 1, 0, 30, 0, 0});
    ASSERT_EQ(chart.changedName, "风雷益");
    const std::array<std::string, 6> byPrimary = {"子孙", "妻财", "父母", "父母", "官鬼", "妻财"};
    EXPECT_EQ(annotate(chart, kBeijingBias).changedRelationsByPrimaryPalace, byPrimary);
    EXPECT_EQ(chart.changedRelations,
              (std::vector<std::string>{"父母", "兄弟", "妻财", "妻财", "子孙", "兄弟"}));
}

// 2024-02-04 10:00 local: before 立春 (08:27 UTC) in Beijing, after it where local time is UTC.
TEST(Annotate, ComparesTheMomentWithTheTermAsAnInstantOfItsTimeZone) {
    const ChartResult chart = castByNumber("38", DateTime{2024, 2, 4, 10, 0, 0, 0});
    EXPECT_EQ(annotate(chart, kBeijingBias).monthPillar, "乙丑");
    EXPECT_EQ(annotate(chart, 0).monthPillar, "丙寅");
    EXPECT_EQ(annotate(chart, 0).solarTerm, (TermInForce{"立春", "2024-02-04 08:27"}));
}

TEST(Annotate, LeavesAnUnfinishedChartBare) {
    EXPECT_EQ(annotate(ChartResult{}, kBeijingBias), Annotations{});
}

TEST(Annotate, GivesNoMonthOutsideTheYearsOfTheTerms) {
    const ChartResult chart = castByNumber("38", DateTime{2150, 6, 1, 12, 0, 0, 0});
    const Annotations notes = annotate(chart, kBeijingBias);
    EXPECT_EQ(notes.yearPillar, "");
    EXPECT_FALSE(notes.solarTerm);
    EXPECT_EQ(notes.nuclear, "水山蹇");
    for (const LineAnnotation& line : notes.lines) {
        EXPECT_FALSE(line.monthBreak);
    }
}

} // namespace

} // namespace quenmar
