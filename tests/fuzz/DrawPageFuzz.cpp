// Fuzz target for everything a results page passes through after the download: the choice
// of its text encoding, the GB decoder, the HTML parser behind its limits, both page parsers,
// the check that a draw looks like one, and the panel layout fed with what they extracted.
// No network is touched.
#include "FuzzCheck.h"
#include "base/Utf8.h"
#include "draws/DrawFetch.h"
#include "draws/DrawParser.h"
#include "draws/DrawsPanelLayout.h"
#include "draws/Lottery.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenmar::draws;
    using quenmar::test::fuzzCheck;
    if (size == 0) {
        return 0;
    }
    // The first byte picks the lottery whose row is read, so every row selector gets its turn,
    // and whether the response's header calls the page UTF-8.
    const Lottery& lottery = kLotteries[data[0] % kLotteries.size()];
    const std::string_view contentType = (data[0] / kLotteries.size()) % 2 ? "text/html; charset=utf-8" : "";
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    // The raw bytes straight to the parser (as if a UTF-8 page), and the page as fetched.
    // A refused page lays out as the empty draw, the way the panel would show no numbers.
    const FetchedDraw dailyRead = parseDailyDrawPage(bytes);
    const DrawResult daily = dailyRead ? *dailyRead : DrawResult{};
    const std::string page = pageText(bytes, contentType);
    fuzzCheck(quenmar::utf8::isValid(page), "a page's text is valid UTF-8");
    const FetchedDraw rowRead =
        lottery.source == DrawSource::DailyDrawPage
            ? parseDailyDrawPage(page)
            : parseResultsRowPage(page, lottery.group, lottery.row, lottery.mainClass, lottery.name);
    const DrawResult row = rowRead ? *rowRead : DrawResult{};

    const CharCell cell{12, 14};
    (void)layoutLatestDraw(0, daily.mainNumbers, daily.date, daily.issue, cell);
    if (!implausibility(lottery, row)) {
        // What passes the check is what the panel shows: digits only, and short labels.
        const std::string numbers = displayNumbers(lottery, row);
        fuzzCheck(numbers.find_first_not_of("0123456789") == std::string::npos,
                  "a draw's numbers are digits");
        fuzzCheck(quenmar::utf8::length(row.issue) <= kMaxDrawTextLength, "a draw's issue is short");
        (void)layoutLatestDraw(lottery.code - kFirstLotteryCode, numbers, row.date, row.issue, cell);
    }
    return 0;
}
