#include "prediction/Calculation.h"

#include "prediction/BaseNumbers.h"

namespace quenmar {

Calculation runCalculation(const CastRequest& request) {
    Calculation calculation{runChart(request), {}, {}};
    if (calculation.run.charted) {
        calculation.basis = buildNumberBasis(calculation.run.chart);
        calculation.prediction = predict(calculation.basis);
    }
    return calculation;
}

Result<std::array<NumberSet, kPickCount>, std::string> computePicks(const CastRequest& request) {
    const Result<ChartResult, std::string> chart = castChart(request);
    if (!chart) {
        return Failure{chart.error()};
    }
    return pickSets(generatePicks(buildNumberBasis(*chart)));
}

} // namespace quenmar
