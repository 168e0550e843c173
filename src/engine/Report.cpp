#include "engine/Report.h"

#include "engine/Moment.h"
#include "engine/Tables.h"

namespace quenmar {

namespace {

constexpr std::string_view kEol = "\r\n";

std::string_view methodLabel(int method) {
    switch (method) {
    case 1:
        return "数字x起卦";
    case 2:
        return "自己装卦";
    case 3:
        return "超时空毫秒起卦";
    default:
        return {};
    }
}

template <typename T>
const T& at(const std::vector<T>& values, int index) {
    static const T empty{};
    return index >= 0 && static_cast<std::size_t>(index) < values.size() ? values[static_cast<std::size_t>(index)]
                                                                          : empty;
}

void appendLineText(std::string& out, const ChartResult& r, int i, std::string_view role, int j) {
    out += at(r.primarySpirits, i);
    out += ',';
    out += at(r.primaryRelations, i);
    out += ",五行属";
    out += at(r.primaryElements, i);
    out += role;
    out += at(r.primaryStems, i);
    out += "->";
    out += std::to_string(at(r.primaryStemDigits, i));
    out += ',';
    out += at(r.primaryBranches, i);
    out += "->";
    out += std::to_string(at(r.primaryBranchDigits, i));
    out += ';';
    out += at(r.movingMarks, i) != 0 ? "发动而变>" : "不动而变>";
    out += at(r.changedRelations, j);
    out += ",五行属";
    out += at(r.changedElements, j);
    out += ',';
    out += at(r.changedStems, j);
    out += "->";
    out += std::to_string(at(r.changedStemDigits, j));
    out += ',';
    out += at(r.changedBranches, j);
    out += "->";
    out += std::to_string(at(r.changedBranchDigits, j));
}

} // namespace

std::string chartTitle(int method, std::string_view text, std::string_view zodiacBranch,
                       std::string_view dayPillar, std::string_view hourPillar) {
    std::string title = "以";
    for (const char c : methodLabel(method)) {
        if (c == 'x') {
            title += text;
        } else {
            title += c;
        }
    }
    title += ",卦主生肖:";
    title += zodiacBranch;
    title += ",日主:";
    title += dayPillar;
    title += ",时辰:";
    title += hourPillar;
    return title;
}

std::string nameLabel(std::string_view prefix, const GuaModel& gua) {
    std::string label(prefix);
    label += ' ';
    label += trigramName(gua.palace);
    label += "宫 (";
    label += std::to_string(gua.generation);
    label += ") ";
    label += hexagramName(gua.palace, gua.generation);
    label += ' ';
    label += soulText(gua.soulKind);
    return label;
}

std::string writeReport(const ChartResult& r) {
    std::string out;
    out.reserve(1600);
    out += "卦解:";

    out += "            在";
    out += dateTimeText(r.moment);
    out += "日主:";
    out += r.dayPillar;
    out += ",时辰:";
    out += r.hourPillar;
    out += ",属";
    out += r.zodiacBranch;
    out += "的卦主测得:";
    out += kEol;

    out += "           (";
    out += r.primaryPalaceName;
    out += "宫第";
    out += std::to_string(r.primaryGeneration);
    out += "卦)";
    out += r.primaryName;
    out += "变卦为:(";
    out += r.changedPalaceName;
    out += "宫第";
    out += std::to_string(r.changedGeneration);
    out += "卦)";
    out += r.changedName;
    out += kEol;

    out += "----------以下各种名词为周易专业术语，请以代名词去理解，切勿以字面意义理解而迷信-----------";
    out += kEol;
    out += kEol;

    out += "卦基数:";
    out += kEol;
    out += "日主:" + r.dayStem + "->" + std::to_string(r.dayStemDigit) + "," + r.dayBranch + "->" +
           std::to_string(r.dayBranchDigit);
    out += kEol;
    out += "卦主:" + r.zodiacBranch + "->" + std::to_string(r.zodiacDigit);
    out += kEol;
    out += "时辰:" + r.hourStem + "->" + std::to_string(r.hourStemDigit) + "," + r.hourBranch + "->" +
           std::to_string(r.hourBranchDigit);
    out += kEol;
    out += kEol;

    out += "爻基数:";
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
            out += "化世";
        } else if (d == r.changedYingIndex) {
            out += "化应";
        }
        out += kEol;
    }
    return out;
}

} // namespace quenmar
