// Fuzz target for the --moment text of quenmar-cli cast and history review. A text that is
// read must name one local date-time: writing that moment again and reading it back gives
// the same moment, and it has a date-time text.
#include "FuzzCheck.h"
#include "cli/CastCommand.h"
#include "engine/Moment.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenmar;
    using test::fuzzCheck;
    const auto moment = cli::parseMomentText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!moment) {
        return 0;
    }
    const auto fields = dateTimeFromMoment(*moment);
    fuzzCheck(fields.has_value(), "a moment that was read has its date-time");
    fuzzCheck(!dateTimeText(*moment).empty(), "a moment that was read has its text");
    char again[40];
    std::snprintf(again, sizeof again, "%04d-%02d-%02d %02d:%02d:%02d.%03d", fields->year, fields->month,
                  fields->day, fields->hour, fields->minute, fields->second, fields->millisecond);
    fuzzCheck(cli::parseMomentText(again) == moment, "a moment reads back from its own text");
    return 0;
}
