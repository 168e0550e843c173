#include "expert/Annotations.h"

#include "base/DateTime.h"
#include "base/Utf8.h"
#include "engine/Derivation.h"
#include "engine/Moment.h"
#include "engine/Tables.h"
#include "expert/Hexagrams.h"
#include "expert/SolarPillars.h"

namespace quenmar {

namespace {

constexpr int kBranchCount = 12;
constexpr int kStemCount = 10;

// The branch pairs of the two relations, two characters a pair, read into matrices at compile time.
constexpr std::string_view kClashPairs = "子午丑未寅申卯酉辰戌巳亥";
constexpr std::string_view kCombinePairs = "子丑寅亥卯戌辰酉巳申午未";

using BranchMatrix = std::array<std::array<bool, kBranchCount>, kBranchCount>;

constexpr int constexprBranchIndex(std::string_view branch) {
    for (int i = 0; i < kBranchCount; ++i) {
        if (tables::Branches.substr(static_cast<std::size_t>(i) * 3, 3) == branch) {
            return i;
        }
    }
    return -1;
}

constexpr BranchMatrix pairMatrix(std::string_view pairs) {
    BranchMatrix matrix{};
    for (std::size_t pos = 0; pos + 6 <= pairs.size(); pos += 6) {
        const int a = constexprBranchIndex(pairs.substr(pos, 3));
        const int b = constexprBranchIndex(pairs.substr(pos + 3, 3));
        matrix[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] = true;
        matrix[static_cast<std::size_t>(b)][static_cast<std::size_t>(a)] = true;
    }
    return matrix;
}

constexpr BranchMatrix kClash = pairMatrix(kClashPairs);
constexpr BranchMatrix kCombine = pairMatrix(kCombinePairs);

// 0-based position of a single stem or branch; -1 for anything else (the engine's lookups
// answer an empty text with the first entry, which must not count here).
int strictIndex(std::string_view table, std::string_view text) {
    return text.size() == 3 ? tableIndex(table, text) : -1;
}

int branchIndex(std::string_view branch) {
    return strictIndex(tables::Branches, branch);
}

bool related(const BranchMatrix& matrix, int a, int b) {
    return a >= 0 && b >= 0 && matrix[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)];
}

std::string_view pairKind(std::span<const int> branches) {
    bool clash = true;
    bool combine = true;
    for (std::size_t line = 0; line < 3; ++line) {
        clash = clash && related(kClash, branches[line], branches[line + 3]);
        combine = combine && related(kCombine, branches[line], branches[line + 3]);
    }
    return clash ? "六冲" : combine ? "六合" : "";
}

std::array<int, 6> branchIndexes(std::span<const std::string> branches) {
    std::array<int, 6> indexes{};
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        indexes[i] = i < branches.size() ? branchIndex(branches[i]) : -1;
    }
    return indexes;
}

int palaceNumber(std::string_view palaceName) {
    return strictIndex(tables::TrigramNames, palaceName) + 1;
}

// The marks of six lines against the void branches, the month branch and the day branch.
std::array<LineAnnotation, 6> lineMarks(const std::array<int, 6>& branches, const std::array<int, 2>& voids,
                                        int monthBranch, int dayBranch) {
    std::array<LineAnnotation, 6> marks;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const int b = branches[i];
        marks[i].isVoid = b >= 0 && (b == voids[0] || b == voids[1]);
        marks[i].monthBreak = related(kClash, b, monthBranch);
        marks[i].dayClash = related(kClash, b, dayBranch);
    }
    return marks;
}

std::array<int, 2> voidIndexes(std::string_view dayStem, std::string_view dayBranch) {
    const int stem = strictIndex(tables::Stems, dayStem);
    const int branch = branchIndex(dayBranch);
    if (stem < 0 || branch < 0 || stem % 2 != branch % 2) {
        return {-1, -1};
    }
    // The decade runs from its 甲 day, `stem` days back, over ten branches; the next two are void.
    const int first = (branch - stem + kBranchCount) % kBranchCount;
    return {(first + kStemCount) % kBranchCount, (first + kStemCount + 1) % kBranchCount};
}

} // namespace

bool branchesClash(std::string_view a, std::string_view b) {
    return related(kClash, branchIndex(a), branchIndex(b));
}

bool branchesCombine(std::string_view a, std::string_view b) {
    return related(kCombine, branchIndex(a), branchIndex(b));
}

std::array<std::string_view, 2> voidBranches(std::string_view dayStem, std::string_view dayBranch) {
    const auto voids = voidIndexes(dayStem, dayBranch);
    return {tableEntry(tables::Branches, voids[0]), tableEntry(tables::Branches, voids[1])};
}

std::string_view hexagramKind(std::span<const std::string> branches) {
    return pairKind(branchIndexes(branches));
}

std::array<std::optional<HiddenSpirit>, 6> hiddenSpirits(int palace,
                                                         std::span<const std::string> primaryRelations) {
    std::array<std::optional<HiddenSpirit>, 6> hidden;
    const GuaModel* pure = pureHexagram(palace);
    if (pure == nullptr) {
        return hidden;
    }
    const auto present = [&](const std::string& relation) {
        for (const std::string& r : primaryRelations) {
            if (r == relation) {
                return true;
            }
        }
        return false;
    };
    for (std::size_t i = 0; i < hidden.size() && i < pure->relations.size(); ++i) {
        if (!present(pure->relations[i])) {
            hidden[i] = HiddenSpirit{pure->relations[i], pure->ganzhi[i], pure->elements[i]};
        }
    }
    return hidden;
}

