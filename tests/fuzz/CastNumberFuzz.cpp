// Fuzz target for the number text of the casting rules: whatever the number box, the
// command line or a record edited by hand holds is cast by the rules of its length, and a
// text the rule lets through is charted, title and report included. The first byte chooses
// the hour and whether the number is cast by the number method or, as a reopened record, by
// the millisecond method. (The prediction that follows a chart reads the chart only; its own
// tests cover it, and running it here would make the target a hundred times slower.)
#include "FuzzCheck.h"
#include "engine/CastRule.h"
#include "engine/Casting.h"
#include "engine/ChartRun.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenmar;
    using test::fuzzCheck;
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const int hour = 1 + data[0] % 12;
    if (const auto cast = castByNumber(text, hour)) {
        fuzzCheck(cast->upper >= 1 && cast->upper <= 8 && cast->lower >= 1 && cast->lower <= 8,
                  "a trigram is one of eight");
        fuzzCheck(cast->movingLine >= 1 && cast->movingLine <= 6, "the moving line is one of six");
    } else {
        fuzzCheck(text.empty(), "every number text but the empty one casts");
    }

    CastRequest request;
    request.method = data[0] & 0x80 ? CastMethod::ByMilliseconds : CastMethod::ByNumber;
    request.recordId = request.method == CastMethod::ByMilliseconds ? 1 : 0;
    request.timeChoice = TimeChoice::Draw;
    request.numberText = std::string(text);
    request.zodiac = 1 + data[0] % 12;
    request.moment = 45415.5 + data[0] / 24.0;
    if (checkCast(request, CastStage::Completed).castable()) {
        const ChartRun run = runChart(request);
        fuzzCheck(run.charted, "a request the rule lets through is charted");
        fuzzCheck(!run.report.empty(), "a chart has its report");
    }
    return 0;
}
