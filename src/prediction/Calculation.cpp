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

} // namespace quenmar
