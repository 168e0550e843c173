#pragma once

#include <array>
#include <string>
#include <string_view>

// The fixed knowledge of the chart: stems, branches, trigrams, elements, relations, spirits,
// the na-jia tables, the 64 names in palace order and the two digit tables. Every table is
// a constant text looked up by position; a lookup of a text that is not in its table has a
// defined answer (usually 0 or an empty text), listed with each function.
namespace quenmar {

namespace tables {
inline constexpr std::string_view Stems = "甲乙丙丁戊己庚辛壬癸";
inline constexpr std::string_view Branches = "子丑寅卯辰巳午未申酉戌亥";
inline constexpr std::string_view StemDigits = "3827504916";
inline constexpr std::string_view BranchDigits = "103857204956";
inline constexpr std::string_view ElementNames = "金木水火土";
inline constexpr std::string_view BranchElements = "水土木木土火火土金金土水";
inline constexpr std::string_view TrigramNames = "乾兑离震巽坎艮坤";
inline constexpr std::array<std::string_view, 8> TrigramLines = {"111", "110", "101", "100",
                                                                 "011", "010", "001", "000"};
inline constexpr std::string_view TrigramElements = "金金火木木水土土";
inline constexpr std::string_view RelationNames = "兄弟父母妻财官鬼子孙";
inline constexpr std::string_view SpiritNames = "青龙白虎玄武腾蛇朱雀勾陈";
inline constexpr std::array<std::string_view, 6> SpiritOrders = {
    "青龙朱雀勾陈腾蛇白虎玄武", // 甲 乙
    "朱雀勾陈腾蛇白虎玄武青龙", // 丙 丁
    "勾陈腾蛇白虎玄武青龙朱雀", // 戊
    "腾蛇白虎玄武青龙朱雀勾陈", // 己
    "白虎玄武青龙朱雀勾陈腾蛇", // 庚 辛
    "玄武青龙朱雀勾陈腾蛇白虎", // 壬 癸 and anything else
};
inline constexpr std::string_view InnerStems = "甲丁己庚辛戊丙乙";
inline constexpr std::string_view OuterStems = "壬丁己庚辛戊丙癸";
inline constexpr std::string_view InnerStartBranches = "子巳卯子丑寅辰未";
inline constexpr std::string_view OuterStartBranches = "午亥酉午未申戌丑";
inline constexpr std::string_view YangBranchRun = "子寅辰午申戌";
inline constexpr std::string_view YinBranchRun = "亥酉未巳卯丑";
inline constexpr std::string_view GeneratingCycle = "13245";
inline constexpr std::string_view ControllingCycle = "12534";
inline constexpr std::string_view SoulNames = "游魂归魂";
inline constexpr std::string_view HexagramNames =
    "乾为天,天风姤,天山遁,天地否,风地观,山地剥,火地晋,火天大有,"
    "兑为泽,泽水困,泽地萃,泽山咸,水山蹇,地山谦,雷山小过,雷泽归妹,"
    "离为火,火山旅,火风鼎,火水未济,山水蒙,风水涣,天水讼,天火同人,"
    "震为雷,雷地豫,雷水解,雷风恒,地风升,水风井,泽风大过,泽雷随,"
    "巽为风,风天小畜,风火家人,风雷益,天雷无妄,火雷噬嗑,山雷颐,山风蛊,"
    "坎为水,水泽节,水雷屯,水火既济,泽火革,雷火丰,地火明夷,地水师,"
    "艮为山,山火贲,山天大畜,山泽损,火泽睽,天泽履,风泽中孚,风山渐,"
    "坤为地,地雷复,地泽临,地天泰,雷天大壮,泽天夬,水天需,水地比";
inline constexpr std::string_view ChartTitles = "本卦变卦";
inline constexpr std::string_view ChartColumns =
    "六神,六亲,干支,五行,卦象,世应,动爻,六亲,干支,五行,卦象,世应";
inline constexpr std::array<std::string_view, 6> LineLabels = {
    "初爻:", "二爻:", "三爻:", "四爻:", "五爻:", "六爻:"};
} // namespace tables

/// The entries of a comma-separated table (the names, the column titles), split at compile
/// time; entries past the last comma are empty.
template <std::size_t N>
constexpr std::array<std::string_view, N> splitAtCommas(std::string_view table) {
    std::array<std::string_view, N> entries{};
    for (auto& entry : entries) {
        const std::size_t comma = table.find(',');
        entry = table.substr(0, comma);
        table = comma == std::string_view::npos ? std::string_view{} : table.substr(comma + 1);
    }
    return entries;
}

/// 0-based position of a text in one of the one-character-per-entry tables above (the
/// first occurrence on a character boundary); 0 for an empty text; -1 when absent.
int tableIndex(std::string_view table, std::string_view text);
/// Entry `index` (0-based) of a one-character-per-entry table; empty outside it.
std::string_view tableEntry(std::string_view table, int index);

/// 1 + position of the text in the stems; 0 when absent; 1 for an empty text.
int stemNumber(std::string_view stem);
/// Entry n (1-based) of the stems, branches or trigram names; empty outside the table.
std::string_view stemText(int n);
std::string_view branchText(int n);
std::string_view trigramName(int n);
/// 1 + position of the text in the branches; 0 when absent; 1 for an empty text.
int branchNumber(std::string_view branch);
/// Element of a branch; empty when the text is not a branch, 水 for an empty text.
std::string_view branchElement(std::string_view branch);
/// 1 + position in 金木水火土; 0 when absent; 1 for an empty text.
int elementNumber(std::string_view element);
/// Entry n of 金木水火土; empty outside 1..5.
std::string_view elementName(int n);
/// Digit of a stem; 0 when the text is not a stem, 3 (the digit of 甲) for an empty text.
int stemDigit(std::string_view stem);
/// Digit of a branch; 0 when the text is not a branch, 1 for an empty text.
int branchDigit(std::string_view branch);
/// The three lines of trigram n, bottom first; "000" for any n outside 1..7.
std::string_view trigramLines(int n);
/// The trigram whose lines equal the text; 8 (坤) for every other text.
int trigramNumber(std::string_view lines);
/// Each "0" becomes "1", every other character "0".
std::string flipLines(std::string_view lines);
/// 1 游魂, 2 归魂, anything else an empty text.
std::string_view soulText(int kind);
/// Entry (palace − 1) × 8 + generation of the names; empty outside the 64 entries.
std::string_view hexagramName(int palace, int generation);
/// Relation name for index 0..4 (兄弟 父母 妻财 官鬼 子孙); empty otherwise.
std::string_view relationName(int index);
/// The six spirits of lines 1..6 for a day stem number.
std::array<std::string_view, 6> spiritOrder(int dayStemNumber);
/// Entry n of 本卦/变卦 (1 primary, 2 changed); empty otherwise.
std::string_view chartTitleText(int n);
/// Element of a trigram (gives the palace element); empty outside 1..8.
std::string_view trigramElement(int n);

} // namespace quenmar
