#include "support/TextCodec.h"

#include <gtest/gtest.h>

namespace quenmar::support {
namespace {

// "快乐8" in GB2312: two double-byte characters and an ASCII digit.
const std::string kHappy8Gb = "\xBF\xEC\xC0\xD6"
                              "8";
// 镕 (U+9555) is in GBK but not in GB2312; pages labelled GB2312 carry such characters.
const std::string kRongGbk = "\xE9\x46";
// 𠀀 (U+20000) needs GB18030's four-byte form.
const std::string kFourByteGb18030 = "\x95\x32\x82\x36";

TEST(TextCodec, ConvertsGb2312ToUtf8) {
    EXPECT_EQ(convertToUtf8(kHappy8Gb, "GB2312"), "快乐8");
    EXPECT_EQ(decodeGbPage(kHappy8Gb), "快乐8");
}

TEST(TextCodec, StrictGb2312RefusesAGbkCharacterThatThePageDecoderReads) {
    EXPECT_EQ(convertToUtf8("a" + kRongGbk, "GB2312"), std::nullopt);
    EXPECT_EQ(decodeGbPage("a" + kRongGbk), "a镕");
}

TEST(TextCodec, ReadsGb18030FourByteCharacters) {
    EXPECT_EQ(decodeGbPage(kFourByteGb18030 + "x"), "\xF0\xA0\x80\x80x");
}

TEST(TextCodec, ALone0x80FallsBackToCp936) {
    // GB18030 refuses the single byte 0x80; CP936 reads it as the euro sign.
    EXPECT_EQ(convertToUtf8("1\x80"
                            "2",
                            "GB18030"),
              std::nullopt);
    EXPECT_EQ(decodeGbPage("1\x80"
                           "2"),
              "1€2");
}

TEST(TextCodec, UnreadableBytesCostOneCharacterEachNotThePage) {
    // 0xFF is no lead byte in GB18030 or CP936; a trailing 0xB0 is a cut-off character.
    EXPECT_EQ(decodeGbPage(kHappy8Gb + "\xFF" + kHappy8Gb + "\xB0"), "快乐8\xEF\xBF\xBD快乐8\xEF\xBF\xBD");
}

TEST(TextCodec, EmptyAndLargeTexts) {
    EXPECT_EQ(decodeGbPage(""), "");
    std::string big;
    std::string expected;
    for (int i = 0; i < 20000; ++i) { // well past the converter's chunk size
        big += kHappy8Gb;
        expected += "快乐8";
    }
    EXPECT_EQ(decodeGbPage(big), expected);
}

TEST(TextCodec, UnknownCharsetGivesNothing) {
    EXPECT_EQ(convertToUtf8("abc", "NO-SUCH-CHARSET"), std::nullopt);
}

TEST(TextCodec, Utf8ValidationThroughIconv) {
    EXPECT_EQ(convertToUtf8("快乐8", "UTF-8"), "快乐8");
    EXPECT_EQ(convertToUtf8("\xC3", "UTF-8"), std::nullopt);
}

} // namespace
} // namespace quenmar::support
