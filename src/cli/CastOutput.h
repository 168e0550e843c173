#pragma once

#include "engine/Casting.h"
#include "expert/Annotations.h"
#include "prediction/Calculation.h"

#include <string>

// What `cast` and `history review` print of one calculation.
namespace quenmar::cli {

/// Completes the request as the input panel does (lottery code, clock reading) and runs the
/// calculation.
Calculation computeCast(CastRequest request, int gameCode, const ClockReading& now);

/// The readable form: title, labels, the grid with drawn lines and marks, the report, the
/// expert chart's section ("详细排盘:", one block closed by a blank line) and the prediction text.
std::string castText(const Calculation& calculation, const Annotations& annotations);

/// One JSON object: title, labels, grid, report, the chart's fields, the number basis, the raw
/// and formatted picks, the prediction text and the annotations.
std::string castJson(const Calculation& calculation, const Annotations& annotations);

} // namespace quenmar::cli