GuaShen guaShen(int shiLine, bool shiLineYang, std::span<const std::string> branches) {
    GuaShen body;
    if (shiLine < 1 || shiLine > 6) {
        return body;
    }
    const int start = shiLineYang ? 0 : 6; // 子 or 午
    body.branch = tableEntry(tables::Branches, (start + shiLine - 1) % kBranchCount);
    for (std::size_t i = 0; i < branches.size(); ++i) {
        if (branches[i] == body.branch) {
            body.lines.push_back(static_cast<int>(i) + 1);
        }
    }
    return body;
}

std::string localMinuteText(std::int64_t epochMs, int standardBiasMinutes) {
    constexpr std::int64_t kMsPerMinute = 60'000;
    const std::int64_t local = epochMs - static_cast<std::int64_t>(standardBiasMinutes) * kMsPerMinute;
    const std::int64_t minutes = detail::floorDiv(local + kMsPerMinute / 2, kMsPerMinute);
    const std::int64_t day = detail::floorDiv(minutes, 24 * 60);
    const int minuteOfDay = static_cast<int>(minutes - day * 24 * 60);
    const CivilDate date = civilFromDays(day);
    // Written digit by digit: a formatted print would be the costliest step of the annotations.
    std::string text = "0000-00-00 00:00";
    const auto put = [&text](std::size_t end, long long value, int digits) {
        for (int k = 1; k <= digits; ++k, value /= 10) {
            text[end - static_cast<std::size_t>(k)] = static_cast<char>('0' + value % 10);
        }
    };
    put(4, date.year, 4);
    put(7, date.month, 2);
    put(10, date.day, 2);
    put(13, minuteOfDay / 60, 2);
    put(16, minuteOfDay % 60, 2);
    return text;
}

Annotations annotate(const ChartResult& chart, int standardBiasMinutes) {
    Annotations notes;
    notes.dayPillar = chart.dayPillar;
    notes.hourPillar = chart.hourPillar;

    int monthBranch = -1;
    const auto fields = dateTimeFromMoment(chart.moment);
    if (fields && fields->year >= kFirstTermYear && fields->year <= kLastTermYear) {
        if (auto pillars = solarPillars(epochMs(chart.moment, standardBiasMinutes))) {
            notes.yearPillar = std::move(pillars->yearPillar);
            notes.monthPillar = std::move(pillars->monthPillar);
            notes.solarTerm = TermInForce{std::string(solarTermName(pillars->term.index)),
                                          localMinuteText(pillars->term.epochMs, standardBiasMinutes)};
            monthBranch = branchIndex(utf8::charAt(notes.monthPillar, 1));
        }
    }

    const auto voids = voidIndexes(chart.dayStem, chart.dayBranch);
    notes.voidBranches = {std::string(tableEntry(tables::Branches, voids[0])),
                          std::string(tableEntry(tables::Branches, voids[1]))};

    const int palace = palaceNumber(chart.primaryPalaceName);
    const auto primary = hexagramAt(palace, chart.primaryGeneration);
    const auto changed = hexagramAt(palaceNumber(chart.changedPalaceName), chart.changedGeneration);
    const auto sixLines = [](const auto& values) {
        return values.size() == 6;
    };
    if (!primary || !changed || !sixLines(chart.primaryBranches) || !sixLines(chart.primaryRelations) ||
        !sixLines(chart.changedBranches) || !sixLines(chart.changedElements) || chart.shiIndex < 0 ||
        chart.shiIndex > 5) {
        return notes;
    }

    const int dayBranch = branchIndex(chart.dayBranch);
    const auto primaryBranches = branchIndexes(chart.primaryBranches);
    const auto changedBranches = branchIndexes(chart.changedBranches);
    notes.lines = lineMarks(primaryBranches, voids, monthBranch, dayBranch);
    notes.changedLines = lineMarks(changedBranches, voids, monthBranch, dayBranch);
    const auto hidden = hiddenSpirits(palace, chart.primaryRelations);
    for (std::size_t i = 0; i < hidden.size(); ++i) {
        notes.lines[i].hidden = hidden[i];
    }

    const std::string primaryLines = hexagramLines(*primary);
    const bool shiYang = primaryLines[static_cast<std::size_t>(chart.shiIndex)] == '1';
    notes.guaShen = guaShen(chart.shiIndex + 1, shiYang, chart.primaryBranches);

    notes.primaryKind = pairKind(primaryBranches);
    notes.changedKind = pairKind(changedBranches);
    notes.nuclear = hexagramNameOf(nuclearOf(*primary));
    notes.opposite = hexagramNameOf(oppositeOf(*primary));
    notes.reversed = hexagramNameOf(reversedOf(*primary));

    const int palaceElement = elementNumber(trigramElement(palace));
    for (std::size_t i = 0; i < 6; ++i) {
        const int lineElement = strictIndex(tables::ElementNames, chart.changedElements[i]) + 1;
        notes.changedRelationsByPrimaryPalace[i] = relationName(relationOf(palaceElement, lineElement));
    }
    return notes;
}

} // namespace quenmar
