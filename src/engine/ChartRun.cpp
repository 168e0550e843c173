#include "engine/ChartRun.h"

#include "base/Utf8.h"
#include "engine/Calendar.h"
#include "engine/CastRule.h"
#include "engine/Casting.h"
#include "engine/Derivation.h"
#include "engine/GuaModel.h"
#include "engine/Report.h"
#include "engine/Tables.h"

#include <algorithm>
#include <utility>

namespace quenmar {

namespace {

constexpr std::string_view kPrimaryPrefix = "本卦:";

std::string_view shiYingMark(const GuaModel& gua, int line) {
    if (line == gua.shiLine) {
        return "世";
    }
    if (line == gua.yingLine) {
        return "应";
    }
    return {};
}

std::string_view movingMark(int mark) {
    if (mark == 1) {
        return "○";
    }
    if (mark != 0) {
        return "×";
    }
    return {};
}

void fillGrid(ChartView& view, const ChartResult& chart, const GuaModel& primary, const GuaModel& changed) {
    for (int i = 0; i < kGridRows; ++i) {
        const auto index = static_cast<std::size_t>(i);
        auto& row = view.cells[static_cast<std::size_t>(kGridRows - 1 - i)];
        row[0] = index < primary.spirits.size() ? primary.spirits[index] : std::string{};
        row[1] = primary.relations[index];
        row[2] = primary.ganzhi[index];
        row[3] = primary.elements[index];
        row[4] = primary.lineBits[index];
        row[5] = shiYingMark(primary, i + 1);
        row[6] = movingMark(chart.movingMarks[index]);
        row[7] = changed.relations[index];
        row[8] = changed.ganzhi[index];
        row[9] = changed.elements[index];
        row[10] = changed.lineBits[index];
        row[11] = shiYingMark(changed, i + 1);
    }
}

} // namespace

std::array<std::string, kGridColumns> chartColumnTitles() {
    constexpr auto columns = splitAtCommas<kGridColumns>(tables::ChartColumns);
    std::array<std::string, kGridColumns> titles;
    std::copy(columns.begin(), columns.end(), titles.begin());
    return titles;
}

namespace {

// The two hexagrams of a run; only the chart outlives it.
struct CastHexagrams {
    GuaModel primary;
    GuaModel changed;
};

// Calendar, cast and derivation of a request checkCast accepts, into a fresh chart.
CastHexagrams castAndDerive(const CastRequest& request, ChartResult& chart, Pillars& pillars) {
    const std::string day = dayPillar(request.moment);
    const std::string dayStem(utf8::charAt(day, 0));
    pillars = Pillars{day, hourPillar(request.moment, dayStem)};
    fillChartResult(chart, request, pillars);

    const bool byHand = request.method == CastMethod::ByHand;
    CastTrigrams cast = castTrigrams(request);
    CastHexagrams gua;
    GuaModel& primary = gua.primary;
    GuaModel& changed = gua.changed;
    primary.upperTrigram = cast.upper;
    primary.lowerTrigram = cast.lower;
    primary.movingLine = cast.movingLine;
    primary.movingFlags = std::move(cast.movingFlags);
    derive(primary, dayStem);
    changed.upperTrigram = cast.changedUpper;
    changed.lowerTrigram = cast.changedLower;
    deriveChanged(changed);
    completeChartResult(chart, primary, changed, byHand ? &request.movingFlags : nullptr);
    return gua;
}

} // namespace

ChartRun runChart(const CastRequest& request) {
    ChartRun run;
    // Nothing that cannot be cast may show a half-built chart.
    const CastVerdict verdict = checkCast(request, CastStage::Completed);
    if (!verdict.castable()) {
        run.message = verdict.message;
        return run;
    }
    ChartResult& chart = run.chart;
    Pillars pillars;
    const CastHexagrams gua = castAndDerive(request, chart, pillars);
    const bool byNumber = request.method == CastMethod::ByNumber;
    run.view.title =
        chartTitle(request.method, byNumber ? std::string_view(request.numberText) : std::string_view{},
                   chart.zodiacBranch, pillars.dayPillar, pillars.hourPillar);
    run.view.primaryLabel = nameLabel(kPrimaryPrefix, gua.primary);
    run.view.changedLabel = nameLabel(chartTitleText(2), gua.changed);
    fillGrid(run.view, chart, gua.primary, gua.changed);
    run.report = writeReport(chart);
    run.charted = true;
    return run;
}

Result<ChartResult, std::string> castChart(const CastRequest& request) {
    const CastVerdict verdict = checkCast(request, CastStage::Completed);
    if (!verdict.castable()) {
        return Failure{std::string(verdict.message)};
    }
    ChartResult chart;
    Pillars pillars;
    castAndDerive(request, chart, pillars);
    return chart;
}

} // namespace quenmar
