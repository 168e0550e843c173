// The expert chart's share of one calculation: the annotations of a finished chart, with the
// solar terms of its years already at hand (a year's terms are computed once, on first use).
#include "BenchRequests.h"
#include "engine/ChartRun.h"
#include "expert/Annotations.h"

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

} // namespace
