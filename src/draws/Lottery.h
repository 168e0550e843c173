#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The lotteries whose latest draw the program shows, by lottery code, and where each one's
// draw is found.
namespace quenmar::draws {

struct DrawResult;

enum class DrawSource {
    DailyDrawPage,    // the dedicated 快乐8 page of the results site
    ResultsTablePage, // the summary table on the front page of the second results site
};

/// What one zone of a draw holds: `count` numbers of `width` digits each (width 0: the zone is
/// a single number of one or two digits), each from `low` to `high`, all different when
/// `distinct`. A zone of count 0 is empty.
struct NumberZone {
    int count = 0;
    int width = 2;
    int low = 1;
    int high = 0;
    bool distinct = false;
};

struct Lottery {
    int code;
    std::string_view name;
    DrawSource source;
    int group;                  // results table: the tbody, 1-based
    int row;                    // results table: the row within it, 1-based
    std::string_view mainClass; // results table: class of the main-zone number spans
    bool showsExtra;            // the display gets main and extra numbers joined
    NumberZone mainZone;        // what a real draw holds in each zone
    NumberZone extraZone;
};

inline constexpr int kFirstLotteryCode = 100;

// 大乐透 shows its two blue numbers after the five main ones, so its extra zone is handed
// on like that of every other lottery with one. The zones are the games' own rules: a page
// whose draw breaks them is not showing a draw (七星彩's last number runs to 14, of which the
// display shows the first digit, as it always has).
// clang-format off
inline constexpr std::array<Lottery, 7> kLotteries{{
    {100, "快乐8",  DrawSource::DailyDrawPage,    0, 0, "",       false, {20, 2, 1, 80, true}, {}},
    {101, "双色球", DrawSource::ResultsTablePage, 1, 3, "red",    true,  {6, 2, 1, 33, true},  {1, 2, 1, 16}},
    {102, "七乐彩", DrawSource::ResultsTablePage, 1, 5, "red",    true,  {7, 2, 1, 30, true},  {1, 2, 1, 30}},
    {103, "福彩3D", DrawSource::ResultsTablePage, 1, 4, "red",    false, {3, 1, 0, 9},         {}},
    {104, "大乐透", DrawSource::ResultsTablePage, 2, 3, "yellow", true,  {5, 2, 1, 35, true},  {2, 2, 1, 12, true}},
    {105, "排列五", DrawSource::ResultsTablePage, 2, 5, "yellow", false, {5, 1, 0, 9},         {}},
    {106, "七星彩", DrawSource::ResultsTablePage, 2, 6, "yellow", true,  {6, 1, 0, 9},         {1, 0, 0, 14}},
}};
// clang-format on

/// The longest issue or date text a draw may carry, in characters.
inline constexpr std::size_t kMaxDrawTextLength = 32;

/// The lottery of `code`; nothing outside 100..106.
std::optional<Lottery> lotteryByCode(int code);

/// The numbers text the display gets for a draw of `lottery`.
std::string displayNumbers(const Lottery& lottery, const DrawResult& draw);

/// Why `draw` cannot be a draw of `lottery`, in plain words ("主号码不是01至33之间的6个不同号码");
/// nothing when it can. A page without a draw (both zones empty) passes: it is the site's answer, not a
/// damaged one. Issue and date may hold at most kMaxDrawTextLength characters. The words never quote the
/// page.
std::optional<std::string> implausibility(const Lottery& lottery, const DrawResult& draw);

} // namespace quenmar::draws
