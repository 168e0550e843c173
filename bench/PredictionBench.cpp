// One whole calculation, from a request to the prediction text, and the prediction's parts:
// the number basis, the eleven picks and their formatting into the text; and a check of
// 100,000 saved calculations against 10,000 kept draws.
#include "BenchRequests.h"
#include "prediction/BaseNumbers.h"
#include "prediction/Calculation.h"

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace quenmar;

// The requests run once, each with its chart and basis, for the benchmarks of the parts.
std::vector<Calculation> finishedCalculations() {
    std::vector<Calculation> calculations;
    for (const CastRequest& request : benchRequests()) {
        Calculation calculation = runCalculation(request);
        if (calculation.run.charted) {
            calculations.push_back(std::move(calculation));
        }
    }
    return calculations;
}

// The whole of one calculation: chart, number basis, raw and formatted picks and text.
void BM_FullCalculation(benchmark::State& state) {
    const auto requests = benchRequests();
    std::size_t i = 0;
    for (auto _ : state) {
        Calculation calculation = runCalculation(requests[i++ % requests.size()]);
        benchmark::DoNotOptimize(calculation);
    }
}
BENCHMARK(BM_FullCalculation);

void BM_NumberBasis(benchmark::State& state) {
    const auto calculations = finishedCalculations();
    std::size_t i = 0;
    for (auto _ : state) {
        NumberBasis basis = buildNumberBasis(calculations[i++ % calculations.size()].run.chart);
        benchmark::DoNotOptimize(basis);
    }
}
BENCHMARK(BM_NumberBasis);

void BM_ElevenPicks(benchmark::State& state) {
    const auto calculations = finishedCalculations();
    std::size_t i = 0;
    for (auto _ : state) {
        auto picks = generatePicks(calculations[i++ % calculations.size()].basis);
        benchmark::DoNotOptimize(picks);
    }
}
BENCHMARK(BM_ElevenPicks);

void BM_PredictionFormatting(benchmark::State& state) {
    std::vector<std::array<PickNumbers, kPickCount>> picks;
    for (const Calculation& calculation : finishedCalculations()) {
        picks.push_back(generatePicks(calculation.basis));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        std::string text = predictionTextOf(picks[i++ % picks.size()]);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_PredictionFormatting);

// Everything the prediction adds to the engine's run: basis, picks and text.
void BM_PredictionShare(benchmark::State& state) {
    const auto calculations = finishedCalculations();
    std::size_t i = 0;
    for (auto _ : state) {
        const NumberBasis basis = buildNumberBasis(calculations[i++ % calculations.size()].run.chart);
        std::string text = predictionTextOf(generatePicks(basis));
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_PredictionShare);

} // namespace

namespace {

using namespace quenmar;

// 100,000 saved calculations of all three methods, spread over zodiacs, moments of every time
// of day over 25 years, numbers and hand-entered lines: what a long-kept history holds.
std::vector<CastRequest> savedCalculations() {
    std::mt19937 random(14);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const char* lines[] = {"100", "011", "110", "001", "111", "000", "101", "010"};
    std::vector<CastRequest> requests;
    requests.reserve(100'000);
    for (int i = 0; i < 100'000; ++i) {
        CastRequest r;
        r.zodiac = pick(1, 12);
        r.moment = momentFromDateTime(DateTime{pick(2001, 2025), pick(1, 12), pick(1, 28), pick(0, 23),
                                               pick(0, 59), pick(0, 59), pick(0, 999)});
        switch (i % 3) {
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
        requests.push_back(std::move(r));
    }
    return requests;
}

// One draw of 快乐8 a day, 10,000 days from 2000-01-01: twenty distinct numbers of 1..80.
struct KeptDraws {
    std::vector<long long> days; // the day of each draw, ascending
    std::vector<NumberSet> numbers;
};

KeptDraws keptDraws() {
    std::mt19937 random(80);
    std::array<int, kHighestNumber> all{};
    std::iota(all.begin(), all.end(), 1);
    KeptDraws draws;
    const auto first = static_cast<long long>(momentFromDateTime(DateTime{2000, 1, 1, 0, 0, 0, 0}));
    for (long long day = 0; day < 10'000; ++day) {
        std::shuffle(all.begin(), all.end(), random);
        NumberSet drawn;
        for (std::size_t k = 0; k < 20; ++k) {
            drawn.add(all[k]);
        }
        draws.days.push_back(first + day);
        draws.numbers.push_back(drawn);
    }
    return draws;
}

// A stand-in for the check of saved calculations: for each of 100,000 records its eleven picks
// from its request, its target draw (the first kept draw on or after its day, a moment from
// 22:00 counting from the next day), and the hits of its ten bets and of its pre-selection
// against that draw. One iteration is the whole check.
void BM_CheckOneHundredThousand(benchmark::State& state) {
    const std::vector<CastRequest> requests = savedCalculations();
    const KeptDraws draws = keptDraws();
    constexpr double kLateFraction = 22.0 / 24.0;
    for (auto _ : state) {
        std::array<long long, kBetSize + 1> betsWithHits{};
        long long preselectionHits = 0;
        long long unchecked = 0;
        for (const CastRequest& request : requests) {
            const auto picks = computePicks(request);
            const double day = std::floor(request.moment);
            const auto target = static_cast<long long>(day) + (request.moment - day >= kLateFraction ? 1 : 0);
            const auto draw = std::lower_bound(draws.days.begin(), draws.days.end(), target);
            if (!picks.ok() || draw == draws.days.end()) {
                ++unchecked;
                continue;
            }
            const NumberSet& drawn = draws.numbers[static_cast<std::size_t>(draw - draws.days.begin())];
            for (std::size_t bet = 0; bet < kBetSize; ++bet) {
                ++betsWithHits[static_cast<std::size_t>((*picks)[bet].common(drawn))];
            }
            preselectionHits += (*picks)[kPickCount - 1].common(drawn);
        }
        benchmark::DoNotOptimize(betsWithHits);
        benchmark::DoNotOptimize(preselectionHits);
        state.counters["unchecked"] = static_cast<double>(unchecked);
    }
    state.counters["records"] = static_cast<double>(requests.size());
}
BENCHMARK(BM_CheckOneHundredThousand)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
