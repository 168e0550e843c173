#include "engine/Derivation.h"

#include "engine/Tables.h"
#include "base/Utf8.h"

namespace quenmar {

namespace {

void deriveCommon(GuaModel& gua) {
    gua.upperLines = trigramLines(gua.upperTrigram);
    gua.upperName = trigramName(gua.upperTrigram);
    gua.lowerLines = trigramLines(gua.lowerTrigram);
    gua.lowerName = trigramName(gua.lowerTrigram);

    const std::string& up = gua.upperLines;
    const std::string& low = gua.lowerLines;
    const bool wellFormed = up.size() == 3 && low.size() == 3;

    gua.lineBits.clear();
    if (wellFormed) {
        gua.lineBits.reserve(6);
        for (const char c : low) {
            gua.lineBits.emplace_back(1, c);
        }
        for (const char c : up) {
            gua.lineBits.emplace_back(1, c);
        }
    }

    // 世, 应 and the souls: the first matching row decides.
    gua.shiLine = 0;
    gua.yingLine = 0;
    gua.soulKind = 0;
    if (wellFormed) {
        const bool s1 = up[0] == low[0];
        const bool s2 = up[1] == low[1];
        const bool s3 = up[2] == low[2];
        struct Row {
            int shi, ying, soul;
        };
        Row row{};
        if (up == low) {
            row = {6, 3, 0};
        } else if (s3 && !s1 && !s2) {
            row = {2, 5, 0};
        } else if (!s3 && s1 && s2) {
            row = {5, 2, 0};
        } else if (s1 && !s2 && !s3) {
            row = {4, 1, 0};
        } else if (!s1 && s2 && s3) {
            row = {1, 4, 0};
        } else if (!s1 && !s2 && !s3) {
            row = {3, 6, 0};
        } else if (s2 && !s1 && !s3) {
            row = {4, 1, 1};
        } else {
            row = {3, 6, 2}; // not same(2), same(1), same(3): the returning soul
        }
        gua.shiLine = row.shi;
        gua.yingLine = row.ying;
        gua.soulKind = row.soul;
    }

    // Palace, from the 世 line.
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

    // Generation within the palace.
    if (gua.soulKind == 1) {
        gua.generation = 7;
    } else if (gua.soulKind == 2) {
        gua.generation = 8;
    } else if (gua.shiLine >= 1 && gua.shiLine <= 5) {
        gua.generation = gua.shiLine + 1;
    } else {
        gua.generation = 1;
    }

    // Na-jia and elements, the lower trigram first.
    gua.ganzhi.clear();
    gua.elements.clear();
    gua.elementIndexes.clear();
    gua.ganzhi.reserve(6);
    gua.elements.reserve(6);
    gua.elementIndexes.reserve(6);
    const auto najia = [&](int trigram, std::string_view stems, std::string_view starts) {
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
    };
    najia(gua.lowerTrigram, tables::InnerStems, tables::InnerStartBranches);
    najia(gua.upperTrigram, tables::OuterStems, tables::OuterStartBranches);

    // Six relations to the palace element.
    const int palaceElement = elementNumber(trigramElement(gua.palace));
    gua.relations.clear();
    gua.relations.reserve(gua.elementIndexes.size());
    for (const int element : gua.elementIndexes) {
        gua.relations.emplace_back(relationName(relationOf(palaceElement, element)));
    }
}

int positionOf(std::string_view cycle, int element) {
    const auto pos = cycle.find(static_cast<char>('0' + element));
    return (element < 1 || element > 9 || pos == std::string_view::npos) ? -1 : static_cast<int>(pos);
}

std::string_view firstChar(std::string_view text) {
    return utf8::charAt(text, 0);
}

std::string_view secondChar(std::string_view text) {
    return utf8::charAt(text, 1);
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
    NumberBasis keptBasis = std::move(result.numberBasis);
    result = ChartResult{};
    result.numberBasis = std::move(keptBasis);

    result.method = request.method;
    result.numberText = request.numberText;
    result.upperLines = request.upperLines;
    result.lowerLines = request.lowerLines;
    result.timeChoice = request.timeChoice;
    result.moment = request.moment;
    result.zodiac = request.zodiac;

    result.dayPillar = pillars.dayPillar;
    result.dayStem = firstChar(pillars.dayPillar);
    result.dayBranch = secondChar(pillars.dayPillar);
    result.dayStemDigit = stemDigit(result.dayStem);
    result.dayBranchDigit = branchDigit(result.dayBranch);

    result.zodiacBranch = branchText(request.zodiac);
    result.zodiacElement = branchElement(result.zodiacBranch);
    result.zodiacDigit = branchDigit(result.zodiacBranch);

    result.hourPillar = pillars.hourPillar;
    result.hourStem = firstChar(pillars.hourPillar);
    result.hourBranch = secondChar(pillars.hourPillar);
    result.hourStemDigit = stemDigit(result.hourStem);
    result.hourBranchDigit = branchDigit(result.hourBranch);
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

    if (handFlags != nullptr) {
        result.movingMarks = *handFlags;
    }

    const auto at = [](const auto& values, std::size_t i) {
        using Value = typename std::decay_t<decltype(values)>::value_type;
        return i < values.size() ? values[i] : Value{};
    };

    for (auto* lines : {&result.primarySpirits, &result.primaryRelations, &result.primaryStems,
                        &result.primaryBranches, &result.primaryElements, &result.changedRelations,
                        &result.changedStems, &result.changedBranches, &result.changedElements}) {
        lines->reserve(6);
    }
    for (auto* digits : {&result.primaryStemDigits, &result.primaryBranchDigits, &result.changedStemDigits,
                         &result.changedBranchDigits, &result.movingMarks}) {
        digits->reserve(6);
    }
    for (std::size_t i = 0; i < 6; ++i) {
        const std::string ganzhi = at(primary.ganzhi, i);
        result.primarySpirits.push_back(at(primary.spirits, i));
        result.primaryRelations.push_back(at(primary.relations, i));
        result.primaryStems.emplace_back(firstChar(ganzhi));
        result.primaryStemDigits.push_back(stemDigit(result.primaryStems.back()));
        result.primaryBranches.emplace_back(secondChar(ganzhi));
        result.primaryBranchDigits.push_back(branchDigit(result.primaryBranches.back()));
        result.primaryElements.push_back(at(primary.elements, i));
        if (handFlags == nullptr) {
            int mark = 0;
            if (static_cast<int>(i) + 1 == primary.movingLine) {
                mark = at(primary.lineBits, i) == "1" ? 1 : -1;
            }
            result.movingMarks.push_back(mark);
        }
        const std::string changedGanzhi = at(changed.ganzhi, i);
        result.changedRelations.push_back(at(changed.relations, i));
        result.changedStems.emplace_back(firstChar(changedGanzhi));
        result.changedStemDigits.push_back(stemDigit(result.changedStems.back()));
        result.changedBranches.emplace_back(secondChar(changedGanzhi));
        result.changedBranchDigits.push_back(branchDigit(result.changedBranches.back()));
        result.changedElements.push_back(at(changed.elements, i));
    }
}

} // namespace quenmar
