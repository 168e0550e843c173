#pragma once

#include "engine/ChartResult.h"
#include "prediction/NumberBasis.h"
#include "prediction/NumberSet.h"
#include "prediction/PickGenerator.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The prediction run: the eleven picks of a chart cut to their final size, and the text the
// results box shows.
namespace quenmar {

inline constexpr int kBetSize = 10;          // picks 1..10
inline constexpr int kPreselectionSize = 20; // pick 11

/// The numbers of a raw pick text in order: items split at ",", trimmed of blanks, empty items
/// skipped; an item that is not a number reads as 0.
std::vector<int> pickValues(std::string_view rawPick);

/// The values taken sweep by sweep over the eight decade groups (1..9, 10..19, ..., 70 and
/// above), the earliest value of each group first, until `need` are taken or every group is
/// exhausted. Values of 0 or less belong to no group.
std::vector<int> spreadByDecade(std::span<const int> values, int need);

/// The pick as shown: exactly `need` values are sorted, any other count is spread by decade
/// first; the values above 0, two digits at least, joined by ",". Empty when none is left.
std::string formatPick(std::span<const int> values, int need);

/// The numbers each of the eleven raw picks keeps when it is formatted (formatPick).
std::array<NumberSet, kPickCount> pickSets(const std::array<PickNumbers, kPickCount>& picks);

/// The eleven raw picks of a basis, under its chart factor.
std::array<PickNumbers, kPickCount> generatePicks(const NumberBasis& basis);

/// The prediction text of eleven raw picks.
std::string predictionTextOf(const std::array<PickNumbers, kPickCount>& picks);

/// The eleven formatted picks of a chart, under its number basis.
std::array<std::string, kPickCount> runPrediction(const ChartResult& chart);

/// The prediction text of a chart: fifteen lines joined by CR LF, the picks in their places. A
/// pick left without any number reads "无", so that no bet line is blank.
std::string predictionText(const ChartResult& chart);

/// Everything the prediction of a chart produces, for callers that show its parts.
struct Prediction {
    std::array<PickNumbers, kPickCount> rawPicks; // the generator's numbers; text() is the raw pick
    std::array<std::string, kPickCount> picks;    // formatted; empty for a pick without numbers
    std::string text;                             // as predictionText

    bool operator==(const Prediction&) const = default;
};

/// The whole prediction of a number basis.
Prediction predict(const NumberBasis& basis);

} // namespace quenmar
