#include "engine/Derivation.h"

#include "base/Utf8.h"
#include "engine/Tables.h"

#include <array>

namespace quenmar {

namespace {

// 世 line, 应 line and soul kind by which of the three line pairs (line 1 with 4, 2 with 5,
// 3 with 6) agree: index = (pair 1 agrees) × 4 + (pair 2) × 2 + (pair 3).
struct ShiYing {
    int shi, ying, soul;
};
constexpr std::array<ShiYing, 8> ShiYingRows{{
    {3, 6, 0}, // no pair agrees
    {2, 5, 0}, // only the third
    {4, 1, 1}, // only the second: the wandering soul
    {1, 4, 0}, // the second and the third
    {4, 1, 0}, // only the first
    {3, 6, 2}, // the first and the third: the returning soul
    {5, 2, 0}, // the first and the second
    {6, 3, 0}, // all three: a pure hexagram
}};

void setLines(GuaModel& gua) {
    gua.upperLines = trigramLines(gua.upperTrigram);
    gua.upperName = trigramName(gua.upperTrigram);
    gua.lowerLines = trigramLines(gua.lowerTrigram);
    gua.lowerName = trigramName(gua.lowerTrigram);
    gua.lineBits.clear();
    if (gua.upperLines.size() != 3 || gua.lowerLines.size() != 3) {
        return;
    }
    gua.lineBits.reserve(6);
    for (const char c : gua.lowerLines) {
        gua.lineBits.emplace_back(1, c);
    }
    for (const char c : gua.upperLines) {
        gua.lineBits.emplace_back(1, c);
    }
}

// 世, 应, soul, then the palace (from the 世 line) and the generation within it.
void setPlace(GuaModel& gua) {
    const std::string& up = gua.upperLines;
    const std::string& low = gua.lowerLines;
    ShiYing row{0, 0, 0};
    if (!gua.lineBits.empty()) {
        row = ShiYingRows[(up[0] == low[0] ? 4u : 0u) + (up[1] == low[1] ? 2u : 0u) +
                          (up[2] == low[2] ? 1u : 0u)];
    }
    gua.shiLine = row.shi;
    gua.yingLine = row.ying;
    gua.soulKind = row.soul;

    switch (gua.shiLine) {
    case 3:
        gua.palace = gua.soulKind == 2 ? trigramNumber(low) : trigramNumber(up);
        break;
    case 4:
    case 5:
        gua.palace = trigramNumber(flipLines(low));
        break;
    default:
        gua.palace = trigramNumber(up);
        break;
    }

    if (gua.soulKind == 1) {
        gua.generation = 7;
    } else if (gua.soulKind == 2) {
        gua.generation = 8;
    } else if (gua.shiLine >= 1 && gua.shiLine <= 5) {
        gua.generation = gua.shiLine + 1;
    } else {
        gua.generation = 1;
    }
}

// The na-jia stem and branches of one trigram's three lines, with their elements.
void addNajia(GuaModel& gua, int trigram, std::string_view stems, std::string_view starts) {
    const std::string_view stem = tableEntry(stems, trigram - 1);
    const std::string_view first = tableEntry(starts, trigram - 1);
    const std::string_view run = stemNumber(stem) % 2 == 0 ? tables::YinBranchRun : tables::YangBranchRun;
    const int p = trigram >= 1 && trigram <= 8 ? tableIndex(run, first) : -1;
    for (int k = 0; k < 3; ++k) {
        const std::string_view branch = p < 0 ? std::string_view{} : tableEntry(run, (p + k) % 6);
        std::string pair(stem);
        pair += branch;
        gua.ganzhi.push_back(std::move(pair));
        const std::string_view element = branchElement(branch);
        gua.elements.emplace_back(element);
        gua.elementIndexes.push_back(elementNumber(element));
    }
}

// Na-jia and elements, the lower trigram first, then the six relations to the palace element.
void setLineValues(GuaModel& gua) {
    gua.ganzhi.clear();
    gua.elements.clear();
    gua.elementIndexes.clear();
    gua.ganzhi.reserve(6);
    gua.elements.reserve(6);
    gua.elementIndexes.reserve(6);
    addNajia(gua, gua.lowerTrigram, tables::InnerStems, tables::InnerStartBranches);
    addNajia(gua, gua.upperTrigram, tables::OuterStems, tables::OuterStartBranches);

    const int palaceElement = elementNumber(trigramElement(gua.palace));
    gua.relations.clear();
    gua.relations.reserve(gua.elementIndexes.size());
    for (const int element : gua.elementIndexes) {
        gua.relations.emplace_back(relationName(relationOf(palaceElement, element)));
    }
}

void deriveCommon(GuaModel& gua) {
    setLines(gua);
    setPlace(gua);
    setLineValues(gua);
}

int positionOf(std::string_view cycle, int element) {
    const auto pos = cycle.find(static_cast<char>('0' + element));
    return (element < 1 || element > 9 || pos == std::string_view::npos) ? -1 : static_cast<int>(pos);
}

// The first and the second character of a pillar or na-jia pair such as "甲子".
struct StemBranch {
    std::string_view stem;
    std::string_view branch;
};

StemBranch splitGanzhi(std::string_view ganzhi) {
    const std::size_t first = utf8::charLength(ganzhi, 0);
    return {ganzhi.substr(0, first), ganzhi.substr(first, utf8::charLength(ganzhi, first))};
}

PillarDigits digitsOf(const StemBranch& parts) {
    return {stemDigit(parts.stem), branchDigit(parts.branch)};
}

// The stem and branch of a day or hour pillar, and their digits, into the chart's fields.
void splitPillar(std::string_view pillar, std::string& stem, std::string& branch, int& stemDigitOut,
                 int& branchDigitOut) {
    const StemBranch parts = splitGanzhi(pillar);
    stem = parts.stem;
    branch = parts.branch;
    const PillarDigits digits = digitsOf(parts);
    stemDigitOut = digits.stem;
    branchDigitOut = digits.branch;
}

// Entry i of a hexagram's per-line values; an empty value past their end.
template <typename Value>
const Value& entryAt(const std::vector<Value>& values, std::size_t i) {
    static const Value missing{};
    return i < values.size() ? values[i] : missing;
}

// The per-line arrays of the chart that both hexagrams have.
struct LineColumns {
    std::vector<std::string>& relations;
    std::vector<std::string>& stems;
    std::vector<int>& stemDigits;
    std::vector<std::string>& branches;
    std::vector<int>& branchDigits;
    std::vector<std::string>& elements;

