// The check of saved calculations against kept draws at the size of a long-kept history:
// 100,000 calculations of all three methods against 10,000 daily 快乐8 draws.
#include "engine/ChartRun.h"
#include "engine/Moment.h"
#include "store/YsModel.h"
#include "tally/NumberSet.h"
#include "tally/RecordCheck.h"

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace quenmar;

constexpr int kRecords = 100'000;
constexpr int kDraws = 10'000;

// Saved calculations over 25 years from 2000, at every time of day, spread over zodiacs,
// numbers and hand-entered lines, as the save button writes them.
std::vector<store::YsModel> savedCalculations() {
    std::mt19937 random(14);
    const auto pick = [&random](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    const char* lines[] = {"100", "011", "110", "001", "111", "000", "101", "010"};
    std::vector<store::YsModel> records;
    records.reserve(kRecords);
    while (records.size() < static_cast<std::size_t>(kRecords)) {
        CastRequest r;
        r.zodiac = pick(1, 12);
        r.moment = momentFromDateTime(DateTime{pick(2000, 2024), pick(1, 12), pick(1, 28), pick(0, 23),
                                               pick(0, 59), pick(0, 59), pick(0, 999)});
        switch (records.size() % 3) {
        case 0:
            r.method = CastMethod::ByNumber;
            r.numberText = std::to_string(pick(1, 99'999'999));
            break;
        case 1:
            r.method = CastMethod::ByHand;
            r.upperLines = lines[pick(0, 7)];
            r.lowerLines = lines[pick(0, 7)];
            r.movingFlags = {pick(-1, 1), pick(-1, 1), pick(-1, 1), pick(-1, 1), pick(-1, 1), pick(-1, 1)};
            break;
        default:
            r.method = CastMethod::ByMilliseconds;
            r.timeChoice = TimeChoice::Draw;
            r.numberText = std::to_string(pick(1'000'000'000, 1'999'999'999) * 1000LL + pick(0, 999));
            break;
        }
        if (const auto chart = castChart(r)) {
            store::YsModel model = store::modelFromChart(*chart, "样例", "");
            model._id = static_cast<int>(records.size()) + 1;
            records.push_back(std::move(model));
        }
    }
    return records;
}

// One draw a day from 2000-01-01: twenty different numbers of 1..80.
std::vector<store::KeptDraw> keptDraws() {
    std::mt19937 random(80);
    std::array<int, kHighestNumber> all{};
    std::iota(all.begin(), all.end(), 1);
    std::vector<store::KeptDraw> draws;
    const double first = momentFromDateTime(DateTime{2000, 1, 1, 0, 0, 0, 0});
    for (int day = 0; day < kDraws; ++day) {
        std::shuffle(all.begin(), all.end(), random);
        std::vector<int> drawn(all.begin(), all.begin() + 20);
        const DateTime date = dateTimeFromMoment(first + day).value();
        char text[16];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
        draws.push_back(store::KeptDraw{tally::kHappy8Code, std::to_string(2000001 + day), text,
                                        tally::twoDigitText(drawn, " "), "", 0.0, "bench"});
    }
    return draws;
}

// One iteration is the whole check: the index of the draws, then each record's picks, its
// target draw and the hits and prizes of its bets, and the summary.
void BM_CheckOneHundredThousand(benchmark::State& state) {
    const std::vector<store::YsModel> records = savedCalculations();
    const std::vector<store::KeptDraw> draws = keptDraws();
    for (auto _ : state) {
        const tally::DrawIndex index(draws);
        const std::vector<tally::RecordCheck> checks = tally::checkRecords(records, index);
        tally::TallySummary summary;
        for (const tally::RecordCheck& check : checks) {
            summary.add(check);
        }
        benchmark::DoNotOptimize(summary);
        state.counters["checked"] = static_cast<double>(summary.records);
    }
    state.counters["records"] = static_cast<double>(records.size());
}
BENCHMARK(BM_CheckOneHundredThousand)->Unit(benchmark::kMillisecond)->Iterations(3);

// One record's check on one core, over the first 10,000 of the same records: the cost the
// whole check shares among the cores, steadier to compare than the whole.
void BM_CheckOneRecord(benchmark::State& state) {
    static const std::vector<store::YsModel> records = savedCalculations();
    const tally::DrawIndex index(keptDraws());
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tally::checkRecord(records[i++ % 10'000], index));
    }
}
BENCHMARK(BM_CheckOneRecord);

} // namespace
