#pragma once

#include "engine/GuaModel.h"

#include <optional>
#include <string>
#include <string_view>

// The 64 hexagrams as pairs of trigrams, and the hexagrams an expert reads off the primary one:
// 互卦 (nuclear), 错卦 (opposite), 综卦 (reversed). Which pair stands at which place of which
// palace is what the engine's derivation says; names come from its 64-name table.
namespace quenmar {

/// A hexagram by its trigram numbers (1 乾 ... 8 坤).
struct Hexagram {
    int upper = 0; // lines 4-6
    int lower = 0; // lines 1-3

    bool operator==(const Hexagram&) const = default;
};

/// The hexagram at generation 1..8 of palace 1..8; nothing outside.
std::optional<Hexagram> hexagramAt(int palace, int generation);

/// Its name in the 64-name table, without the 游魂/归魂 suffix; empty for trigrams outside 1..8.
std::string_view hexagramNameOf(Hexagram hexagram);

/// The six lines, line 1 first, "1" yang and "0" yin.
std::string hexagramLines(Hexagram hexagram);

/// The hexagram of six line characters, line 1 first (a malformed trigram counts as 坤).
Hexagram hexagramOfLines(std::string_view lines);

/// 互卦: the lower trigram from lines 2-4, the upper from lines 3-5.
Hexagram nuclearOf(Hexagram hexagram);
/// 错卦: every line flipped.
Hexagram oppositeOf(Hexagram hexagram);
/// 综卦: the line order reversed.
Hexagram reversedOf(Hexagram hexagram);

/// The pure hexagram (八纯卦) of palace 1..8, derived once; nothing outside.
const GuaModel* pureHexagram(int palace);

} // namespace quenmar
