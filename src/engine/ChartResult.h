#pragma once

#include "engine/CastRequest.h"

#include <string>
#include <vector>

namespace quenmar {

/// One finished chart: the request's inputs, the calendar values and both derived hexagrams
/// line by line. Read by the report, the number basis and saving.
struct ChartResult {
    CastMethod method = CastMethod::None;
    std::string numberText;
    std::string upperLines;
    std::string lowerLines;
    TimeChoice timeChoice = TimeChoice::None;
    double moment = 0.0;
    int zodiac = 0;
    std::string zodiacBranch;
    int zodiacDigit = 0;
    std::string zodiacElement;
    std::string dayPillar;
    std::string dayStem;
    std::string dayBranch;
    int dayStemDigit = 0;
    int dayBranchDigit = 0;
    std::string hourPillar;
    std::string hourStem;
    std::string hourBranch;
    int hourStemDigit = 0;
    int hourBranchDigit = 0;
    std::string primaryName;
    std::string primaryPalaceName;
    int primaryGeneration = 0;
    std::string changedName;
    std::string changedPalaceName;
    int changedGeneration = 0;
    std::vector<std::string> primarySpirits;
    std::vector<std::string> primaryRelations;
    std::vector<std::string> primaryStems;
    std::vector<std::string> primaryBranches;
    std::vector<int> primaryStemDigits;
    std::vector<int> primaryBranchDigits;
    std::vector<std::string> primaryElements;
    int shiIndex = 0;
    int yingIndex = 0;
    std::vector<int> movingMarks;
    std::vector<std::string> changedRelations;
    std::vector<std::string> changedStems;
    std::vector<std::string> changedBranches;
    std::vector<int> changedStemDigits;
    std::vector<int> changedBranchDigits;
    std::vector<std::string> changedElements;
    int changedShiIndex = 0;
    int changedYingIndex = 0;

    bool operator==(const ChartResult&) const = default;
};

} // namespace quenmar
