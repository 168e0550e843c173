// One whole calculation, from a request to the prediction text, and the prediction's parts:
// the number basis, the eleven picks and their formatting into the text.
#include "engine/ChartRun.h"
#include "engine/Moment.h"
#include "prediction/BaseNumbers.h"
#include "prediction/Prediction.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

using namespace quenmar;

// 96 requests, a third for each method, spread over zodiacs, hours and days of two years so
// that charts with short and empty picks are among them.
std::vector<CastRequest> predictionRequests() {
    std::vector<CastRequest> requests;
    const char* lines[] = {"100", "011", "110", "001", "111", "000", "101", "010"};
    for (int i = 0; i < 96; ++i) {
        CastRequest r;
        r.zodiac = (i * 5) % 12 + 1;
        r.moment = momentFromDateTime(DateTime{2023 + i % 2, 1 + (i * 7) % 12, 1 + (i * 11) % 28,
                                               (i * 5) % 24, (i * 13) % 60, (i * 17) % 60, (i * 37) % 1000});
        switch (i % 3) {
        case 0:
            r.method = 1;
            r.numberText = std::to_string(1 + (i * 104729) % 1000003);
            break;
        case 1:
            r.method = 2;
            r.upperLines = lines[i % 8];
            r.lowerLines = lines[(i / 3) % 8];
            r.movingFlags = {i % 2, -(i % 5 == 0), 0, (i / 2) % 2, 0, -(i % 7 == 1)};
            break;
        default:
            r.method = 3;
            r.timeChoice = 2;
            r.numberText = std::to_string(1690000000000LL + i * 7654321LL);
            break;
        }
        requests.push_back(r);
    }
    return requests;
}

// The requests run once, each chart with its basis, for the benchmarks of the parts.
std::vector<ChartResult> finishedCharts() {
    std::vector<ChartResult> charts;
    for (const CastRequest& request : predictionRequests()) {
        ChartResult chart;
        if (runCalculation(request, chart).charted) {
            chart.numberBasis = buildNumberBasis(chart);
            charts.push_back(chart);
        }
    }
    return charts;
}

void BM_FullCalculation(benchmark::State& state) {
    const auto requests = predictionRequests();
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
