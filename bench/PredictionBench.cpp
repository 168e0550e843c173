// One whole calculation, from a request to the prediction text, and the prediction's parts:
// the number basis, the eleven picks and their formatting into the text.
#include "BenchRequests.h"
#include "engine/ChartRun.h"
#include "engine/Moment.h"
#include "prediction/BaseNumbers.h"
#include "prediction/Prediction.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

using namespace quenmar;

// The requests run once, each chart with its basis, for the benchmarks of the parts.
std::vector<ChartResult> finishedCharts() {
    std::vector<ChartResult> charts;
    for (const CastRequest& request : benchRequests()) {
        ChartResult chart;
        if (runCalculation(request, chart).charted) {
            chart.numberBasis = buildNumberBasis(chart);
            charts.push_back(chart);
        }
    }
    return charts;
}

void BM_FullCalculation(benchmark::State& state) {
    const auto requests = benchRequests();
    ChartResult chart;
    std::size_t i = 0;
    for (auto _ : state) {
        ChartRun run = runCalculation(requests[i++ % requests.size()], chart);
        chart.numberBasis = buildNumberBasis(chart);
        std::string text = predictionText(chart);
        benchmark::DoNotOptimize(run);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_FullCalculation);

void BM_NumberBasis(benchmark::State& state) {
    const auto charts = finishedCharts();
    std::size_t i = 0;
    for (auto _ : state) {
        NumberBasis basis = buildNumberBasis(charts[i++ % charts.size()]);
        benchmark::DoNotOptimize(basis);
    }
}
BENCHMARK(BM_NumberBasis);

void BM_ElevenPicks(benchmark::State& state) {
    const auto charts = finishedCharts();
    std::size_t i = 0;
    for (auto _ : state) {
        auto picks = generatePicks(charts[i++ % charts.size()].numberBasis);
        benchmark::DoNotOptimize(picks);
    }
}
BENCHMARK(BM_ElevenPicks);

void BM_PredictionFormatting(benchmark::State& state) {
    std::vector<std::array<PickNumbers, kPickCount>> picks;
    for (const ChartResult& chart : finishedCharts()) {
        picks.push_back(generatePicks(chart.numberBasis));
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
    const auto charts = finishedCharts();
    std::size_t i = 0;
    for (auto _ : state) {
        const NumberBasis basis = buildNumberBasis(charts[i++ % charts.size()]);
        std::string text = predictionTextOf(generatePicks(basis));
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_PredictionShare);

} // namespace