    void reserve() {
        for (auto* texts : {&relations, &stems, &branches, &elements}) {
            texts->reserve(6);
        }
        stemDigits.reserve(6);
        branchDigits.reserve(6);
    }

    // Line index i of the hexagram: its relation, stem and branch with their digits, element.
    void add(const GuaModel& gua, std::size_t i) {
        const StemBranch ganzhi = splitGanzhi(entryAt(gua.ganzhi, i));
        const PillarDigits digits = digitsOf(ganzhi);
        relations.push_back(entryAt(gua.relations, i));
        stems.emplace_back(ganzhi.stem);
        stemDigits.push_back(digits.stem);
        branches.emplace_back(ganzhi.branch);
        branchDigits.push_back(digits.branch);
        elements.push_back(entryAt(gua.elements, i));
    }
};

HexagramDigits derivedDigits(int upperTrigram, int lowerTrigram) {
    GuaModel gua;
    gua.upperTrigram = upperTrigram;
    gua.lowerTrigram = lowerTrigram;
    deriveChanged(gua);
    HexagramDigits digits;
    digits.shiLine = gua.shiLine;
    digits.yingLine = gua.yingLine;
    for (std::size_t i = 0; i < 6; ++i) {
        const PillarDigits line = digitsOf(splitGanzhi(entryAt(gua.ganzhi, i)));
        digits.stemDigits[i] = line.stem;
        digits.branchDigits[i] = line.branch;
    }
    return digits;
}

} // namespace

int relationOf(int palaceElement, int lineElement) {
    if (lineElement == palaceElement) {
        return 0; // 兄弟
    }
    const int a = positionOf(tables::GeneratingCycle, palaceElement);
    const int b = positionOf(tables::GeneratingCycle, lineElement);
    if (a >= 0 && b >= 0) {
        if ((a == 4 && b == 0) || b - a == 1) {
            return 4; // 子孙: the palace element generates the line's
        }
        if ((a == 0 && b == 4) || a - b == 1) {
            return 1; // 父母: the line's element generates the palace's
        }
    }
    const int g = positionOf(tables::ControllingCycle, palaceElement);
    const int l = positionOf(tables::ControllingCycle, lineElement);
    if (g >= 0 && l >= 0 && ((g == 4 && l == 0) || l - g == 1)) {
        return 2; // 妻财: the palace element controls the line's
    }
    return 3; // 官鬼
}

PillarDigits pillarDigits(std::string_view pillar) {
    return digitsOf(splitGanzhi(pillar));
}

HexagramDigits hexagramDigits(int upperTrigram, int lowerTrigram) {
    if (upperTrigram < 1 || upperTrigram > 8 || lowerTrigram < 1 || lowerTrigram > 8) {
        return derivedDigits(upperTrigram, lowerTrigram);
    }
    static const auto kept = [] {
        std::array<HexagramDigits, 64> all;
        for (int upper = 1; upper <= 8; ++upper) {
            for (int lower = 1; lower <= 8; ++lower) {
                all[static_cast<std::size_t>((upper - 1) * 8 + lower - 1)] = derivedDigits(upper, lower);
            }
        }
        return all;
    }();
    return kept[static_cast<std::size_t>((upperTrigram - 1) * 8 + lowerTrigram - 1)];
}

void derive(GuaModel& gua, std::string_view dayStem) {
    deriveCommon(gua);
    gua.spirits.clear();
    gua.spirits.reserve(6);
    for (const std::string_view spirit : spiritOrder(stemNumber(dayStem))) {
        gua.spirits.emplace_back(spirit);
    }
}

void deriveChanged(GuaModel& gua) {
    deriveCommon(gua);
    gua.spirits.clear();
}

void fillChartResult(ChartResult& result, const CastRequest& request, const Pillars& pillars) {
    result = ChartResult{};

    result.method = request.method;
    result.numberText = request.numberText;
    result.upperLines = request.upperLines;
    result.lowerLines = request.lowerLines;
    result.timeChoice = request.timeChoice;
    result.moment = request.moment;
    result.zodiac = request.zodiac;

    result.dayPillar = pillars.dayPillar;
    splitPillar(pillars.dayPillar, result.dayStem, result.dayBranch, result.dayStemDigit,
                result.dayBranchDigit);

    result.zodiacBranch = branchText(request.zodiac);
    result.zodiacElement = branchElement(result.zodiacBranch);
    result.zodiacDigit = branchDigit(result.zodiacBranch);

    result.hourPillar = pillars.hourPillar;
    splitPillar(pillars.hourPillar, result.hourStem, result.hourBranch, result.hourStemDigit,
                result.hourBranchDigit);
}

void completeChartResult(ChartResult& result, const GuaModel& primary, const GuaModel& changed,
                         const std::vector<int>* handFlags) {
    result.primaryName = std::string(hexagramName(primary.palace, primary.generation)) +
                         std::string(soulText(primary.soulKind));
    result.primaryPalaceName = trigramName(primary.palace);
    result.primaryGeneration = primary.generation;
    result.changedName = std::string(hexagramName(changed.palace, changed.generation)) +
                         std::string(soulText(changed.soulKind));
    result.changedPalaceName = trigramName(changed.palace);
    result.changedGeneration = changed.generation;
    result.shiIndex = primary.shiLine - 1;
    result.yingIndex = primary.yingLine - 1;
    result.changedShiIndex = changed.shiLine - 1;
    result.changedYingIndex = changed.yingLine - 1;

    result.primarySpirits.reserve(6);
    result.movingMarks.reserve(6);
    if (handFlags != nullptr) {
        result.movingMarks = *handFlags;
    }
    LineColumns primaryLines{result.primaryRelations, result.primaryStems,        result.primaryStemDigits,
                             result.primaryBranches,  result.primaryBranchDigits, result.primaryElements};
    LineColumns changedLines{result.changedRelations, result.changedStems,        result.changedStemDigits,
                             result.changedBranches,  result.changedBranchDigits, result.changedElements};
    primaryLines.reserve();
    changedLines.reserve();
    for (std::size_t i = 0; i < 6; ++i) {
        result.primarySpirits.push_back(entryAt(primary.spirits, i));
        primaryLines.add(primary, i);
        if (handFlags == nullptr) {
            int mark = 0;
            if (static_cast<int>(i) + 1 == primary.movingLine) {
                mark = entryAt(primary.lineBits, i) == "1" ? 1 : -1;
            }
            result.movingMarks.push_back(mark);
        }
        changedLines.add(changed, i);
    }
}

} // namespace quenmar
