// The expert chart's share of one calculation: the annotations of a finished chart, with the
// solar terms of its years already at hand (a year's terms are computed once, on first use),
// and a whole calculation with them.
#include "BenchRequests.h"
#include "engine/ChartRun.h"
#include "expert/Annotations.h"
#include "prediction/Calculation.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace quenmar;

constexpr int kBeijingBias = -480;

std::vector<ChartResult> benchCharts() {
    std::vector<ChartResult> charts;
    for (const CastRequest& request : benchRequests()) {
        const ChartResult chart = runChart(request).chart;
        charts.push_back(chart);
        annotate(chart, kBeijingBias); // fills the term table for the chart's year
    }
    return charts;
}

void BM_Annotations(benchmark::State& state) {
    const auto charts = benchCharts();
    std::size_t i = 0;
    for (auto _ : state) {
        Annotations notes = annotate(charts[i++ % charts.size()], kBeijingBias);
        benchmark::DoNotOptimize(notes);
    }
}
BENCHMARK(BM_Annotations);

// A whole calculation and its annotations, as the command line and the window 详细排盘 make
// them; set beside BM_FullCalculation, it shows what the annotations add.
void BM_FullCalculationWithAnnotations(benchmark::State& state) {
    const auto requests = benchRequests();
    benchCharts();
    std::size_t i = 0;
    for (auto _ : state) {
        Calculation calculation = runCalculation(requests[i++ % requests.size()]);
        Annotations notes = annotate(calculation.run.chart, kBeijingBias);
        benchmark::DoNotOptimize(calculation);
        benchmark::DoNotOptimize(notes);
    }
}
BENCHMARK(BM_FullCalculationWithAnnotations);

} // namespace
