#include "draws/DrawsPanelLayout.h"

#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace quenmar::draws {

// Readable failure messages for the layout's value types.
void PrintTo(const PanelRect& rect, std::ostream* os) {
    *os << "{" << rect.x << ", " << rect.y << ", " << rect.width << ", " << rect.height << "}";
}
void PrintTo(const Rgb& colour, std::ostream* os) {
    *os << "rgb(" << colour.red << ", " << colour.green << ", " << colour.blue << ")";
}
void PrintTo(const PanelLabel& label, std::ostream* os) {
    *os << "\"" << label.text << "\" at ";
    PrintTo(label.rect, os);
    if (label.colour) {
        *os << " in ";
        PrintTo(*label.colour, os);
    }
}

namespace {

// Width and height differ so that a swapped axis shows.
constexpr CharCell kCell{12, 14};

std::vector<std::string> texts(const std::vector<PanelLabel>& labels) {
    std::vector<std::string> list;
    for (const PanelLabel& label : labels) {
        list.push_back(label.text);
    }
    return list;
}

std::vector<Rgb> colours(const std::vector<PanelLabel>& labels) {
    std::vector<Rgb> list;
    for (const PanelLabel& label : labels) {
        list.push_back(label.colour.value_or(Rgb{-1, -1, -1}));
    }
    return list;
}

std::vector<Rgb> repeat(Rgb colour, int count, std::vector<Rgb> tail = {}) {
    std::vector<Rgb> list(static_cast<std::size_t>(count), colour);
    list.insert(list.end(), tail.begin(), tail.end());
    return list;
}

TEST(DrawsPanelLayout, Happy8PlacesTwoRowsOfTenUnderTheTitleLine) {
    const auto layout =
        layoutLatestDraw(0, "0307111418222529313640444751586266707379", "2024-05-01", "2024123期", kCell);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->lineLabels, (std::vector<PanelLabel>{
                                      {"快乐8最新开奖:", {10, 10, 96, 14}, {}},
                                      {"2024-05-01", {116, 10, 120, 14}, {}},
                                      {"2024123期", {246, 10, 96, 14}, {}},
                                      {"开奖号码:", {10, 34, 60, 14}, {}},
                                  }));
    ASSERT_EQ(layout->numberLabels.size(), 20u);
    EXPECT_EQ(texts(layout->numberLabels),
              (std::vector<std::string>{"03", "07", "11", "14", "18", "22", "25", "29", "31", "36",
                                        "40", "44", "47", "51", "58", "62", "66", "70", "73", "79"}));
    EXPECT_EQ(colours(layout->numberLabels), repeat(kNumberRed, 20));
    for (int i = 0; i < 10; ++i) {
        const PanelRect first{80 + i * 22, 34, 12, 14};
        const PanelRect second{80 + i * 22, 58, 12, 14}; // aligned under row 1
        EXPECT_EQ(layout->numberLabels[static_cast<std::size_t>(i)].rect, first) << i;
        EXPECT_EQ(layout->numberLabels[static_cast<std::size_t>(i + 10)].rect, second) << i;
    }
    EXPECT_EQ(layout->refreshButton, (PanelRect{392, 10, 32, 32}));
    EXPECT_EQ(layout->width, 434);
    EXPECT_EQ(layout->height, 82);
}

TEST(DrawsPanelLayout, PlaceholderSpreadsItsMessageOverTheNumberLabels) {
    const DrawsPanelLayout layout = layoutPlaceholder(kCell);
    EXPECT_EQ(texts(layout.lineLabels),
              (std::vector<std::string>{"快乐8最新开奖:", "开奖最后日期", "开奖最后期号", "开奖号码:"}));
    EXPECT_EQ(
        texts(layout.numberLabels),
        (std::vector<std::string>{"最 ", "新 ", "开 ", "奖 ", "数 ", "据 ", "正 ", "在 ", "更 ", "新 ",
                                  "请 ", "确 ", "认 ", "您 ", "已 ", "连 ", "接 ", "网 ", "络 ", "！"}));
    EXPECT_EQ(layout.lineLabels[2].rect, (PanelRect{198, 10, 72, 14}));
    EXPECT_EQ(layout.refreshButton, (PanelRect{320, 10, 32, 32}));
    EXPECT_EQ(layout.width, 362);
}

TEST(DrawsPanelLayout, ArrangementFiveShowsFiveDigitsAndTheFirstThreeAgain) {
    const auto layout = layoutLatestDraw(5, "12345", "2024-05-06", "24118期", kCell);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(texts(layout->lineLabels),
              (std::vector<std::string>{"排列三五最新开奖:", "2024-05-06", "24118期", "排列五:", "排列三:"}));
    EXPECT_EQ(layout->lineLabels[3].rect, (PanelRect{10, 34, 48, 14}));
    EXPECT_EQ(layout->lineLabels[4].rect, (PanelRect{10, 58, 48, 14}));
    EXPECT_EQ(texts(layout->numberLabels),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "1", "2", "3"}));
    EXPECT_EQ(colours(layout->numberLabels), repeat(kNumberOrange, 8));
    EXPECT_EQ(layout->numberLabels[0].rect, (PanelRect{68, 34, 12, 14}));
    EXPECT_EQ(layout->numberLabels[5].rect, (PanelRect{68, 58, 12, 14}));
    EXPECT_EQ(layout->numberLabels[7].rect, (PanelRect{112, 58, 12, 14}));
    EXPECT_EQ(layout->height, 82);
}

