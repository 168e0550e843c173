#include "draws/DrawFetch.h"

#include "base/Utf8.h"
#include "draws/DrawParser.h"
#include "support/HtmlDocument.h"
#include "support/TextCodec.h"

#include <algorithm>
#include <cctype>

namespace quenmar::draws {

namespace {

// A results page is a few hundred kilobytes; anything far larger is not one.
constexpr std::size_t kMaxPageBytes = support::HtmlLimits{}.maxBytes;
constexpr long kPageConnectTimeoutMs = 5'000;
constexpr long kPageTotalTimeoutMs = 10'000;
constexpr long kPageMaxRedirects = 5;
// How far into a page its <meta charset> declaration is looked for: HTML requires it within
// the first 1024 bytes.
constexpr std::size_t kCharsetScanBytes = 1024;

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// True when a charset parameter ("charset=utf-8", "charset = \"UTF8\"") starts `text`.
bool namesUtf8(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\n\r\f=\"'");
    const std::string value =
        lowerAscii(text.substr(start == std::string_view::npos ? text.size() : start, 5));
    return value == "utf-8" || value.substr(0, 4) == "utf8";
}

// True when the Content-Type header, or a <meta> tag near the start of the page, names UTF-8
// as the charset: the HTML5 form <meta charset="utf-8"> or the older http-equiv
// content="text/html; charset=utf-8".
bool declaresUtf8(std::string_view bytes, std::string_view contentType) {
    const std::string type = lowerAscii(contentType);
    if (const std::size_t charset = type.find("charset"); charset != std::string::npos) {
        return namesUtf8(std::string_view(type).substr(charset + 7));
    }
    const std::string head = lowerAscii(bytes.substr(0, kCharsetScanBytes));
    for (std::size_t meta = head.find("<meta"); meta != std::string::npos;
         meta = head.find("<meta", meta + 5)) {
        const std::size_t end = head.find('>', meta);
        const std::string_view tag =
            std::string_view(head).substr(meta, end == std::string::npos ? end : end - meta);
        const std::size_t charset = tag.find("charset");
        if (charset != std::string_view::npos) {
            return namesUtf8(tag.substr(charset + 7));
        }
    }
    return false;
}

Failure<DrawError> noPage(std::string reason) {
    return Failure{DrawError{DrawFailure::NoPage, std::move(reason)}};
}

} // namespace

DrawSources defaultDrawSources() {
    DrawSources sources;
    sources.dailyDrawUrl = QUENMAR_DAILY_DRAW_URL;
    sources.resultsTableUrl = QUENMAR_RESULTS_URL;
    sources.http.connectTimeoutMs = kPageConnectTimeoutMs;
    sources.http.totalTimeoutMs = kPageTotalTimeoutMs;
    sources.http.maxRedirects = kPageMaxRedirects;
    sources.http.maxBodyBytes = kMaxPageBytes;
    return sources;
}

std::string onlineCheckHost() {
    return QUENMAR_ONLINE_CHECK_HOST;
}

Result<std::string, DrawError> fetchPage(const std::string& url, [[maybe_unused]] PageCharset charset,
                                         const support::HttpOptions& options) {
    if (!isWebAddress(url)) {
        return noPage("not an http(s) address: " + url);
    }
    const support::HttpResult response = support::httpGet(url, options);
    if (!response) {
        return noPage(support::errorText(response.error()));
    }
    if (!response->isOk()) {
        return noPage("HTTP status " + std::to_string(response->status));
    }
    return pageText(response->body, response->contentType);
}

std::string pageText(std::string_view bytes, std::string_view contentType) {
    // Results sites move to UTF-8; a GB page is almost never valid UTF-8 by chance, beyond
    // plain ASCII, which reads the same either way.
    if (utf8::isValid(bytes)) {
        return std::string(bytes);
    }
    // Both GB charsets go through the GB18030 decoder: a page labelled GB2312 routinely holds
    // GBK characters that the strict GB2312 table refuses, and GB18030 is a superset of both.
    // A page that claims UTF-8 but reads as GB is a GB page with a wrong label; one that reads
    // as neither is a UTF-8 page with damaged bytes, which cost one character each.
    if (declaresUtf8(bytes, contentType)) {
        for (const std::string_view charset : {"GB18030", "CP936"}) {
            if (auto text = support::convertToUtf8(bytes, charset)) {
                return std::move(*text);
            }
        }
        return utf8::repaired(bytes);
    }
    return support::decodeGbPage(bytes);
}

FetchedDraw parseDailyDraw(const DrawSources& sources) {
    const auto page = fetchPage(sources.dailyDrawUrl, PageCharset::Gb2312, sources.http);
    if (!page) {
        return Failure{page.error()};
    }
    return parseDailyDrawPage(*page);
}

FetchedDraw parseResultsRow(const DrawSources& sources, int group, int row, std::string_view mainClass,
                            std::string_view name) {
    const auto page = fetchPage(sources.resultsTableUrl, PageCharset::Gb18030, sources.http);
    if (!page) {
        return Failure{page.error()};
    }
    return parseResultsRowPage(*page, group, row, mainClass, name);
}

FetchedDraw fetchLatestDraw(const Lottery& lottery, const DrawSources& sources) {
    FetchedDraw fetched =
        lottery.source == DrawSource::DailyDrawPage
            ? parseDailyDraw(sources)
            : parseResultsRow(sources, lottery.group, lottery.row, lottery.mainClass, lottery.name);
    // A site that is hacked, broken or replaced must not put its text on screen or into a
    // cast as if it were the draw.
    if (fetched) {
        if (auto reason = implausibility(lottery, *fetched)) {
            return Failure{DrawError{DrawFailure::NotADraw, std::move(*reason)}};
        }
    }
    return fetched;
}

namespace {

// The draws a downloaded page holds: the panel's latest and every one it lists.
FetchedDraws pageDraws(const Lottery& lottery, const DrawSources& sources) {
    const bool daily = lottery.source == DrawSource::DailyDrawPage;
    const std::string& url = daily ? sources.dailyDrawUrl : sources.resultsTableUrl;
    const auto page = fetchPage(url, daily ? PageCharset::Gb2312 : PageCharset::Gb18030, sources.http);
    if (!page) {
        return Failure{page.error()};
    }
    if (daily) {
        auto listing = parseDailyDrawListing(*page);
        if (listing) {
            listing->source = url;
        }
        return listing;
    }
    const auto row = parseResultsRowPage(*page, lottery.group, lottery.row, lottery.mainClass, lottery.name);
    if (!row) {
        return Failure{row.error()};
    }
    PageDraws draws{*row, {}, url};
    if (!row->mainNumbers.empty()) {
        draws.listed.push_back(*row);
    }
    return draws;
}

} // namespace

FetchedDraws fetchDraws(const Lottery& lottery, const DrawSources& sources) {
    FetchedDraws fetched = pageDraws(lottery, sources);
    if (!fetched) {
        return fetched;
    }
    // The latest draw decides, as for fetchLatestDraw: a page whose panel draw breaks its
    // lottery's rules is a failed fetch. Any other listed box that breaks them is no draw and
    // is not kept.
    if (auto reason = implausibility(lottery, fetched->latest)) {
        return Failure{DrawError{DrawFailure::NotADraw, std::move(*reason)}};
    }
    std::erase_if(fetched->listed,
                  [&lottery](const DrawResult& draw) { return implausibility(lottery, draw).has_value(); });
    return fetched;
}

} // namespace quenmar::draws
