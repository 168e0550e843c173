#pragma once

#include "engine/CastRequest.h"
#include "engine/Casting.h"
#include "engine/ChartResult.h"
#include "engine/ChartRun.h"
#include "prediction/Prediction.h"

#include <string>

namespace quenmar::cli {

class JsonWriter;

/// Everything one cast prints: the completed request, the chart and the panel's view, and the
/// prediction of the chart.
struct CastOutput {
    CastRequest request;
    ChartResult chart;
    ChartRun run;
    Prediction prediction;
};

/// Completes the request as the input panel does (lottery code, clock reading), runs it and,
/// once charted, stores the number basis in the chart and runs the prediction.
CastOutput computeCast(CastRequest request, int gameCode, const ClockReading& now);

/// The readable form: title, labels, the grid with drawn lines and marks, the report and the
/// prediction text.
std::string castText(const CastOutput& output);

/// One JSON object: title, labels, grid, report, the chart's fields, the number basis, the raw
/// and formatted picks and the prediction text.
std::string castJson(const CastOutput& output);

/// Every ChartResult field but the number basis, under its own name.
void writeChartFields(JsonWriter& json, const ChartResult& chart);

/// Every NumberBasis field under its own name; the cross relations as six arrays of four.
void writeNumberBasis(JsonWriter& json, const NumberBasis& basis);

} // namespace quenmar::cli
