// The engine's share of one calculation: calendar, cast, derivation, grid and report.
#include "BenchRequests.h"
#include "engine/ChartRun.h"
#include "engine/Moment.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace quenmar;

void BM_EngineRun(benchmark::State& state) {
    const auto requests = benchRequests();
    std::size_t i = 0;
    for (auto _ : state) {
        ChartRun run = runChart(requests[i++ % requests.size()]);
        benchmark::DoNotOptimize(run);
    }
}
BENCHMARK(BM_EngineRun);

} // namespace
