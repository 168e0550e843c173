#include "expert/AnnotationTexts.h"

#include "base/Utf8.h"
#include "engine/Tables.h"
#include "expert/SolarTerms.h"

namespace quenmar {

std::string_view lineName(int line) {
    if (line < 1 || line > 6) {
        return {};
    }
    return utf8::first(tables::LineLabels[static_cast<std::size_t>(line - 1)], 2);
}

std::string fourPillarsText(const Annotations& a) {
    const std::string dayAndHour = a.dayPillar + "日 " + a.hourPillar + "时";
    if (a.yearPillar.empty()) {
        return dayAndHour + " (年柱、月柱只排" + std::to_string(kFirstTermYear) + "至" +
               std::to_string(kLastTermYear) + "年)";
    }
    return a.yearPillar + "年 " + a.monthPillar + "月 " + dayAndHour;
}

std::string solarTermText(const Annotations& a) {
    return a.solarTerm ? a.solarTerm->name + " " + a.solarTerm->moment : std::string();
}

std::string guaShenText(const GuaShen& body) {
    std::string text = body.branch + " (";
    if (body.lines.empty()) {
        text += "不上卦"; // the body's branch stands on none of the six lines
    }
    for (std::size_t i = 0; i < body.lines.size(); ++i) {
        text += i > 0 ? "、" : "";
        text += lineName(body.lines[i]);
    }
    return text + ")";
}

std::string kindText(std::string_view kind) {
    return kind.empty() ? std::string("无") : std::string(kind);
}

std::string hiddenText(const LineAnnotation& line) {
    return line.hidden ? line.hidden->relation + line.hidden->ganzhi + line.hidden->element : std::string();
}

std::string marksText(const LineAnnotation& line) {
    std::string marks;
    marks += line.isVoid ? "空" : "";
    marks += line.monthBreak ? "破" : "";
    marks += line.dayClash ? "冲" : "";
    return marks;
}

} // namespace quenmar
