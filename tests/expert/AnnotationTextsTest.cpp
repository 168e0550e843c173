#include "expert/AnnotationTexts.h"

#include <gtest/gtest.h>

namespace quenmar {

namespace {

TEST(AnnotationTexts, NameTheBodyLinesOrSayTheBodyIsOffTheChart) {
    EXPECT_EQ(guaShenText(GuaShen{"卯", {3}}), "卯 (三爻)");
    EXPECT_EQ(guaShenText(GuaShen{"未", {1, 4}}), "未 (初爻、四爻)");
    EXPECT_EQ(guaShenText(GuaShen{"午", {}}), "午 (不上卦)");
    EXPECT_EQ(lineName(6), "六爻");
    EXPECT_EQ(lineName(7), "");
}

} // namespace

} // namespace quenmar
