#pragma once

#include "engine/CastRequest.h"
#include "engine/ChartResult.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

// The run of one calculation: from a prepared request to the filled ChartResult, the chart
// panel's texts (title, name labels, the 6×12 grid) and the report, in the fixed order of
// calendar, cast, derivation, grid and report. Toolkit-free: a window copies the view into
// its controls.
namespace quenmar {

inline constexpr int kGridRows = 6;
inline constexpr int kGridColumns = 12;
inline constexpr int kPrimaryLinesColumn = 4; // 0-based: the primary 卦象 column
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

/// Outcome of one run. When nothing could be cast, `charted` is false, `message` says why,
/// and neither the chart nor the view was touched.
struct ChartRun {
    bool charted = false;
    std::string message;
    ChartView view;
    std::string report;
};

/// The *chart finished* notification: raised once per completed run, after the report.
using ChartFinished = std::function<void(const ChartResult&)>;

/// Why a request cannot be cast, in the input panel's words; nothing when it can.
std::optional<std::string> castRefusal(const CastRequest& request);

/// Runs one calculation. `chart` is the caller's chart of the last run: it is reset (all but
/// its number basis) and filled. `onFinished` is called with the finished chart.
ChartRun runCalculation(const CastRequest& request, ChartResult& chart, const ChartFinished& onFinished = {});

} // namespace quenmar
