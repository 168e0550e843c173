#pragma once

#include "base/Result.h"
#include "engine/CastRequest.h"
#include "engine/ChartRun.h"
#include "prediction/NumberBasis.h"
#include "prediction/Prediction.h"

// One calculation from end to end: what the desktop program shows and the command line prints
// for a request, made in one place so that the two cannot drift apart.
namespace quenmar {

/// Everything one calculation yields. When nothing was cast (`run.charted` false, `run.message`
/// says why) the basis and the prediction are empty.
struct Calculation {
    ChartRun run;          // the chart, the chart panel's view and the report
    NumberBasis basis;     // built from run.chart
    Prediction prediction; // the raw and formatted picks of the basis and the prediction text
};

/// The run of one calculation: the chart of a completed request (see prepareRequest), its
/// number basis and its prediction.
Calculation runCalculation(const CastRequest& request);

/// The eleven picks of runCalculation as sets of the numbers its prediction text shows, made
/// without the report, the chart panel's view or any text: what checking saved calculations
/// against draws needs. The chart's refusal message when nothing can be cast.
Result<std::array<NumberSet, kPickCount>, std::string> computePicks(const CastRequest& request);

} // namespace quenmar
