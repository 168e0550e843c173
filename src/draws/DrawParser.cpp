#include "draws/DrawParser.h"

#include "base/Utf8.h"
#include "support/HtmlDocument.h"

#include <vector>

namespace quenmar::draws {

namespace {

using support::HtmlDocument;
using support::HtmlNode;

constexpr std::string_view kDailyBoxClass = "more-time-cont";
constexpr std::string_view kTitleClass = "kaij-tit";
constexpr std::string_view kNumbersClass = "kaij-jg";
constexpr std::string_view kDailyName = "快乐8";

constexpr std::size_t kIssueCell = 2;
constexpr std::size_t kDateCell = 3;
constexpr std::size_t kNumbersCell = 4;

Failure<DrawError> bodyError() {
    return Failure{DrawError{DrawFailure::PageRefused, std::string(kBodyErrorText)}};
}

std::string ownTextOf(const HtmlNode& node) {
    return std::string(utf8::trimSpaces(node.ownText()));
}

std::string digitsOnly(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    return digits;
}

// The page's cell `index`, or cell 0 when the row is shorter, or a null node for no row.
HtmlNode cellAt(const std::vector<HtmlNode>& cells, std::size_t index) {
    if (cells.empty()) {
        return {};
    }
    return index < cells.size() ? cells[index] : cells.front();
}

// The draw in the first link of a daily-draw box.
DrawResult readDailyBox(const HtmlNode& box) {
    DrawResult result;
    const std::vector<HtmlNode> links = box.find("a");
    if (links.empty()) {
        return result;
    }
    for (const HtmlNode& child : links.front().children()) {
        const std::string cls = child.attribute("class");
        if (cls == kTitleClass) {
            result.name = kDailyName;
            result.issue = ownTextOf(child);
            const std::vector<HtmlNode> parts = child.children();
            result.date = parts.size() > 1 ? ownTextOf(parts[1]) : std::string();
        } else if (cls == kNumbersClass) {
            // The numbers sit in one element each; whatever the page puts between them (blanks,
            // separators) is not part of the numbers text the display cuts up.
            result.mainNumbers = digitsOnly(child.text());
        }
    }
    return result;
}

} // namespace

Result<PageDraws, DrawError> parseDailyDrawListing(std::string_view html) {
    const auto document = HtmlDocument::parse(html);
    if (!document) {
        return bodyError();
    }
    PageDraws page;
    const std::vector<HtmlNode> divs = document->find("div");
    if (divs.empty()) {
        return page;
    }
    const HtmlNode* firstBox = nullptr;
    for (const HtmlNode& div : divs) {
        if (div.attribute("class") != kDailyBoxClass) {
            continue;
        }
        if (firstBox == nullptr) {
            firstBox = &div;
        }
        DrawResult draw = readDailyBox(div);
        if (!draw.mainNumbers.empty()) {
            page.listed.push_back(std::move(draw));
        }
    }
    // The panel's draw: the first box, or the last div of a page without one.
    page.latest = readDailyBox(firstBox != nullptr ? *firstBox : divs.back());
    return page;
}

FetchedDraw parseDailyDrawPage(std::string_view html) {
    auto page = parseDailyDrawListing(html);
    if (!page) {
        return Failure{page.error()};
    }
    return std::move(page->latest);
}

std::string resultsRowSelector(int group, int row) {
    return ".kjtable > tbody:nth-child(" + std::to_string(group) + ") > tr:nth-child(" + std::to_string(row) +
           ") > td";
}

FetchedDraw parseResultsRowPage(std::string_view html, int group, int row, std::string_view mainClass,
                                std::string_view name) {
    const auto document = HtmlDocument::parse(html);
    if (!document) {
        return bodyError();
    }
    DrawResult result;
    result.name = name;
    const std::vector<HtmlNode> cells = document->find(resultsRowSelector(group, row));
    result.issue = ownTextOf(cellAt(cells, kIssueCell));
    result.date = ownTextOf(cellAt(cells, kDateCell));
    for (const HtmlNode& span : cellAt(cells, kNumbersCell).find("span")) {
        (span.attribute("class") == mainClass ? result.mainNumbers : result.extraNumbers) += ownTextOf(span);
    }
    return result;
}

} // namespace quenmar::draws
