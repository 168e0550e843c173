#pragma once

#include "draws/DrawError.h"
#include "draws/Lottery.h"
#include "draws/PageDraws.h"
#include "support/HttpClient.h"

#include <string>

// Fetching the results pages and reading the latest draw from them.
namespace quenmar::draws {

/// The character set a results page is sent in.
enum class PageCharset { Gb2312, Gb18030 };

/// Where the draws come from and how long a page may take. The defaults are the build's
/// fixed endpoints; tests and `quenmar-cli draws --url` put their own pages in.
struct DrawSources {
    std::string dailyDrawUrl;    // the 快乐8 daily-draw page, GB2312
    std::string resultsTableUrl; // the results table front page, GB18030
    support::HttpOptions http;
};

/// The build's sources with the page time limits: a refresh that waits on a stalled site
/// keeps the draw from showing, so a page gets a few seconds, not the default of a download.
DrawSources defaultDrawSources();

/// The ping target of the online check, fixed by the build.
std::string onlineCheckHost();

/// One GET of an http:// or https:// `url`: the page as UTF-8 (see `pageText`), only with
/// status 200. No page: DrawFailure::NoPage with the reason.
Result<std::string, DrawError> fetchPage(const std::string& url, PageCharset charset,
                                         const support::HttpOptions& options);

/// A page's bytes as UTF-8 text. A page that is valid UTF-8 is taken as it is. One that
/// declares UTF-8 (in `contentType`, the response's header, or a <meta> charset near its
/// start) is read as UTF-8 with U+FFFD for damaged bytes, unless it reads cleanly as GB18030
/// or CP936 (a GB page with a wrong label). Any other page is a GB page (decodeGbPage).
std::string pageText(std::string_view bytes, std::string_view contentType);

using support::isWebAddress;

/// Fetches the daily-draw page and reads the 快乐8 draw from it.
FetchedDraw parseDailyDraw(const DrawSources& sources);

/// Fetches the results table page and reads one lottery's row from it.
FetchedDraw parseResultsRow(const DrawSources& sources, int group, int row, std::string_view mainClass,
                            std::string_view name);

/// The latest draw of `lottery` from its source; DrawFailure::NotADraw when what the page
/// holds breaks the lottery's rules (see `implausibility`).
FetchedDraw fetchLatestDraw(const Lottery& lottery, const DrawSources& sources);

/// One download of `lottery`'s source page: its latest draw, as fetchLatestDraw gives it, and
/// every draw the page lists (the results table lists only the latest).
FetchedDraws fetchDraws(const Lottery& lottery, const DrawSources& sources);

} // namespace quenmar::draws
