#include "cli/CastOutput.h"

#include "base/Utf8.h"
#include "cli/Json.h"
#include "expert/AnnotationTexts.h"

namespace quenmar::cli {

namespace {

// Display width on a terminal: CJK ideographs and full-width forms take two columns; box
// drawing, marks and everything else one.
std::size_t displayWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t len = utf8::charLength(text, pos);
        unsigned codePoint = static_cast<unsigned char>(text[pos]);
        if (len == 3) {
            codePoint = ((codePoint & 0x0Fu) << 12) |
                        ((static_cast<unsigned char>(text[pos + 1]) & 0x3Fu) << 6) |
                        (static_cast<unsigned char>(text[pos + 2]) & 0x3Fu);
        }
        const bool wide = len == 4 || (len == 3 && ((codePoint >= 0x2E80 && codePoint <= 0xA4CF) ||
                                                    (codePoint >= 0xF900 && codePoint <= 0xFAFF) ||
                                                    (codePoint >= 0xFF00 && codePoint <= 0xFF60)));
        width += wide ? 2 : 1;
        pos += len;
    }
    return width;
}

std::string padded(std::string_view text, std::size_t width) {
    std::string cell(text);
    for (std::size_t w = displayWidth(text); w < width; ++w) {
        cell += ' ';
    }
    return cell;
}

// The two 卦象 columns draw the line: one bar for yang, two bars for yin.
std::string drawnLine(std::string_view bit) {
    return bit == "1" ? "━━━━━━━" : "━━━ ━━━";
}

std::string normalisedNewlines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        out += text[i];
    }
    return out;
}

// The three marks of a line in fixed places, a blank where a mark is absent, so that the marks
// of one kind stand in one column.
std::string lineMarks(const LineAnnotation& line) {
    std::string marks = line.isVoid ? "空" : "  ";
    marks += line.monthBreak ? " 破" : "   ";
    marks += line.dayClash ? " 冲" : "   ";
    return marks;
}

std::string pillarsLine(const Annotations& a) {
    const std::string term = solarTermText(a);
    return "四柱: " + fourPillarsText(a) + (term.empty() ? "" : "  节: " + term) +
           "  旬空: " + a.voidBranches[0] + a.voidBranches[1];
}

std::string hexagramsLine(const Annotations& a) {
    return "卦型: 本卦" + kindText(a.primaryKind) + " 变卦" + kindText(a.changedKind) +
           "  卦身: " + guaShenText(a.guaShen) + "  互卦: " + a.nuclear + "  错卦: " + a.opposite +
           "  综卦: " + a.reversed;
}

// The expert chart after the report: the pillars with the 节 in force and the void branches,
// the kinds, the body line and the derived hexagrams, then one row per line, the top line first
// as in the grid: its hidden spirit, the marks of both hexagrams and the changed line's relation
// counted from the primary's palace. One block without a blank line; the caller closes it.
std::string annotationsText(const Annotations& a) {
    constexpr std::size_t kName = 6;
    constexpr std::size_t kHidden = 12;
    constexpr std::size_t kMarks = 10;
    std::string text = "详细排盘:\n" + pillarsLine(a) + "\n" + hexagramsLine(a) + "\n";
    text += padded("爻", kName) + padded("伏神", kHidden) + padded("本卦", kMarks) + padded("变卦", kMarks) +
            "变卦六亲(按本卦宫)\n";
    for (int line = 6; line >= 1; --line) {
        const auto i = static_cast<std::size_t>(line - 1);
        text += padded(lineName(line), kName) + padded(hiddenText(a.lines[i]), kHidden) +
                padded(lineMarks(a.lines[i]), kMarks) + padded(lineMarks(a.changedLines[i]), kMarks) +
                a.changedRelationsByPrimaryPalace[i] + "\n";
    }
    return text;
}

} // namespace

Calculation computeCast(CastRequest request, int gameCode, const ClockReading& now) {
    prepareRequest(request, gameCode, now);
    return runCalculation(request);
}

