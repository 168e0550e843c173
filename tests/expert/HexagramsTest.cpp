#include "expert/Hexagrams.h"

#include "ExpertTestSupport.h"

#include <gtest/gtest.h>

namespace quenmar {

namespace {

using test::derivedHexagram;

Hexagram hexagramNamed(std::string_view name) {
    const GuaModel gua = derivedHexagram(name);
    return {gua.upperTrigram, gua.lowerTrigram};
}

TEST(Hexagrams, StandAtThePlacesTheEngineDerivesThemTo) {
    for (int palace = 1; palace <= 8; ++palace) {
        for (int generation = 1; generation <= 8; ++generation) {
            const auto hexagram = hexagramAt(palace, generation);
            ASSERT_TRUE(hexagram);
            EXPECT_EQ(hexagramNameOf(*hexagram), hexagramName(palace, generation));
        }
    }
    EXPECT_FALSE(hexagramAt(0, 1));
    EXPECT_FALSE(hexagramAt(1, 9));
    EXPECT_EQ(hexagramNameOf(Hexagram{}), "");
}

struct RelatedCase {
    const char* name;
    const char* nuclear;  // 互卦
    const char* opposite; // 错卦
    const char* reversed; // 综卦
};

class RelatedHexagrams : public ::testing::TestWithParam<RelatedCase> {};

TEST_P(RelatedHexagrams, AreReadOffTheLines) {
    const RelatedCase& c = GetParam();
    const Hexagram hexagram = hexagramNamed(c.name);
    EXPECT_EQ(hexagramNameOf(nuclearOf(hexagram)), c.nuclear) << c.name;
    EXPECT_EQ(hexagramNameOf(oppositeOf(hexagram)), c.opposite) << c.name;
    EXPECT_EQ(hexagramNameOf(reversedOf(hexagram)), c.reversed) << c.name;
}

// Hexagrams whose two trigrams differ and that are no mirror of themselves, so that mixing up
// upper and lower, or lines 2-4 and 3-5, shows.
INSTANTIATE_TEST_SUITE_P(Asymmetric, RelatedHexagrams,
                         ::testing::Values(RelatedCase{"水天需", "火泽睽", "火地晋", "天水讼"},
                                           RelatedCase{"火雷噬嗑", "水山蹇", "水风井", "山火贲"},
                                           RelatedCase{"风雷益", "山地剥", "雷风恒", "山泽损"},
                                           RelatedCase{"天风姤", "乾为天", "地雷复", "泽天夬"},
                                           RelatedCase{"火地晋", "水山蹇", "水天需", "地火明夷"}));

} // namespace

} // namespace quenmar
