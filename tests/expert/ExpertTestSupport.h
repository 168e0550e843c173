#pragma once

#include "engine/Derivation.h"
#include "engine/GuaModel.h"
#include "engine/Moment.h"
#include "engine/Tables.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Moments in China Standard Time and hexagrams by name, derived by the engine, for the expert
// layer's tests.
namespace quenmar::test {

inline constexpr int kBeijingBias = -480; // UTC = local time + bias

/// The instant of a Beijing-time reading.
inline std::int64_t beijingInstant(const DateTime& local) {
    return epochMs(momentFromDateTime(local), kBeijingBias);
}

/// The derived hexagram of that name (without 游魂/归魂); a fresh GuaModel for an unknown name.
inline GuaModel derivedHexagram(std::string_view name, std::string_view dayStem = "甲") {
    for (int upper = 1; upper <= 8; ++upper) {
        for (int lower = 1; lower <= 8; ++lower) {
            GuaModel gua;
            gua.upperTrigram = upper;
            gua.lowerTrigram = lower;
            derive(gua, dayStem);
            if (hexagramName(gua.palace, gua.generation) == name) {
                return gua;
            }
        }
    }
    return {};
}

/// The six line branches of a derived hexagram, line 1 first.
inline std::vector<std::string> lineBranches(const GuaModel& gua) {
    std::vector<std::string> branches;
    for (const std::string& ganzhi : gua.ganzhi) {
        branches.push_back(ganzhi.substr(3));
    }
    return branches;
}

} // namespace quenmar::test
