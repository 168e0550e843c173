#pragma once

#include "engine/CastRequest.h"
#include "engine/Casting.h"
#include "engine/ChartResult.h"
#include "engine/ChartRun.h"

#include <string>

namespace quenmar::cli {

class JsonWriter;

/// Everything one cast prints: the completed request, the chart and the panel's view.
struct CastOutput {
    CastRequest request;
    ChartResult chart;
    ChartRun run;
};

/// Completes the request as the input panel does (lottery code, clock reading) and runs it.
CastOutput computeCast(CastRequest request, int gameCode, const ClockReading& now);

/// The readable form: title, labels, the grid with drawn lines and marks, the report.
std::string castText(const CastOutput& output);

/// One JSON object: title, labels, grid, report and the chart's fields.
std::string castJson(const CastOutput& output);

/// Every ChartResult field but the number basis, under its own name.
void writeChartFields(JsonWriter& json, const ChartResult& chart);

} // namespace quenmar::cli
