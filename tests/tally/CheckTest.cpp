#include "Moments.h"
#include "engine/Casting.h"
#include "prediction/Calculation.h"
#include "tally/RecordCheck.h"

#include <gtest/gtest.h>
#include <numeric>

namespace quenmar::tally {
namespace {

using test::at;

const std::string kDrawNumbers = "03 07 11 14 18 22 25 29 31 36 40 44 47 51 58 62 66 70 73 79";

store::KeptDraw happy8(std::string issue, std::string date, std::string numbers = kDrawNumbers) {
    return store::KeptDraw{kHappy8Code, std::move(issue), std::move(date), std::move(numbers), "", 0.0, ""};
}

TEST(PrizeTable, PaysPerTwoYuanByHitsAndTheTableOfTheDrawsIssue) {
    struct Case {
        std::int64_t issue;
        int hits;
        Prize prize;
    };
    // 8 hits is the one change at 2025350; 1..4 hits pay nothing in either version.
    for (const Case& c :
         {Case{2025349, 8, {800}}, Case{2025350, 8, {720}}, Case{2026001, 8, {720}},
          Case{2024001, 10, kFloating}, Case{2025350, 10, kFloating}, Case{2025350, 9, {8000}},
          Case{2024001, 9, {8000}}, Case{2025350, 7, {80}}, Case{2025350, 6, {5}}, Case{2025350, 5, {3}},
          Case{2025350, 4, {0}}, Case{2025350, 1, {0}}, Case{2025349, 0, {2}}, Case{2025350, 0, {2}}}) {
        EXPECT_EQ(pickTenPrize(c.issue, c.hits), c.prize) << c.issue << " " << c.hits;
    }
    EXPECT_EQ(prizeText(kFloating), "浮动");
    EXPECT_EQ(prizeText({720}), "720");
}

TEST(PrizeTable, ChanceOfHitsIsTheHypergeometricLaw) {
    EXPECT_NEAR(chanceOfHits(0), 0.04579070078902784, 1e-15);
    EXPECT_NEAR(chanceOfHits(3), 0.2674023677938619, 1e-15);
    EXPECT_NEAR(chanceOfHits(10), 1.122118951341556e-07, 1e-20);
    double total = 0.0;
    for (int k = 0; k <= kBetNumbers; ++k) {
        total += chanceOfHits(k);
    }
    EXPECT_NEAR(total, 1.0, 1e-12);
}

TEST(DrawIndex, TheTargetIsTheFirstKeptDrawOnOrAfterTheMomentsDateCountingFrom22Next) {
    // Kept: 05-01, 05-03 (none on 05-02), and draws the index cannot use (another lottery, an
    // unreadable date, nineteen numbers).
    const DrawIndex index({happy8("2024123", "2024-05-01"), happy8("2024125", "2024-05-03"),
                           store::KeptDraw{101, "2024050", "2024-05-02", "01 02 03 04 05 06", "16", 0.0, ""},
                           happy8("2024124", "2024/05/02"),
                           happy8("2024126", "2024-05-04", kDrawNumbers.substr(3))});
    EXPECT_EQ(index.size(), 2U);
    struct Case {
        double moment;
        const char* issue; // nullptr: 未开奖
    };
    for (const Case& c :
         {Case{at(2024, 4, 20, 9), "2024123"}, Case{at(2024, 5, 1, 0), "2024123"},
          Case{at(2024, 5, 1, 21, 30, 17), "2024123"}, // a draw-time calculation
          Case{at(2024, 5, 1, 21, 59, 59, 999), "2024123"}, Case{at(2024, 5, 1, 22), "2024125"},
          Case{at(2024, 5, 2, 8), "2024125"}, Case{at(2024, 5, 3, 21, 59), "2024125"},
          Case{at(2024, 5, 3, 22), nullptr}, Case{at(2024, 6, 1), nullptr}}) {
        const IndexedDraw* target = index.targetFor(c.moment);
        EXPECT_EQ(target ? target->issue : "未开奖", c.issue ? c.issue : "未开奖") << c.moment;
    }
}

// A fresh calculation as the input panel makes it, saved as the save button does.
struct Saved {
    Calculation calculation;
    store::YsModel record;
};

Saved saved(CastRequest request, double now) {
    prepareRequest(request, kGameHappy8, ClockReading{now, -480});
    Saved s{runCalculation(request), {}};
    s.record = store::modelFromChart(s.calculation.run.chart, "t", "");
    s.record._id = 7;
    return s;
}

TEST(CheckRecord, RecomputesThePicksTheUserSawWithTheRecordsOwnMomentForEveryMethod) {
    CastRequest byNumber;
    byNumber.method = CastMethod::ByNumber;
    byNumber.numberText = "38";
    byNumber.zodiac = 1;
    CastRequest byHand;
    byHand.method = CastMethod::ByHand;
    byHand.upperLines = "101";
    byHand.lowerLines = "001";
    byHand.movingFlags = {0, 1, 0, 0, -1, 0};
    byHand.zodiac = 4;
    byHand.moment = at(2024, 5, 3, 10, 15);
    CastRequest byMs;
    byMs.method = CastMethod::ByMilliseconds;
    byMs.timeChoice = TimeChoice::Draw;
    byMs.zodiac = 9;
    const DrawIndex index({happy8("2024123", "2024-05-03")});
    for (const CastRequest& request : {byNumber, byHand, byMs}) {
        const Saved s = saved(request, at(2024, 5, 3, 14, 0, 5, 250));
        const RecordCheck check = checkRecord(s.record, index);
        ASSERT_TRUE(check.picks.computed) << check.picks.problem;
        ASSERT_TRUE(check.target);
        EXPECT_EQ(check.target->issue, "2024123");
        const auto& picks = s.calculation.prediction.picks;
        for (std::size_t bet = 0; bet < kBetCount; ++bet) {
            EXPECT_EQ(twoDigitText(check.bets[bet].numbers, ","), picks[bet]);
            std::vector<int> hits;
            for (const int number : check.bets[bet].numbers.numbers()) {
                if (kDrawNumbers.find(twoDigitText(std::vector<int>{number}, "")) != std::string::npos) {
                    hits.push_back(number);
                }
            }
            EXPECT_EQ(check.bets[bet].hits.numbers(), hits);
            EXPECT_EQ(check.bets[bet].prize, pickTenPrize(2024123, static_cast<int>(hits.size())));
        }
        EXPECT_EQ(twoDigitText(check.picks.preselection, ","), picks[kBetCount]);
    }
}

TEST(CheckRecord, ARecordThatCannotBeCastIsReportedNotGuessed) {
    store::YsModel record;
    record._id = 3;
    record.ysindex = 1;
    record.ysnumber = "38";
    record.ysday = at(2024, 5, 3, 14);
    record.gzsxid = 0; // edited out by hand
    const RecordCheck check = checkRecord(record, DrawIndex({happy8("2024123", "2024-05-03")}));
    EXPECT_FALSE(check.picks.computed);
    EXPECT_EQ(check.picks.problem, "未选择卦主生肖");
    EXPECT_FALSE(check.drawn());
}

// Checked on every core or one at a time with a progress report, the checks are the same and
// in the records' order; a progress report that says stop keeps the checks made so far.
TEST(CheckRecords, OnEveryCoreGivesWhatOneAtATimeGives) {
    std::vector<store::YsModel> records;
    for (int i = 0; i < 4'500; ++i) {
        CastRequest request;
        request.method = CastMethod::ByNumber;
        request.numberText = std::to_string(1 + i * 7919);
        request.zodiac = 1 + i % 12;
        records.push_back(saved(request, at(2024, 5, 1 + i % 20, i % 24, i % 60)).record);
        records.back()._id = i + 1;
    }
    std::vector<store::KeptDraw> draws;
    for (int day = 1; day <= 10; ++day) {
        draws.push_back(happy8(std::to_string(2024120 + day), "2024-05-" + twoDigitText({day}, "")));
    }
    const DrawIndex index(draws);
    const std::vector<RecordCheck> shared = checkRecords(records, index);
    const std::vector<RecordCheck> inOrder = checkRecords(records, index, [](std::size_t) { return true; });
    ASSERT_EQ(shared.size(), records.size());
    EXPECT_TRUE(shared == inOrder);
    EXPECT_EQ(shared.back().id, 4'500);
    const auto stopped = checkRecords(records, index, [](std::size_t done) { return done < 10; });
    EXPECT_EQ(stopped.size(), 10U);
}

TEST(TallySummary, CountsPlayableBetsByHitsAndKeepsTheFloatingPrizeApart) {
    RecordCheck drawn;
    drawn.picks.computed = true;
    drawn.target = IndexedDraw{};
    const std::array<int, kBetCount> hits{0, 0, 1, 3, 3, 5, 8, 10, 4, 2};
    for (std::size_t bet = 0; bet < kBetCount; ++bet) {
        drawn.bets[bet].playable = bet != 9; // a short pick: no bet
        for (int number = 1; number <= hits[bet]; ++number) {
            drawn.bets[bet].hits.add(number);
        }
        drawn.bets[bet].prize = pickTenPrize(2025350, hits[bet]);
    }
    RecordCheck undrawn;
    undrawn.picks.computed = true;
    RecordCheck uncomputed;
    TallySummary summary;
    for (const RecordCheck* check : {&drawn, &undrawn, &drawn, &uncomputed}) {
        summary.add(*check);
    }
    EXPECT_EQ(summary.records, 2);
    EXPECT_EQ(summary.undrawn, 1);
    EXPECT_EQ(summary.uncomputed, 1);
    EXPECT_EQ(summary.bets, 18);
    EXPECT_EQ(summary.betsByHits, (std::array<std::int64_t, kHitCounts>{4, 2, 0, 4, 2, 2, 0, 0, 2, 0, 2}));
    EXPECT_EQ(summary.stakeYuan, 36);
    EXPECT_EQ(summary.prizeYuan, 2 * (2 + 2 + 3 + 720));
    EXPECT_EQ(summary.floatingPrizes, 2);
    EXPECT_NEAR(summary.expectedBets(3), 18 * 0.2674023677938619, 1e-12);
}

} // namespace
} // namespace quenmar::tally
