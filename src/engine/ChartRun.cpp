#include "engine/ChartRun.h"

#include "engine/Calendar.h"
#include "engine/Casting.h"
#include "engine/Derivation.h"
#include "engine/GuaModel.h"
#include "engine/Report.h"
#include "engine/Tables.h"
#include "base/Utf8.h"

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
    std::array<std::string, kGridColumns> titles;
    std::string_view rest = tables::ChartColumns;
    for (auto& title : titles) {
        const std::size_t comma = rest.find(',');
        title = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    }
    return titles;
}

std::optional<std::string> castRefusal(const CastRequest& request) {
    if (request.invalid) {
        return std::string("未选择推算条件");
    }
    switch (request.method) {
    case static_cast<int>(CastMethod::ByNumber):
    case static_cast<int>(CastMethod::ByMilliseconds):
        if (request.numberText.empty()) {
            return std::string("未输入推算数字");
        }
        return std::nullopt;
    case static_cast<int>(CastMethod::ByHand):
        if (utf8::length(request.upperLines) != 3 || utf8::length(request.lowerLines) != 3 ||
            request.movingFlags.size() != 6) {
            return std::string("未装好线下卦");
        }
        return std::nullopt;
    default:
        return std::string("未选择推算条件");
    }
}

ChartRun runCalculation(const CastRequest& request, ChartResult& chart, const ChartFinished& onFinished) {
    ChartRun run;
    // Nothing that cannot be cast may reset the previous chart or show a half-built one.
    if (auto refusal = castRefusal(request)) {
        run.message = std::move(*refusal);
        return run;
    }

    const std::string day = dayPillar(request.moment);
    const std::string dayStem(utf8::charAt(day, 0));
    Pillars pillars{day, hourPillar(request.moment, dayStem)};
    fillChartResult(chart, request, pillars);

    const bool byHand = request.method == static_cast<int>(CastMethod::ByHand);
    const bool byNumber = request.method == static_cast<int>(CastMethod::ByNumber);
    run.view.title = chartTitle(request.method, byNumber ? std::string_view(request.numberText) : std::string_view{},
                                chart.zodiacBranch, pillars.dayPillar, pillars.hourPillar);

    GuaModel primary;
    GuaModel changed;
    if (byHand) {
        const HandCast cast = castByHand(request.upperLines, request.lowerLines, request.movingFlags);
        primary.upperTrigram = cast.upper;
        primary.lowerTrigram = cast.lower;
        primary.movingFlags = cast.movingFlags;
        derive(primary, dayStem);
        const ChangedLines lines = changedByFlags(primary.upperLines, primary.lowerLines, primary.movingFlags);
        changed.upperTrigram = trigramNumber(lines.upperLines);
        changed.lowerTrigram = trigramNumber(lines.lowerLines);
    } else {
        const auto cast = castByNumber(request.numberText, hourNumber(request.moment));
        primary.upperTrigram = cast->upper;
        primary.lowerTrigram = cast->lower;
        primary.movingLine = cast->movingLine;
        derive(primary, dayStem);
        const ChangedLines lines = changedByMovingLine(primary.upperLines, primary.lowerLines, primary.movingLine);
        changed.upperTrigram = trigramNumber(lines.upperLines);
        changed.lowerTrigram = trigramNumber(lines.lowerLines);
    }
    deriveChanged(changed);

    run.view.primaryLabel = nameLabel(kPrimaryPrefix, primary);
    run.view.changedLabel = nameLabel(chartTitleText(2), changed);
    completeChartResult(chart, primary, changed, byHand ? &request.movingFlags : nullptr);
    fillGrid(run.view, chart, primary, changed);
    run.report = writeReport(chart);
    run.charted = true;
    if (onFinished) {
        onFinished(chart);
    }
    return run;
}

} // namespace quenmar
