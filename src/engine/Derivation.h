#pragma once

#include "engine/CastRequest.h"
#include "engine/ChartResult.h"
#include "engine/GuaModel.h"

#include <array>
#include <string>
#include <string_view>

// The eight-palace rules: from the two trigrams of a hexagram to its 世 and 应 lines, souls,
// palace and generation, na-jia, elements, six relations and (primary only) six spirits;
// then the collection of both hexagrams into the ChartResult.
namespace quenmar {

/// The relation index 0..4 of a line element to the palace element (兄弟 父母 妻财 官鬼 子孙).
int relationOf(int palaceElement, int lineElement);

/// Derives a primary hexagram: `gua` has its two trigrams (and its moving line or flags) set;
/// every other field is filled. `dayStem` chooses the spirits.
void derive(GuaModel& gua, std::string_view dayStem);

/// The same without spirits, for the changed hexagram.
void deriveChanged(GuaModel& gua);

/// The digits of the stem and the branch of a pillar or na-jia pair such as "甲子".
struct PillarDigits {
    int stem = 0;
    int branch = 0;
};
PillarDigits pillarDigits(std::string_view pillar);

/// The digits of a hexagram's six na-jia stems and branches (line 1 first) and its 世 and 应
/// lines, as completeChartResult writes them: what the suggested numbers read of a hexagram.
/// Each of the 64 hexagrams is derived once and kept; other trigram numbers are derived anew.
struct HexagramDigits {
    std::array<int, 6> stemDigits{};
    std::array<int, 6> branchDigits{};
    int shiLine = 0;
    int yingLine = 0;
};
HexagramDigits hexagramDigits(int upperTrigram, int lowerTrigram);

/// Calendar pillars of one calculation.
struct Pillars {
    std::string dayPillar;
    std::string hourPillar;
};

/// Resets every field, then copies the request's inputs and fills the zodiac, day and hour
/// fields.
void fillChartResult(ChartResult& result, const CastRequest& request, const Pillars& pillars);

/// Names, palaces, generations, 世/应 indexes and the per-line arrays of both hexagrams.
/// The moving marks of a number cast come from the primary's moving line; a cast by hand
/// passes its flags, which are taken over as they are.
void completeChartResult(ChartResult& result, const GuaModel& primary, const GuaModel& changed,
                         const std::vector<int>* handFlags = nullptr);

} // namespace quenmar
