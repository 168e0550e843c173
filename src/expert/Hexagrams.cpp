#include "expert/Hexagrams.h"

#include "engine/Derivation.h"
#include "engine/Tables.h"

#include <array>

namespace quenmar {

namespace {

constexpr int kTrigrams = 8;

struct Place {
    int palace = 0;
    int generation = 0;
};

// Both directions between a pair of trigrams and its place, from deriving all 64 once.
struct HexagramIndex {
    std::array<std::array<Place, kTrigrams>, kTrigrams> placeOf{};    // [upper − 1][lower − 1]
    std::array<std::array<Hexagram, kTrigrams>, kTrigrams> atPlace{}; // [palace − 1][generation − 1]
    std::array<GuaModel, kTrigrams> pure;                             // [palace − 1]
};

const HexagramIndex& hexagramIndex() {
    static const HexagramIndex index = [] {
        HexagramIndex built;
        for (int upper = 1; upper <= kTrigrams; ++upper) {
            for (int lower = 1; lower <= kTrigrams; ++lower) {
                GuaModel gua;
                gua.upperTrigram = upper;
                gua.lowerTrigram = lower;
                deriveChanged(gua);
                built.placeOf[upper - 1][lower - 1] = {gua.palace, gua.generation};
                built.atPlace[gua.palace - 1][gua.generation - 1] = {upper, lower};
                if (upper == lower) {
                    built.pure[upper - 1] = gua;
                }
            }
        }
        return built;
    }();
    return index;
}

bool isTrigram(int n) {
    return n >= 1 && n <= kTrigrams;
}

} // namespace

std::optional<Hexagram> hexagramAt(int palace, int generation) {
    if (!isTrigram(palace) || generation < 1 || generation > kTrigrams) {
        return std::nullopt;
    }
    return hexagramIndex().atPlace[palace - 1][generation - 1];
}

std::string_view hexagramNameOf(Hexagram hexagram) {
    if (!isTrigram(hexagram.upper) || !isTrigram(hexagram.lower)) {
        return {};
    }
    const Place place = hexagramIndex().placeOf[hexagram.upper - 1][hexagram.lower - 1];
    return hexagramName(place.palace, place.generation);
}

std::string hexagramLines(Hexagram hexagram) {
    std::string lines(trigramLines(hexagram.lower));
    lines += trigramLines(hexagram.upper);
    return lines;
}

Hexagram hexagramOfLines(std::string_view lines) {
    const auto trigramAt = [lines](std::size_t first) {
        return trigramNumber(first + 3 <= lines.size() ? lines.substr(first, 3) : std::string_view{});
    };
    return {trigramAt(3), trigramAt(0)};
}

Hexagram nuclearOf(Hexagram hexagram) {
    const std::string lines = hexagramLines(hexagram);
    return hexagramOfLines(lines.substr(1, 3) + lines.substr(2, 3));
}

Hexagram oppositeOf(Hexagram hexagram) {
    return {trigramNumber(flipLines(trigramLines(hexagram.upper))),
            trigramNumber(flipLines(trigramLines(hexagram.lower)))};
}

Hexagram reversedOf(Hexagram hexagram) {
    const std::string lines = hexagramLines(hexagram);
    return hexagramOfLines(std::string(lines.rbegin(), lines.rend()));
}

const GuaModel* pureHexagram(int palace) {
    return isTrigram(palace) ? &hexagramIndex().pure[static_cast<std::size_t>(palace - 1)] : nullptr;
}

} // namespace quenmar
