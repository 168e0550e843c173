// The engine's share of one calculation: calendar, cast, derivation, grid and report.
#include "engine/ChartRun.h"
#include "engine/Moment.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace quenmar;

// 64 requests of all three methods, spread over hours and days so that every palace, both
// soul kinds and both moving-line variants are exercised.
std::vector<CastRequest> sampleRequests() {
    std::vector<CastRequest> requests;
    const char* hands[] = {"100", "011", "110", "001", "111", "000", "101", "010"};
    for (int i = 0; i < 64; ++i) {
        CastRequest r;
        r.zodiac = i % 12 + 1;
        r.moment = momentFromDateTime(DateTime{2024, 1 + i % 12, 1 + i % 28, i % 24, (i * 7) % 60, i % 60, i});
        switch (i % 3) {
        case 0:
            r.method = 1;
            r.numberText = std::to_string(1 + i * 7919 % 100000);
            break;
        case 1:
            r.method = 2;
            r.upperLines = hands[i % 8];
            r.lowerLines = hands[(i / 8) % 8];
            r.movingFlags = {i % 2, 0, -(i % 3 == 0), 0, 1, 0};
            break;
        default:
            r.method = 3;
            r.timeChoice = 1;
            r.numberText = std::to_string(1700000000000LL + i * 104729LL);
            break;
        }
        requests.push_back(r);
    }
    return requests;
}

void BM_EngineRun(benchmark::State& state) {
    const auto requests = sampleRequests();
    ChartResult chart;
    std::size_t i = 0;
    for (auto _ : state) {
        ChartRun run = runCalculation(requests[i++ % requests.size()], chart);
        benchmark::DoNotOptimize(run);
    }
}
BENCHMARK(BM_EngineRun);

} // namespace
