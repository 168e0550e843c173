// One whole calculation, from a request to the prediction text, and the prediction's parts:
// the number basis, the eleven picks and their formatting into the text; and the picks alone,
// which checking saved calculations computes.
#include "BenchRequests.h"
#include "prediction/BaseNumbers.h"
#include "prediction/Calculation.h"

#include <array>
#include <benchmark/benchmark.h>
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

// The chart and the eleven picks as number sets, without the report and the texts.
void BM_ComputePicks(benchmark::State& state) {
    const auto requests = benchRequests();
    std::size_t i = 0;
    for (auto _ : state) {
        auto picks = computePicks(requests[i++ % requests.size()]);
        benchmark::DoNotOptimize(picks);
    }
}
BENCHMARK(BM_ComputePicks);

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
