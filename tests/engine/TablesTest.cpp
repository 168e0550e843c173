#include "engine/Tables.h"

#include <gtest/gtest.h>

namespace quenmar {

TEST(Tables, StemAndBranchNumbersAreOneBasedPositions) {
    EXPECT_EQ(stemNumber("甲"), 1);
    EXPECT_EQ(stemNumber("癸"), 10);
    EXPECT_EQ(stemNumber("子"), 0);
    EXPECT_EQ(stemNumber(""), 1); // an empty text is found at the start
    EXPECT_EQ(branchNumber("亥"), 12);
    EXPECT_EQ(stemText(3), "丙");
    EXPECT_EQ(stemText(0), "");
    EXPECT_EQ(stemText(11), "");
    EXPECT_EQ(branchText(12), "亥");
    EXPECT_EQ(branchText(13), "");
    EXPECT_EQ(trigramName(8), "坤");
    EXPECT_EQ(trigramName(9), "");
}

TEST(Tables, DigitsOfStemsAndBranches) {
    const char* stems[] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
    const int stemDigits[] = {3, 8, 2, 7, 5, 0, 4, 9, 1, 6};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(stemDigit(stems[i]), stemDigits[i]) << stems[i];
    }
    const char* branches[] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
    const int branchDigits[] = {1, 0, 3, 8, 5, 7, 2, 0, 4, 9, 5, 6};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(branchDigit(branches[i]), branchDigits[i]) << branches[i];
    }
}

TEST(Tables, LookupsOfTextsOutsideTheTables) {
    EXPECT_EQ(branchDigit(""), 1);
    EXPECT_EQ(branchDigit("甲"), 0);
    EXPECT_EQ(stemDigit(""), 3);
    EXPECT_EQ(stemDigit("子"), 0);
    EXPECT_EQ(branchElement(""), "水");
    EXPECT_EQ(branchElement("金"), "");
    EXPECT_EQ(branchElement("午"), "火");
    EXPECT_EQ(elementNumber("土"), 5);
    EXPECT_EQ(elementNumber(""), 1);
    EXPECT_EQ(elementNumber("子"), 0);
}

TEST(Tables, TrigramLinesAndNumbers) {
    EXPECT_EQ(trigramLines(1), "111");
    EXPECT_EQ(trigramLines(5), "011");
    EXPECT_EQ(trigramLines(8), "000");
    EXPECT_EQ(trigramLines(0), "000");
    EXPECT_EQ(trigramLines(42), "000");
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(trigramNumber(trigramLines(n)), n);
    }
    EXPECT_EQ(trigramNumber("000"), 8);
    EXPECT_EQ(trigramNumber(""), 8);
    EXPECT_EQ(trigramNumber("12"), 8);
    EXPECT_EQ(trigramNumber("1111"), 8);
}

TEST(Tables, FlipTurnsZeroIntoOneAndAnythingElseIntoZero) {
    EXPECT_EQ(flipLines("100"), "011");
    EXPECT_EQ(flipLines("1a0"), "001");
    EXPECT_EQ(flipLines(""), "");
}

TEST(Tables, HexagramNamesInPalaceOrder) {
    EXPECT_EQ(hexagramName(1, 1), "乾为天");
    EXPECT_EQ(hexagramName(1, 7), "火地晋");
    EXPECT_EQ(hexagramName(1, 8), "火天大有");
    EXPECT_EQ(hexagramName(8, 8), "水地比");
    EXPECT_EQ(hexagramName(5, 6), "火雷噬嗑");
    EXPECT_EQ(hexagramName(0, 1), "");
    EXPECT_EQ(hexagramName(1, 9), "");
}

TEST(Tables, SoulsRelationsAndTitles) {
    EXPECT_EQ(soulText(0), "");
    EXPECT_EQ(soulText(1), "游魂");
    EXPECT_EQ(soulText(2), "归魂");
    EXPECT_EQ(soulText(3), "");
    EXPECT_EQ(relationName(0), "兄弟");
    EXPECT_EQ(relationName(4), "子孙");
    EXPECT_EQ(relationName(5), "");
    EXPECT_EQ(chartTitleText(1), "本卦");
    EXPECT_EQ(chartTitleText(2), "变卦");
}

TEST(Tables, SpiritOrderFollowsTheDayStem) {
    struct Case {
        int stem;
        const char* first;
        const char* last;
    };
    const Case cases[] = {{1, "青龙", "玄武"},  {2, "青龙", "玄武"}, {3, "朱雀", "青龙"},
                          {4, "朱雀", "青龙"},  {5, "勾陈", "朱雀"}, {6, "腾蛇", "勾陈"},
                          {7, "白虎", "腾蛇"},  {8, "白虎", "腾蛇"}, {9, "玄武", "白虎"},
                          {10, "玄武", "白虎"}, {0, "玄武", "白虎"}, {11, "玄武", "白虎"}};
    for (const Case& c : cases) {
        const auto spirits = spiritOrder(c.stem);
        EXPECT_EQ(spirits[0], c.first) << c.stem;
        EXPECT_EQ(spirits[5], c.last) << c.stem;
    }
    const auto jia = spiritOrder(1);
    EXPECT_EQ(std::string(jia[1]) + std::string(jia[2]) + std::string(jia[3]) + std::string(jia[4]),
              "朱雀勾陈腾蛇白虎");
}

} // namespace quenmar
