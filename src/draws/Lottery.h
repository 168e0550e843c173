#pragma once

#include <array>
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

struct Lottery {
    int code;
    std::string_view name;
    DrawSource source;
    int group;                  // results table: the tbody, 1-based
    int row;                    // results table: the row within it, 1-based
    std::string_view mainClass; // results table: class of the main-zone number spans
    bool showsExtra;            // the display gets main and extra numbers joined
};

inline constexpr int kFirstLotteryCode = 100;

// 大乐透 shows its two blue numbers after the five main ones, so its extra zone is handed
// on like that of every other lottery with one.
inline constexpr std::array<Lottery, 7> kLotteries{{
    {100, "快乐8", DrawSource::DailyDrawPage, 0, 0, "", false},
    {101, "双色球", DrawSource::ResultsTablePage, 1, 3, "red", true},
    {102, "七乐彩", DrawSource::ResultsTablePage, 1, 5, "red", true},
    {103, "福彩3D", DrawSource::ResultsTablePage, 1, 4, "red", false},
    {104, "大乐透", DrawSource::ResultsTablePage, 2, 3, "yellow", true},
    {105, "排列五", DrawSource::ResultsTablePage, 2, 5, "yellow", false},
    {106, "七星彩", DrawSource::ResultsTablePage, 2, 6, "yellow", true},
}};

/// The lottery of `code`; nothing outside 100..106.
std::optional<Lottery> lotteryByCode(int code);

/// The numbers text the display gets for a draw of `lottery`.
std::string displayNumbers(const Lottery& lottery, const DrawResult& draw);

} // namespace quenmar::draws
