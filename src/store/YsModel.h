#pragma once

#include "engine/CastRequest.h"
#include "engine/ChartResult.h"

#include <string>
#include <string_view>
#include <vector>

// One saved calculation, a row of the table "wnx_table". A row keeps only the inputs of a
// calculation plus a title and the user's notes; the chart and the numbers are computed
// again when the record is reopened. Field names are the column names of the file.
namespace quenmar::store {

struct YsModel {
    int _id = 0;           // row id; 0 (or less) for a record never stored
    std::string ysname;    // title as listed: the user's title and "(date-time)"
    int ysindex = 0;       // CastMethod
    std::string ysnumber;  // number text
    double ysday = 0.0;    // moment: days since 1899-12-30 00:00 local time
    int gzsxid = 0;        // querent's zodiac animal, 1..12 from 子鼠
    std::string upstr;     // upper lines, bottom first, "1" yang "0" yin
    std::string downstr;   // lower lines
    std::vector<int> dong; // moving flags, line 1 first; stored as "0,0,1,0,-1,0"
    int rot = 0;           // TimeChoice
    std::string uinfo;     // the user's notes

    bool operator==(const YsModel&) const = default;
};

/// Appends the integers of a comma text to `flags` (which is not cleared). Each part is
/// trimmed of blanks and skipped when then empty; a part reads as a decimal integer with
/// an optional sign up to its first non-digit, and as 0 without leading digits.
void parseMovingFlags(std::string_view text, std::vector<int>& flags);

/// The flags in decimal joined by "," without blanks; empty for no flags.
std::string formatMovingFlags(const std::vector<int>& flags);

/// userTitle + "(" + the moment's date-time text + ")"; the text is empty, giving "()", for
/// a moment outside the range of dates.
std::string recordTitle(std::string_view userTitle, double moment);

/// The save step: a fresh record of a finished chart with the user's title and notes.
/// Its id stays 0, so saving it always adds a new row.
YsModel modelFromChart(const ChartResult& chart, std::string_view userTitle, std::string_view notes);

/// The review step: the request a saved record restores in the input panel. The record's
/// id marks it as reopened (a millisecond cast then keeps its stored moment and number);
/// the moving flags are the first six, missing ones 0.
CastRequest requestFromModel(const YsModel& model);

} // namespace quenmar::store
