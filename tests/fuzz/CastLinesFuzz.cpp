// Fuzz target for the line texts and moving flags of a cast by hand, as a record edited by
// hand stores them: upstr, downstr and dong, cut from the input at its first two line
// breaks. They are read back into a request the way a review does, the lines cast and
// changed, and a request the rule lets through is charted.
#include "FuzzCheck.h"
#include "engine/CastRule.h"
#include "engine/Casting.h"
#include "engine/ChartRun.h"
#include "store/YsModel.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// The next part of the input up to a line break (the rest when there is none).
std::string_view nextPart(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    const std::string_view part = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return part;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenmar;
    using test::fuzzCheck;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    store::YsModel model;
    model._id = 1;
    model.ysindex = static_cast<int>(CastMethod::ByHand);
    model.gzsxid = 1 + static_cast<int>(size % 12);
    model.ysday = 45415.5;
    model.upstr = std::string(nextPart(rest));
    model.downstr = std::string(nextPart(rest));
    store::parseMovingFlags(rest, model.dong);
    (void)store::formatMovingFlags(model.dong);

    const HandCast cast = castByHand(model.upstr, model.downstr, model.dong);
    fuzzCheck(cast.upper >= 1 && cast.upper <= 8 && cast.lower >= 1 && cast.lower <= 8,
              "a trigram is one of eight");
    (void)changedByFlags(model.upstr, model.downstr, model.dong);
    for (int line = 0; line <= 7; ++line) {
        (void)changedByMovingLine(model.upstr, model.downstr, line);
    }

    const CastRequest request = store::requestFromModel(model);
    fuzzCheck(request.movingFlags.size() == 6, "a review reads six moving flags");
    if (checkCast(request).castable()) {
        fuzzCheck(runChart(request).charted, "a request the rule lets through is charted");
    }
    return 0;
}
