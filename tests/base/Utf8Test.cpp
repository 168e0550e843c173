#include "base/Utf8.h"

#include <gtest/gtest.h>

namespace quenmar::utf8 {

TEST(Utf8, CountsCodePointsNotBytes) {
    EXPECT_EQ(length(""), 0u);
    EXPECT_EQ(length("38"), 2u);
    EXPECT_EQ(length("甲子"), 2u);
    EXPECT_EQ(length("a甲😀"), 3u);
}

TEST(Utf8, MalformedBytesCountOneEachAndNeverOverrun) {
    // A lead byte of a three-byte character cut off at the end of the text.
    const std::string cut = std::string("甲").substr(0, 2);
    EXPECT_FALSE(isValid(cut));
    EXPECT_EQ(length(cut), 2u);
    EXPECT_FALSE(isValid("\xff"));
    EXPECT_FALSE(isValid("\xc0\xaf"));     // overlong "/"
    EXPECT_FALSE(isValid("\xed\xa0\x80")); // a UTF-16 surrogate
    EXPECT_TRUE(isValid("以数字123起卦"));
}

TEST(Utf8, RepairReplacesEachBadByteAndKeepsTheRest) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(repaired("以数字123起卦"), "以数字123起卦");
    EXPECT_EQ(repaired("a\xff"
                       "b"),
              "a" + fffd + "b");
    EXPECT_EQ(repaired("\xed\xa0\x80!"), fffd + fffd + fffd + "!");
    EXPECT_EQ(repaired(std::string("甲").substr(0, 2)), fffd + fffd);
    EXPECT_EQ(repaired(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_TRUE(isValid(repaired("\xc0\xaf\xf5\x80\x80\x80")));
}

struct EscapeCase {
    std::string text;
    std::string shown;
};

class EscapeControlsTest : public ::testing::TestWithParam<EscapeCase> {};

// What a page, an index, a stored title or an argument may put before a terminal.
TEST_P(EscapeControlsTest, ShowsControlsEscapedAndKeepsTheRest) {
    EXPECT_EQ(escapeControls(GetParam().text), GetParam().shown);
    EXPECT_TRUE(isValid(escapeControls(GetParam().text)));
}

INSTANTIATE_TEST_SUITE_P(Texts, EscapeControlsTest,
                         ::testing::Values(EscapeCase{"开奖(2024年5月3日) a\\b", "开奖(2024年5月3日) a\\b"},
                                           EscapeCase{"\x1b[2J\x07title", "\\x1b[2J\\x07title"},
                                           EscapeCase{"line\r\nforged\tcell", "line\\r\\nforged\\tcell"},
                                           EscapeCase{std::string("nul\0del\x7f", 8), "nul\\x00del\\x7f"},
                                           EscapeCase{"\xc2\x9b"
                                                      "31m",
                                                      "\\u009b31m"}, // CSI as a C1 character
                                           EscapeCase{"\x9b"
                                                      "31m\xff",
                                                      "\\x9b31m\\xff"}, // the same as stray bytes
                                           EscapeCase{"abc\xe2\x80\xaetxt.exe",
                                                      "abc\\u202etxt.exe"}, // right-to-left override
                                           EscapeCase{"\xc2\xa0\xe2\x80\x8b😀", "\xc2\xa0\xe2\x80\x8b😀"}));

TEST(Utf8, SlicesByCharacters) {
    EXPECT_EQ(charAt("甲乙丙", 1), "乙");
    EXPECT_EQ(charAt("甲乙丙", 3), "");
    EXPECT_EQ(first("甲乙丙", 2), "甲乙");
    EXPECT_EQ(first("甲", 5), "甲");
    EXPECT_EQ(last("12345", 3), "345");
    EXPECT_EQ(last("甲乙丙", 1), "丙");
    EXPECT_EQ(last("甲", 4), "甲");
    EXPECT_EQ(slice("01甲02", 2, 2), "甲0");
    EXPECT_EQ(slice("0102", 3, 2), "2");
    EXPECT_EQ(slice("0102", 4, 2), "");
}

TEST(Utf8, FindMatchesOnCharacterBoundariesOnly) {
    EXPECT_EQ(find("甲乙丙", "乙丙"), 1);
    EXPECT_EQ(find("甲乙丙", ""), 0);
    EXPECT_EQ(find("甲乙丙", "丁"), -1);
    // The last byte of 甲 is a continuation byte: it must not be found inside the character.
    const std::string tail = std::string("甲").substr(2);
    EXPECT_EQ(find("甲乙", tail), -1);
}

TEST(Utf8, TrimsOnlySurroundingBlanks) {
    EXPECT_EQ(trimBlanks("  12 3\t\r\n"), "12 3");
    EXPECT_EQ(trimBlanks("   "), "");
}

// Page texts arrive with "&nbsp;" (U+00A0) and full-width spaces (U+3000) around them; a
// character that merely shares a lead byte with U+3000 (U+3001 、) stays.
TEST(Utf8, TrimsUnicodeSpacesOfPageTexts) {
    EXPECT_EQ(trimSpaces("\xC2\xA0 2024123期\xE3\x80\x80\n"), "2024123期");
    EXPECT_EQ(trimSpaces("\xE3\x80\x81x\xC2\xA0\xE3\x80\x80"), "\xE3\x80\x81x");
    EXPECT_EQ(trimSpaces("\xE3\x80\x80\xC2\xA0"), "");
    EXPECT_EQ(trimBlanks("\xC2\xA0x"), "\xC2\xA0x"); // trimBlanks is ASCII only
}

} // namespace quenmar::utf8
