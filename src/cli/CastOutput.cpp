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
void writeChartFields(JsonWriter& json, const ChartResult& c) {
    json.field("method", static_cast<int>(c.method))
        .field("numberText", c.numberText)
        .field("upperLines", c.upperLines)
        .field("lowerLines", c.lowerLines)
        .field("timeChoice", static_cast<int>(c.timeChoice))
        .field("moment", c.moment)
        .field("zodiac", c.zodiac)
        .field("zodiacBranch", c.zodiacBranch)
        .field("zodiacDigit", c.zodiacDigit)
        .field("zodiacElement", c.zodiacElement)
        .field("dayPillar", c.dayPillar)
        .field("dayStem", c.dayStem)
        .field("dayBranch", c.dayBranch)
        .field("dayStemDigit", c.dayStemDigit)
        .field("dayBranchDigit", c.dayBranchDigit)
        .field("hourPillar", c.hourPillar)
        .field("hourStem", c.hourStem)
        .field("hourBranch", c.hourBranch)
        .field("hourStemDigit", c.hourStemDigit)
        .field("hourBranchDigit", c.hourBranchDigit)
        .field("primaryName", c.primaryName)
        .field("primaryPalaceName", c.primaryPalaceName)
        .field("primaryGeneration", c.primaryGeneration)
        .field("changedName", c.changedName)
        .field("changedPalaceName", c.changedPalaceName)
        .field("changedGeneration", c.changedGeneration)
        .field("primarySpirits", c.primarySpirits)
        .field("primaryRelations", c.primaryRelations)
        .field("primaryStems", c.primaryStems)
        .field("primaryBranches", c.primaryBranches)
        .field("primaryStemDigits", c.primaryStemDigits)
        .field("primaryBranchDigits", c.primaryBranchDigits)
        .field("primaryElements", c.primaryElements)
        .field("shiIndex", c.shiIndex)
        .field("yingIndex", c.yingIndex)
        .field("movingMarks", c.movingMarks)
        .field("changedRelations", c.changedRelations)
        .field("changedStems", c.changedStems)
        .field("changedBranches", c.changedBranches)
        .field("changedStemDigits", c.changedStemDigits)
        .field("changedBranchDigits", c.changedBranchDigits)
        .field("changedElements", c.changedElements)
        .field("changedShiIndex", c.changedShiIndex)
        .field("changedYingIndex", c.changedYingIndex);
}

// Every NumberBasis field under its own name; the cross relations as six arrays of four.
void writeNumberBasis(JsonWriter& json, const NumberBasis& b) {
    json.field("querentDigit", b.querentDigit)
        .field("dayStemDigit", b.dayStemDigit)
        .field("dayBranchDigit", b.dayBranchDigit)
        .field("hourStemDigit", b.hourStemDigit)
        .field("hourBranchDigit", b.hourBranchDigit)
        .field("primaryStemDigits", b.primaryStemDigits)
        .field("primaryBranchDigits", b.primaryBranchDigits)
        .field("changedStemDigits", b.changedStemDigits)
        .field("changedBranchDigits", b.changedBranchDigits)
        .field("querentRelations", b.querentRelations);
    json.key("crossRelations").beginArray();
    for (const auto& line : b.crossRelations) {
        json.array(line);
    }
    json.endArray();
    json.field("markedLine", b.markedLine)
        .field("markedDigits", b.markedDigits)
        .field("shiIndex", b.shiIndex)
        .field("yingIndex", b.yingIndex)
        .field("shiDigits", b.shiDigits)
        .field("yingDigits", b.yingDigits)
        .field("changedShiIndex", b.changedShiIndex)
        .field("changedYingIndex", b.changedYingIndex)
        .field("changedShiYingRelations", b.changedShiYingRelations)
        .field("changedShiYingDigits", b.changedShiYingDigits);
}

void writeLineAnnotations(JsonWriter& json, const std::array<LineAnnotation, 6>& lines) {
    json.beginArray();
    for (const LineAnnotation& line : lines) {
        json.beginObject()
            .field("void", line.isVoid)
            .field("monthBreak", line.monthBreak)
            .field("dayClash", line.dayClash)
            .key("hidden");
        if (line.hidden) {
            json.beginObject()
                .field("relation", line.hidden->relation)
                .field("ganzhi", line.hidden->ganzhi)
                .field("element", line.hidden->element)
                .endObject();
        } else {
            json.null();
        }
        json.endObject();
    }
    json.endArray();
}

// The annotations under the command line's keys; outside the years of the solar terms the year
// and month pillars are empty texts and "solarTerm" is null.
void writeAnnotations(JsonWriter& json, const Annotations& a) {
    json.field("yearPillar", a.yearPillar)
        .field("monthPillar", a.monthPillar)
        .field("dayPillar", a.dayPillar)
        .field("hourPillar", a.hourPillar)
        .key("solarTerm");
    if (a.solarTerm) {
        json.beginObject().field("name", a.solarTerm->name).field("moment", a.solarTerm->moment).endObject();
    } else {
        json.null();
    }
    json.field("voidBranches", a.voidBranches)
        .field("primaryKind", a.primaryKind)
        .field("changedKind", a.changedKind);
    json.key("guaShen")
        .beginObject()
        .field("branch", a.guaShen.branch)
        .field("lines", a.guaShen.lines)
        .endObject();
    json.field("nuclear", a.nuclear).field("opposite", a.opposite).field("reversed", a.reversed);
    json.key("lines");
    writeLineAnnotations(json, a.lines);
    json.key("changedLines");
    writeLineAnnotations(json, a.changedLines);
    json.field("changedRelationsByPrimaryPalace", a.changedRelationsByPrimaryPalace);
}

} // namespace

std::string castJson(const Calculation& calculation, const Annotations& annotations) {
    const ChartView& view = calculation.run.view;
    JsonWriter json;
    json.beginObject();
    json.field("title", view.title)
        .field("primaryLabel", view.primaryLabel)
        .field("changedLabel", view.changedLabel);
    json.key("grid").beginArray();
    for (const auto& row : view.cells) {
        json.array(row);
    }
    json.endArray();
    json.field("report", calculation.run.report);
    json.key("chart").beginObject();
    writeChartFields(json, calculation.run.chart);
    json.endObject();
    json.key("numberBasis").beginObject();
    writeNumberBasis(json, calculation.basis);
    json.endObject();
    json.key("rawPicks").beginArray();
    for (const PickNumbers& pick : calculation.prediction.rawPicks) {
        json.value(pick.text());
    }
    json.endArray();
    json.field("picks", calculation.prediction.picks).field("prediction", calculation.prediction.text);
    json.key("annotations").beginObject();
    writeAnnotations(json, annotations);
    json.endObject();
    json.endObject();
    return json.text();
}

} // namespace quenmar::cli
