#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the draws panel shows, without the window toolkit: every label with its text, colour,
// place and size, the refresh button's place, and the panel's size. The panel only creates
// the labels described here.
namespace quenmar::draws {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kNumberRed{255, 0, 0};
inline constexpr Rgb kNumberBlue{0, 0, 255};
inline constexpr Rgb kNumberOrange{255, 128, 0};

/// The size of one full-width character ("款") in the panel's font: every label's width is
/// counted in these cells, one per character, digits included.
struct CharCell {
    int width = 0;  // O
    int height = 0; // P
};

struct PanelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool operator==(const PanelRect&) const = default;
};

struct PanelLabel {
    std::string text;
    PanelRect rect;
    std::optional<Rgb> colour; // none: the font's ordinary colour
    bool operator==(const PanelLabel&) const = default;
};

struct DrawsPanelLayout {
    std::vector<PanelLabel> lineLabels;   // title, date, issue, then the row captions
    std::vector<PanelLabel> numberLabels; // row 1 left to right, then row 2
    PanelRect refreshButton;
    int width = 0;
    int height = 0;
};

inline constexpr int kRefreshButtonSize = 32;

/// The title of display kind 0..6 ("快乐8最新开奖:" ...); empty for any other kind.
std::string_view drawTitle(int kind);

/// The panel for a draw of display kind 0..6 (the lottery code minus 100); nothing for any
/// other kind. Numbers are cut from `numbersText` at fixed character positions; a cut past
/// its end gives an empty label.
std::optional<DrawsPanelLayout> layoutLatestDraw(int kind, std::string_view numbersText,
                                                 std::string_view dateText, std::string_view issueText,
                                                 CharCell cell);

/// The placeholder shown before the first draw arrives: kind 0 with a message spread over the
/// twenty number labels.
DrawsPanelLayout layoutPlaceholder(CharCell cell);

inline constexpr std::string_view kPlaceholderNumbers =
    "最 新 开 奖 数 据 正 在 更 新 请 确 认 您 已 连 接 网 络 ！";
inline constexpr std::string_view kPlaceholderDate = "开奖最后日期";
inline constexpr std::string_view kPlaceholderIssue = "开奖最后期号";

} // namespace quenmar::draws
