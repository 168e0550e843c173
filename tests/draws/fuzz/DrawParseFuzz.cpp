// Fuzz target for everything a results page passes through after the download: the GB
// decoder, the HTML parser behind its limits, both page parsers and the panel layout fed
// with what they extracted. No network is touched.
#include "draws/DrawParser.h"
#include "draws/DrawsPanelLayout.h"
#include "draws/Lottery.h"
#include "support/TextCodec.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenmar::draws;
    if (size == 0) {
        return 0;
    }
    // The first byte picks the lottery whose row is read, so every row selector gets its turn.
    const Lottery& lottery = kLotteries[data[0] % kLotteries.size()];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    // The raw bytes straight to the parser (as if a UTF-8 page), and the decoded page.
    // A refused page lays out as the empty draw, the way the panel would show no numbers.
    const FetchedDraw dailyRead = parseDailyDrawPage(bytes);
    const DrawResult daily = dailyRead ? *dailyRead : DrawResult{};
    const std::string page = quenmar::support::decodeGbPage(bytes);
    const FetchedDraw rowRead =
        lottery.source == DrawSource::DailyDrawPage
            ? parseDailyDrawPage(page)
            : parseResultsRowPage(page, lottery.group, lottery.row, lottery.mainClass, lottery.name);
    const DrawResult row = rowRead ? *rowRead : DrawResult{};

    const CharCell cell{12, 14};
    (void)layoutLatestDraw(0, daily.mainNumbers, daily.date, daily.issue, cell);
    (void)layoutLatestDraw(lottery.code - kFirstLotteryCode, displayNumbers(lottery, row), row.date,
                           row.issue, cell);
    return 0;
}
