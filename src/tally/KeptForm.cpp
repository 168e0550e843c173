#include "tally/KeptForm.h"

#include "tally/DrawIndex.h"
#include "tally/NumberSet.h"

#include <vector>

namespace quenmar::tally {

namespace {

// How many digits one number of a zone takes on the page: 2 ("0307..."), 1 (a digit lottery,
// "528"), or 0 for a zone of a single number of one or two digits.
// Interim: the lottery's own zones replace this table once the draws layer has them.
int pageWidth(const draws::Lottery& lottery, bool extraZone) {
    switch (lottery.code) {
    case 103:
    case 105:
        return 1;
    case 106:
        return extraZone ? 0 : 1;
    default:
        return 2;
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The numbers of a page's zone text; nothing when the text does not divide into them.
std::optional<std::vector<int>> pageNumbers(std::string_view text, int width) {
    std::vector<int> numbers;
    for (const char c : text) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
    }
    if (width == 0) {
        if (!text.empty()) {
            numbers.push_back(numbersIn(text).front());
        }
        return numbers;
    }
    if (text.size() % static_cast<std::size_t>(width) != 0) {
        return std::nullopt;
    }
    for (std::size_t pos = 0; pos < text.size(); pos += static_cast<std::size_t>(width)) {
        numbers.push_back(numbersIn(text.substr(pos, static_cast<std::size_t>(width))).front());
    }
    return numbers;
}

std::string pageText(const std::vector<int>& numbers, int width) {
    if (width == 2) {
        return twoDigitText(numbers, "");
    }
    std::string text;
    for (const int number : numbers) {
        text += std::to_string(number);
    }
    return text;
}

} // namespace

std::string issueDigits(std::string_view pageIssue) {
    std::string digits;
    for (const char c : pageIssue) {
        if (isDigit(c)) {
            digits += c;
        }
    }
    return digits;
}

std::optional<std::string> keptDate(std::string_view pageDate) {
    // Four digits, a separator, one or two digits, a separator, one or two digits.
    const auto digitsAt = [pageDate](std::size_t pos, std::size_t most) {
        std::size_t n = 0;
        while (pos + n < pageDate.size() && n < most && isDigit(pageDate[pos + n])) {
            ++n;
        }
        return n;
    };
    const auto separatorAt = [pageDate](std::size_t pos) -> std::size_t {
        for (const std::string_view separator : {"-", "/", ".", "年", "月"}) {
            if (pageDate.substr(pos, separator.size()) == separator) {
                return separator.size();
            }
        }
        return 0;
    };
    for (std::size_t start = 0; start + 4 <= pageDate.size(); ++start) {
        if (digitsAt(start, 4) != 4 || (start > 0 && isDigit(pageDate[start - 1]))) {
            continue;
        }
        std::size_t pos = start + 4;
        const std::size_t sep1 = separatorAt(pos);
        const std::size_t monthDigits = sep1 ? digitsAt(pos + sep1, 2) : 0;
        pos += sep1 + monthDigits;
        const std::size_t sep2 = monthDigits ? separatorAt(pos) : 0;
        const std::size_t dayDigits = sep2 ? digitsAt(pos + sep2, 2) : 0;
        if (dayDigits == 0 ||
            (pos + sep2 + dayDigits < pageDate.size() && isDigit(pageDate[pos + sep2 + dayDigits]))) {
            continue;
        }
        const auto number = [pageDate](std::size_t at, std::size_t len) {
            return numbersIn(pageDate.substr(at, len)).front();
        };
        const int month = number(start + 4 + sep1, monthDigits);
        const int day = number(pos + sep2, dayDigits);
        std::string date(pageDate.substr(start, 4));
        date += '-' + twoDigitText({month}, "") + '-' + twoDigitText({day}, "");
        if (dayOfDate(date)) {
            return date;
        }
    }
    return std::nullopt;
}

std::optional<store::KeptDraw> keptFormOf(const draws::Lottery& lottery, const draws::DrawResult& draw,
                                          double obtainedAt, std::string_view source) {
    const auto main = pageNumbers(draw.mainNumbers, pageWidth(lottery, false));
    const auto extra = pageNumbers(draw.extraNumbers, pageWidth(lottery, true));
    const auto date = keptDate(draw.date);
    const std::string issue = issueDigits(draw.issue);
    if (!main || main->empty() || !extra || !date || issue.empty()) {
        return std::nullopt;
    }
    return store::KeptDraw{
        lottery.code,       issue, *date, twoDigitText(*main, " "), twoDigitText(*extra, " "), obtainedAt,
        std::string(source)};
}

draws::DrawResult pageFormOf(const draws::Lottery& lottery, const store::KeptDraw& draw) {
    draws::DrawResult page;
    page.name = lottery.name;
    page.issue = draw.issue;
    page.date = draw.date;
    page.mainNumbers = pageText(numbersIn(draw.mainNumbers), pageWidth(lottery, false));
    page.extraNumbers = pageText(numbersIn(draw.extraNumbers), pageWidth(lottery, true));
    return page;
}

std::optional<std::string> keptDrawProblem(const draws::Lottery& lottery, const store::KeptDraw& draw) {
    // The lottery's rules judge the draw as its page would have written it, so a kept draw
    // passes exactly when a fetched one would.
    return draws::implausibility(lottery, pageFormOf(lottery, draw));
}

} // namespace quenmar::tally
