#pragma once

#include "engine/ChartResult.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What an expert reads off a finished chart beyond the chart itself: the four pillars with the 节
// in force, the void branches of the day's decade (旬空), the lines broken by the month (月破) or
// clashed by the day (日冲), the hidden spirits (伏神), the body line (卦身), whether a hexagram is
// 六冲 or 六合, the 互/错/综 hexagrams, and the changed hexagram's relations counted from the
// primary's palace. The record's names are the keys the command line writes.
namespace quenmar {

/// 六冲: 子午, 丑未, 寅申, 卯酉, 辰戌, 巳亥. False when either text is not a branch.
bool branchesClash(std::string_view a, std::string_view b);
/// 六合: 子丑, 寅亥, 卯戌, 辰酉, 巳申, 午未. False when either text is not a branch.
bool branchesCombine(std::string_view a, std::string_view b);

/// The two branches the decade (旬) of a day lacks, in branch order as the decade would go on
/// (甲子旬: 戌, 亥); empty texts when stem and branch are no pair of the sixty.
std::array<std::string_view, 2> voidBranches(std::string_view dayStem, std::string_view dayBranch);

/// "六冲" when lines 1/4, 2/5 and 3/6 clash by branch, "六合" when all three pairs combine, else
/// empty. `branches` holds the six line branches, line 1 first.
std::string_view hexagramKind(std::span<const std::string> branches);

/// A line of the palace's pure hexagram standing hidden under a line of the primary.
struct HiddenSpirit {
    std::string relation;
    std::string ganzhi;
    std::string element;

    bool operator==(const HiddenSpirit&) const = default;
};

/// 伏神: for each relation missing from the primary's six lines, every line of the palace's pure
/// hexagram that carries it, at its own position (under the primary's line there, the 飞神).
std::array<std::optional<HiddenSpirit>, 6> hiddenSpirits(int palace,
                                                         std::span<const std::string> primaryRelations);

/// 卦身: the branch reached counting from 子 (a yang 世 line) or 午 (a yin one) at line 1 up to
/// the 世 line, and the primary's lines (1-6) that carry it.
struct GuaShen {
    std::string branch;
    std::vector<int> lines;

    bool operator==(const GuaShen&) const = default;
};

/// `shiLine` 1..6; `branches` the primary's six line branches, line 1 first.
GuaShen guaShen(int shiLine, bool shiLineYang, std::span<const std::string> branches);

/// The marks of one line. (The command line's key for `isVoid` is "void".)
struct LineAnnotation {
    bool isVoid = false;
    bool monthBreak = false;
    bool dayClash = false;
    std::optional<HiddenSpirit> hidden; // never set for the changed hexagram

    bool operator==(const LineAnnotation&) const = default;
};

/// The 节 in force and its instant as local time of the chart's time zone, "2024-12-06 23:17".
struct TermInForce {
    std::string name;
    std::string moment;

    bool operator==(const TermInForce&) const = default;
};

struct Annotations {
    std::string yearPillar; // empty, with monthPillar and solarTerm, outside the years of the terms
    std::string monthPillar;
    std::string dayPillar;
    std::string hourPillar;
    std::optional<TermInForce> solarTerm;
    std::array<std::string, 2> voidBranches;
    std::string primaryKind;
    std::string changedKind;
    GuaShen guaShen;
    std::string nuclear;
    std::string opposite;
    std::string reversed;
    std::array<LineAnnotation, 6> lines;        // line 1 first
    std::array<LineAnnotation, 6> changedLines; // line 1 first
    std::array<std::string, 6> changedRelationsByPrimaryPalace;

    bool operator==(const Annotations&) const = default;
};

/// The annotations of a finished chart at its own moment; `standardBiasMinutes` is the time
/// zone's standard bias (UTC = local time + bias), the one `epochMs` takes. The year and month
/// pillars (and the month break) need a moment in the years kFirstTermYear..kLastTermYear; a
/// chart that is not finished keeps the per-hexagram fields at their fresh values.
Annotations annotate(const ChartResult& chart, int standardBiasMinutes);

/// An instant as local date and time to the nearest minute, "2024-12-06 23:17", as almanacs
/// print the terms.
std::string localMinuteText(std::int64_t epochMs, int standardBiasMinutes);

} // namespace quenmar