std::string castText(const Calculation& calculation, const Annotations& annotations) {
    const ChartView& view = calculation.run.view;
    // The title holds the number text, which a record edited by hand may fill with anything.
    std::string text = utf8::escapeControls(view.title) + "\n";
    text += padded(view.primaryLabel, 40) + view.changedLabel + "\n\n";

    const auto titles = chartColumnTitles();
    constexpr std::size_t kCell = 6;
    constexpr std::size_t kLines = 9;
    const auto widthOf = [&](int column) {
        return column == kPrimaryLinesColumn || column == kChangedLinesColumn ? kLines : kCell;
    };
    for (int c = 0; c < kGridColumns; ++c) {
        text += padded(titles[static_cast<std::size_t>(c)], widthOf(c));
    }
    text += "\n";
    for (const auto& row : view.cells) {
        for (int c = 0; c < kGridColumns; ++c) {
            const std::string& cell = row[static_cast<std::size_t>(c)];
            const bool lines = c == kPrimaryLinesColumn || c == kChangedLinesColumn;
            text += padded(lines ? drawnLine(cell) : cell, widthOf(c));
        }
        // Trailing blanks of the last column are noise on a terminal.
        while (!text.empty() && text.back() == ' ') {
            text.pop_back();
        }
        text += "\n";
    }
    text += "\n";
    text += normalisedNewlines(calculation.run.report);
    text += "\n";
    text += annotationsText(annotations);
    if (!calculation.prediction.text.empty()) {
        text += "\n";
        text += normalisedNewlines(calculation.prediction.text);
        text += "\n";
    }
    return text;
}

