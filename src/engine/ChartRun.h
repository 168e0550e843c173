#pragma once

#include "base/Result.h"
#include "engine/CastRequest.h"
#include "engine/ChartResult.h"

#include <array>
#include <string>

// The engine's share of a calculation: from a completed request to the filled ChartResult, the
// chart panel's texts (title, name labels, the 6×12 grid) and the report, in the fixed order of
// calendar, cast, derivation, grid and report. Toolkit-free: a window copies the view into its
// controls. The whole calculation, prediction included, is runCalculation of the prediction.
namespace quenmar {

inline constexpr int kGridRows = 6;
inline constexpr int kGridColumns = 12;
inline constexpr int kPrimaryLinesColumn = 4;  // 0-based: the primary 卦象 column
inline constexpr int kChangedLinesColumn = 10; // 0-based: the changed 卦象 column
inline constexpr int kMovingColumn = 6;

/// What the chart panel shows. Row 0 of the grid is the top row (line 6); the two 卦象 columns
/// hold the line's bit "1" (drawn as one bar) or "0" (two bars).
struct ChartView {
    std::string title;
    std::string primaryLabel;
    std::string changedLabel;
    std::array<std::array<std::string, kGridColumns>, kGridRows> cells;

    bool operator==(const ChartView&) const = default;
};

/// The texts of the twelve column headers.
std::array<std::string, kGridColumns> chartColumnTitles();

/// Outcome of one run. When nothing could be cast, `charted` is false, `message` says why and
/// the rest is empty.
struct ChartRun {
    bool charted = false;
    std::string message;
    ChartResult chart;
    ChartView view;
    std::string report;
};

/// Casts and derives a completed request (see prepareRequest) into a fresh chart, its view and
/// its report; a request that checkCast refuses at the completed stage is not cast.
ChartRun runChart(const CastRequest& request);

/// The chart of runChart alone, without the view and the report, for callers that need only
/// the chart's values (checking saved calculations); checkCast's message when it refuses.
Result<ChartResult, std::string> castChart(const CastRequest& request);

} // namespace quenmar
