#pragma once

#include "draws/DrawError.h"
#include "draws/PageDraws.h"

#include <string>
#include <string_view>

// The two page layouts the draws come in, read from UTF-8 page text. Nothing here touches
// the network, so the parsers can be fed any bytes at all (the fuzz target does).
namespace quenmar::draws {

/// The detail of the DrawError of a page the HTML parser refused.
inline constexpr std::string_view kBodyErrorText = "body error";

/// The 快乐8 daily-draw page: the first link inside the first div classed exactly
/// "more-time-cont" (the last div when there is none) holds a "kaij-tit" child, whose own
/// text is the issue and whose second child's own text is the date, and a "kaij-jg" child
/// whose text holds the twenty numbers. Missing parts leave their fields empty; a page the
/// HTML parser refuses gives DrawFailure::PageRefused.
FetchedDraw parseDailyDrawPage(std::string_view html);

/// Every draw of the daily-draw page: one for each div classed exactly "more-time-cont", in
/// page order, each read from its first link as parseDailyDrawPage reads the first; boxes
/// without numbers are left out. `latest` is what parseDailyDrawPage gives.
Result<PageDraws, DrawError> parseDailyDrawListing(std::string_view html);

/// ".kjtable > tbody:nth-child(group) > tr:nth-child(row) > td" on the results table page:
/// cell 2 the issue, cell 3 the date, the spans of cell 4 the numbers, those classed exactly
/// `mainClass` to the main zone and all others to the extra zone. A cell index past the row's
/// end reads cell 0.
FetchedDraw parseResultsRowPage(std::string_view html, int group, int row, std::string_view mainClass,
                                std::string_view name);

/// The selector of one results table row's cells.
std::string resultsRowSelector(int group, int row);

} // namespace quenmar::draws