namespace {

// Every ChartResult field under its own name; the method and the time choice as the integers
// a saved record holds.
JsonDocument chartFields(const ChartResult& c) {
    return {
        {"method", static_cast<int>(c.method)},
        {"numberText", c.numberText},
        {"upperLines", c.upperLines},
        {"lowerLines", c.lowerLines},
        {"timeChoice", static_cast<int>(c.timeChoice)},
        {"moment", c.moment},
        {"zodiac", c.zodiac},
        {"zodiacBranch", c.zodiacBranch},
        {"zodiacDigit", c.zodiacDigit},
        {"zodiacElement", c.zodiacElement},
        {"dayPillar", c.dayPillar},
        {"dayStem", c.dayStem},
        {"dayBranch", c.dayBranch},
        {"dayStemDigit", c.dayStemDigit},
        {"dayBranchDigit", c.dayBranchDigit},
        {"hourPillar", c.hourPillar},
        {"hourStem", c.hourStem},
        {"hourBranch", c.hourBranch},
        {"hourStemDigit", c.hourStemDigit},
        {"hourBranchDigit", c.hourBranchDigit},
        {"primaryName", c.primaryName},
        {"primaryPalaceName", c.primaryPalaceName},
        {"primaryGeneration", c.primaryGeneration},
        {"changedName", c.changedName},
        {"changedPalaceName", c.changedPalaceName},
        {"changedGeneration", c.changedGeneration},
        {"primarySpirits", c.primarySpirits},
        {"primaryRelations", c.primaryRelations},
        {"primaryStems", c.primaryStems},
        {"primaryBranches", c.primaryBranches},
        {"primaryStemDigits", c.primaryStemDigits},
        {"primaryBranchDigits", c.primaryBranchDigits},
        {"primaryElements", c.primaryElements},
        {"shiIndex", c.shiIndex},
        {"yingIndex", c.yingIndex},
        {"movingMarks", c.movingMarks},
        {"changedRelations", c.changedRelations},
        {"changedStems", c.changedStems},
        {"changedBranches", c.changedBranches},
        {"changedStemDigits", c.changedStemDigits},
        {"changedBranchDigits", c.changedBranchDigits},
        {"changedElements", c.changedElements},
        {"changedShiIndex", c.changedShiIndex},
        {"changedYingIndex", c.changedYingIndex},
    };
}

// Every NumberBasis field under its own name; the cross relations as six arrays of four.
JsonDocument numberBasisFields(const NumberBasis& b) {
    return {
        {"querentDigit", b.querentDigit},
        {"dayStemDigit", b.dayStemDigit},
        {"dayBranchDigit", b.dayBranchDigit},
        {"hourStemDigit", b.hourStemDigit},
        {"hourBranchDigit", b.hourBranchDigit},
        {"primaryStemDigits", b.primaryStemDigits},
        {"primaryBranchDigits", b.primaryBranchDigits},
        {"changedStemDigits", b.changedStemDigits},
        {"changedBranchDigits", b.changedBranchDigits},
        {"querentRelations", b.querentRelations},
        {"crossRelations", b.crossRelations},
        {"markedLine", b.markedLine},
        {"markedDigits", b.markedDigits},
        {"shiIndex", b.shiIndex},
        {"yingIndex", b.yingIndex},
        {"shiDigits", b.shiDigits},
        {"yingDigits", b.yingDigits},
        {"changedShiIndex", b.changedShiIndex},
        {"changedYingIndex", b.changedYingIndex},
        {"changedShiYingRelations", b.changedShiYingRelations},
        {"changedShiYingDigits", b.changedShiYingDigits},
    };
}

JsonDocument lineAnnotations(const std::array<LineAnnotation, 6>& lines) {
    JsonDocument array = JsonDocument::array();
    for (const LineAnnotation& line : lines) {
        JsonDocument hidden; // null when the line hides no spirit
        if (line.hidden) {
            hidden = {{"relation", line.hidden->relation},
                      {"ganzhi", line.hidden->ganzhi},
                      {"element", line.hidden->element}};
        }
        array.push_back({{"void", line.isVoid},
                         {"monthBreak", line.monthBreak},
                         {"dayClash", line.dayClash},
                         {"hidden", hidden}});
    }
    return array;
}

// The annotations under the command line's keys; outside the years of the solar terms the year
// and month pillars are empty texts and "solarTerm" is null.
JsonDocument annotationFields(const Annotations& a) {
    JsonDocument term;
    if (a.solarTerm) {
        term = {{"name", a.solarTerm->name}, {"moment", a.solarTerm->moment}};
    }
    return {
        {"yearPillar", a.yearPillar},
        {"monthPillar", a.monthPillar},
        {"dayPillar", a.dayPillar},
        {"hourPillar", a.hourPillar},
        {"solarTerm", term},
        {"voidBranches", a.voidBranches},
        {"primaryKind", a.primaryKind},
        {"changedKind", a.changedKind},
        {"guaShen", {{"branch", a.guaShen.branch}, {"lines", a.guaShen.lines}}},
        {"nuclear", a.nuclear},
        {"opposite", a.opposite},
        {"reversed", a.reversed},
        {"lines", lineAnnotations(a.lines)},
        {"changedLines", lineAnnotations(a.changedLines)},
        {"changedRelationsByPrimaryPalace", a.changedRelationsByPrimaryPalace},
    };
}

} // namespace

std::string castJson(const Calculation& calculation, const Annotations& annotations) {
    const ChartView& view = calculation.run.view;
    JsonDocument rawPicks = JsonDocument::array();
    for (const PickNumbers& pick : calculation.prediction.rawPicks) {
        rawPicks.push_back(pick.text());
    }
    return jsonText({
        {"title", view.title},
        {"primaryLabel", view.primaryLabel},
        {"changedLabel", view.changedLabel},
        {"grid", view.cells},
        {"report", calculation.run.report},
        {"chart", chartFields(calculation.run.chart)},
        {"numberBasis", numberBasisFields(calculation.basis)},
        {"rawPicks", rawPicks},
        {"picks", calculation.prediction.picks},
        {"prediction", calculation.prediction.text},
        {"annotations", annotationFields(annotations)},
    });
}

} // namespace quenmar::cli
