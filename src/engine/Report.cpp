#include "engine/Report.h"

#include "engine/Moment.h"
#include "engine/Tables.h"

#include <array>
#include <charconv>

namespace quenmar {

using namespace std::string_view_literals;

namespace {

constexpr std::string_view kEol = "\r\n";

std::string_view methodLabel(CastMethod method) {
    switch (method) {
    case CastMethod::ByNumber:
        return "数字x起卦";
    case CastMethod::ByHand:
        return "自己装卦";
    case CastMethod::ByMilliseconds:
        return "超时空毫秒起卦";
    default:
        return {};
    }
}

void appendNumber(std::string& out, int n) {
    if (n >= 0 && n <= 9) { // every digit of the report, and most generations
        out += static_cast<char>('0' + n);
        return;
    }
    std::array<char, 12> buffer;
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), n).ptr;
    out.append(buffer.data(), end);
}

// A stem or branch and its digit: "甲->3".
void appendDigitPair(std::string& out, std::string_view name, int digit) {
    out += name;
    out += "->"sv;
    appendNumber(out, digit);
}

// A line of the chart's base digits: "日主:甲->3,子->1".
void appendPillarDigits(std::string& out, std::string_view label, std::string_view stem, int stemDigit,
                        std::string_view branch, int branchDigit) {
    out += label;
    appendDigitPair(out, stem, stemDigit);
    out += ',';
    appendDigitPair(out, branch, branchDigit);
    out += kEol;
}

// "乾宫第7卦)": the palace and the generation of a hexagram in it.
void appendPlace(std::string& out, std::string_view palaceName, int generation) {
    out += palaceName;
    out += "宫第"sv;
    appendNumber(out, generation);
    out += "卦)"sv;
}

template <typename T>
const T& at(const std::vector<T>& values, int index) {
    static const T empty{};
    return index >= 0 && static_cast<std::size_t>(index) < values.size()
               ? values[static_cast<std::size_t>(index)]
               : empty;
}

void appendLineText(std::string& out, const ChartResult& r, int i, std::string_view role, int j) {
    out += at(r.primarySpirits, i);
    out += ',';
    out += at(r.primaryRelations, i);
    out += ",五行属"sv;
    out += at(r.primaryElements, i);
    out += role;
    appendDigitPair(out, at(r.primaryStems, i), at(r.primaryStemDigits, i));
    out += ',';
    appendDigitPair(out, at(r.primaryBranches, i), at(r.primaryBranchDigits, i));
    out += ';';
    out += at(r.movingMarks, i) != 0 ? "发动而变>"sv : "不动而变>"sv;
    out += at(r.changedRelations, j);
    out += ",五行属"sv;
    out += at(r.changedElements, j);
    out += ',';
    appendDigitPair(out, at(r.changedStems, j), at(r.changedStemDigits, j));
    out += ',';
    appendDigitPair(out, at(r.changedBranches, j), at(r.changedBranchDigits, j));
}

} // namespace

std::string chartTitle(CastMethod method, std::string_view text, std::string_view zodiacBranch,
                       std::string_view dayPillar, std::string_view hourPillar) {
    std::string title = "以";
    for (const char c : methodLabel(method)) {
        if (c == 'x') {
            title += text;
        } else {
            title += c;
        }
    }
    title += ",卦主生肖:"sv;
    title += zodiacBranch;
    title += ",日主:"sv;
    title += dayPillar;
    title += ",时辰:"sv;
    title += hourPillar;
    return title;
}

std::string nameLabel(std::string_view prefix, const GuaModel& gua) {
    std::string label(prefix);
    label += ' ';
    label += trigramName(gua.palace);
    label += "宫 ("sv;
    appendNumber(label, gua.generation);
    label += ") "sv;
    label += hexagramName(gua.palace, gua.generation);
    label += ' ';
    label += soulText(gua.soulKind);
    return label;
}

std::string writeReport(const ChartResult& r) {
    std::string out;
    out.reserve(1600);
    out += "卦解:"sv;

    out += "            在"sv;
    out += dateTimeText(r.moment);
    out += "日主:"sv;
    out += r.dayPillar;
    out += ",时辰:"sv;
    out += r.hourPillar;
    out += ",属"sv;
    out += r.zodiacBranch;
    out += "的卦主测得:"sv;
    out += kEol;

    out += "           ("sv;
    appendPlace(out, r.primaryPalaceName, r.primaryGeneration);
    out += r.primaryName;
    out += "变卦为:("sv;
    appendPlace(out, r.changedPalaceName, r.changedGeneration);
    out += r.changedName;
    out += kEol;

    out += "----------以下各种名词为周易专业术语，请以代名词去理解，切勿以字面意义理解而迷信-----------"sv;
    out += kEol;
    out += kEol;

    out += "卦基数:"sv;
    out += kEol;
    appendPillarDigits(out, "日主:", r.dayStem, r.dayStemDigit, r.dayBranch, r.dayBranchDigit);
    out += "卦主:"sv;
    appendDigitPair(out, r.zodiacBranch, r.zodiacDigit);
    out += kEol;
    appendPillarDigits(out, "时辰:", r.hourStem, r.hourStemDigit, r.hourBranch, r.hourBranchDigit);
    out += kEol;

    out += "爻基数:"sv;
    out += kEol;
    const int s = r.shiIndex;
    const int y = r.yingIndex;
    appendLineText(out, r, s, "持世,", s);
    out += kEol;
    appendLineText(out, r, y, "应爻,", r.changedYingIndex);
    out += kEol;
    out += kEol;

    for (int d = 0; d < 6; ++d) {
        if (d == s || d == y) {
            continue;
        }
        out += tables::LineLabels[static_cast<std::size_t>(d)];
        appendLineText(out, r, d, ",", d);
        if (d == r.changedShiIndex) {
            out += "化世"sv;
        } else if (d == r.changedYingIndex) {
            out += "化应"sv;
        }
        out += kEol;
    }
    return out;
}

} // namespace quenmar
