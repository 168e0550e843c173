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
    // The digits alone: the chart's texts would cost more than the picks themselves.
    const Result<ChartDigits, std::string> digits = castDigits(request);
    if (!digits) {
        return Failure{digits.error()};
    }
    return pickSets(generatePicks(buildNumberBasis(*digits)));
}

} // namespace quenmar
