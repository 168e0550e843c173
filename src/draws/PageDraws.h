#pragma once

#include "draws/DrawError.h"
#include "draws/DrawResult.h"

#include <string>
#include <vector>

namespace quenmar::draws {

/// Everything one fetch of a results page gave: the draw the panel shows, and every draw the
/// page lists (the daily-draw page lists a run of past draws, each in its own box), which the
/// program keeps.
struct PageDraws {
    DrawResult latest;              // as parseDailyDrawPage or parseResultsRowPage reads it
    std::vector<DrawResult> listed; // every draw of the page, in page order; the latest among them
    std::string source;             // the page's address

    bool operator==(const PageDraws&) const = default;
};

using FetchedDraws = Result<PageDraws, DrawError>;

} // namespace quenmar::draws
