#include "draws/DrawsPanelLayout.h"

#include "base/Utf8.h"

#include <algorithm>
#include <array>

namespace quenmar::draws {

namespace {

constexpr int kMargin = 10; // the gap between labels and around the panel's content
constexpr int kButtonGap = 50;
constexpr std::string_view kNumbersCaption = "开奖号码:";

// One row of number labels: its caption (none: aligned under row 1's numbers), the width of
// each cut in characters, where the first cut starts, and how many cuts there are.
struct RowSpec {
    std::string_view caption;
    int cutWidth = 2;
    int firstChar = 0;
    int count = 0;
};

// How one display kind lays out its numbers: the rows, and the colour of each number by its
// 1-based position in the row: `mainColour` up to `mainCount`, `extraColour` after it.
struct KindSpec {
    std::string_view title;
    std::array<RowSpec, 2> rows;
    int rowCount = 1;
    Rgb mainColour;
    int mainCount = 0;
    Rgb extraColour;
};

constexpr std::array<KindSpec, 7> kKinds{{
    {"快乐8最新开奖:", {{{kNumbersCaption, 2, 0, 10}, {"", 2, 20, 10}}}, 2, kNumberRed, 20, kNumberRed},
    {"双色球最新开奖:", {{{kNumbersCaption, 2, 0, 7}, {}}}, 1, kNumberRed, 6, kNumberBlue},
    {"七乐彩最新开奖:", {{{kNumbersCaption, 2, 0, 8}, {}}}, 1, kNumberRed, 7, kNumberBlue},
    {"福彩3D最新开奖:", {{{kNumbersCaption, 1, 0, 3}, {}}}, 1, kNumberRed, 3, kNumberRed},
    {"大乐透最新开奖:", {{{kNumbersCaption, 2, 0, 7}, {}}}, 1, kNumberOrange, 5, kNumberBlue},
    {"排列三五最新开奖:", {{{"排列五:", 1, 0, 5}, {"排列三:", 1, 0, 3}}}, 2, kNumberOrange, 5, kNumberOrange},
    {"七星彩最新开奖:", {{{kNumbersCaption, 1, 0, 7}, {}}}, 1, kNumberOrange, 6, kNumberBlue},
}};

int cellsWide(std::string_view text, CharCell cell) {
    return static_cast<int>(utf8::length(text)) * cell.width;
}

} // namespace

std::string_view drawTitle(int kind) {
    return kind >= 0 && kind < static_cast<int>(kKinds.size()) ? kKinds[static_cast<std::size_t>(kind)].title
                                                               : std::string_view();
}

std::optional<DrawsPanelLayout> layoutLatestDraw(int kind, std::string_view numbersText,
                                                 std::string_view dateText, std::string_view issueText,
                                                 CharCell cell) {
    if (kind < 0 || kind >= static_cast<int>(kKinds.size())) {
        return std::nullopt;
    }
    const KindSpec& spec = kKinds[static_cast<std::size_t>(kind)];
    DrawsPanelLayout layout;

    const int titleWidth = cellsWide(spec.title, cell);
    const int dateWidth = cellsWide(dateText, cell);
    const int issueWidth = cellsWide(issueText, cell);
    layout.lineLabels.push_back({std::string(spec.title), {kMargin, kMargin, titleWidth, cell.height}, {}});
    layout.lineLabels.push_back(
        {std::string(dateText), {titleWidth + 2 * kMargin, kMargin, dateWidth, cell.height}, {}});
    const PanelRect issueRect{titleWidth + dateWidth + 3 * kMargin, kMargin, issueWidth, cell.height};
    layout.lineLabels.push_back({std::string(issueText), issueRect, {}});
    layout.refreshButton = {issueRect.right() + kButtonGap, kMargin, kRefreshButtonSize, kRefreshButtonSize};

    int firstNumberX = 0;
    for (int r = 0; r < spec.rowCount; ++r) {
        const RowSpec& row = spec.rows[static_cast<std::size_t>(r)];
        const int y = r == 0 ? cell.height + 2 * kMargin : 2 * cell.height + 3 * kMargin;
        int x = firstNumberX;
        if (r == 0 || !row.caption.empty()) {
            const int captionWidth = cellsWide(row.caption, cell);
            layout.lineLabels.push_back(
                {std::string(row.caption), {kMargin, y, captionWidth, cell.height}, {}});
            x = kMargin + captionWidth + kMargin;
        }
        if (r == 0) {
            firstNumberX = x;
        }
        for (int i = 0; i < row.count; ++i) {
            const auto first = static_cast<std::size_t>(row.firstChar + i * row.cutWidth);
            const int position = (r == 0 || !row.caption.empty()) ? i + 1 : spec.rows[0].count + i + 1;
            const Rgb colour = position <= spec.mainCount ? spec.mainColour : spec.extraColour;
            layout.numberLabels.push_back(
                {std::string(utf8::slice(numbersText, first, static_cast<std::size_t>(row.cutWidth))),
                 {x, y, cell.width, cell.height},
                 colour});
            x += cell.width + kMargin;
        }
    }

    // The panel reaches past the refresh button; a short date and issue must not clip the
    // number rows, which can then reach further than the button.
    int right = layout.refreshButton.right();
    int bottom = layout.refreshButton.bottom();
    for (const PanelLabel& label : layout.lineLabels) {
        right = std::max(right, label.rect.right());
        bottom = std::max(bottom, label.rect.bottom());
    }
    for (const PanelLabel& label : layout.numberLabels) {
        right = std::max(right, label.rect.right());
        bottom = std::max(bottom, label.rect.bottom());
    }
    layout.width = right + kMargin;
    layout.height = bottom + kMargin;
    return layout;
}

DrawsPanelLayout layoutPlaceholder(CharCell cell) {
    return *layoutLatestDraw(0, kPlaceholderNumbers, kPlaceholderDate, kPlaceholderIssue, cell);
}

} // namespace quenmar::draws