TEST(DrawsPanelLayout, AnEmptyIssueStillGetsAZeroWidthLabel) {
    const auto layout = layoutLatestDraw(1, "03091422273112", "2024-05-05", "", kCell);
    ASSERT_TRUE(layout.has_value());
    // title 8 cells (96) + date 10 cells (120) + 80
    EXPECT_EQ(layout->lineLabels[2], (PanelLabel{"", {246, 10, 0, 14}, {}}));
    EXPECT_EQ(layout->refreshButton.x, 96 + 120 + 80);
}

TEST(DrawsPanelLayout, ShortTextsLeaveLaterLabelsEmptyAndThePanelWideEnoughForTheNumbers) {
    const auto layout = layoutLatestDraw(0, "0102", "", "", kCell);
    ASSERT_TRUE(layout.has_value());
    ASSERT_EQ(layout->numberLabels.size(), 20u);
    EXPECT_EQ(layout->numberLabels[1].text, "02");
    EXPECT_EQ(layout->numberLabels[2].text, "");
    EXPECT_EQ(layout->numberLabels[19].text, "");
    // The button sits at 96 + 80 = 176 (right edge 208); the numbers reach 80 + 9 * 22 + 12.
    EXPECT_EQ(layout->refreshButton.x, 176);
    EXPECT_EQ(layout->width, 290 + 10);
}

struct KindCase {
    int kind;
    const char* title;
    const char* numbers;
    std::vector<std::string> cuts;
    std::vector<Rgb> colours;
};

class DrawsPanelKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(DrawsPanelKinds, CutsAndColoursTheNumbers) {
    const KindCase& c = GetParam();
    const auto layout = layoutLatestDraw(c.kind, c.numbers, "d", "i", kCell);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->lineLabels.at(0).text, c.title);
    EXPECT_EQ(layout->lineLabels.at(3).text, "开奖号码:");
    EXPECT_EQ(texts(layout->numberLabels), c.cuts);
    EXPECT_EQ(colours(layout->numberLabels), c.colours);
    EXPECT_EQ(drawTitle(c.kind), c.title);
    for (const PanelLabel& label : layout->numberLabels) {
        EXPECT_EQ(label.rect.y, 34);
    }
}

INSTANTIATE_TEST_SUITE_P(
    OneRow, DrawsPanelKinds,
    ::testing::Values(KindCase{1,
                               "双色球最新开奖:",
                               "03091422273112",
                               {"03", "09", "14", "22", "27", "31", "12"},
                               repeat(kNumberRed, 6, {kNumberBlue})},
                      KindCase{2,
                               "七乐彩最新开奖:",
                               "0206111720242913",
                               {"02", "06", "11", "17", "20", "24", "29", "13"},
                               repeat(kNumberRed, 7, {kNumberBlue})},
                      KindCase{3, "福彩3D最新开奖:", "528", {"5", "2", "8"}, repeat(kNumberRed, 3)},
                      KindCase{4,
                               "大乐透最新开奖:",
                               "05132128330411",
                               {"05", "13", "21", "28", "33", "04", "11"},
                               repeat(kNumberOrange, 5, {kNumberBlue, kNumberBlue})},
                      KindCase{6,
                               "七星彩最新开奖:",
                               "1638029",
                               {"1", "6", "3", "8", "0", "2", "9"},
                               repeat(kNumberOrange, 6, {kNumberBlue})},
                      // Longer texts are cut at the same places; the rest is not shown.
                      KindCase{3, "福彩3D最新开奖:", "52899", {"5", "2", "8"}, repeat(kNumberRed, 3)}));

TEST(DrawsPanelLayout, UnknownKindsHaveNoLayout) {
    EXPECT_FALSE(layoutLatestDraw(7, "", "", "", kCell).has_value());
    EXPECT_FALSE(layoutLatestDraw(-1, "", "", "", kCell).has_value());
    EXPECT_EQ(drawTitle(7), "");
}

TEST(DrawsPanelLayout, WidthsCountCharactersNotBytes) {
    const auto layout = layoutLatestDraw(3,
                                         "5\xE2\x82\xAC"
                                         "8",
                                         "二〇二四",
                                         "\xFF"
                                         "期",
                                         kCell);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->lineLabels[1].rect.width, 4 * 12);
    EXPECT_EQ(layout->lineLabels[2].rect.width, 2 * 12); // a malformed byte is one character
    EXPECT_EQ(texts(layout->numberLabels), (std::vector<std::string>{"5", "\xE2\x82\xAC", "8"}));
}

} // namespace
} // namespace quenmar::draws
