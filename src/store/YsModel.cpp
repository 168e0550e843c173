#include "store/YsModel.h"

#include "base/Utf8.h"
#include "engine/Moment.h"

#include <climits>

namespace quenmar::store {

namespace {

constexpr std::size_t kLineCount = 6;

// Decimal digits after an optional sign up to the first other character, saturating at
// the ends of int rather than wrapping.
int leadingInteger(std::string_view part) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < part.size() && (part[pos] == '+' || part[pos] == '-')) {
        negative = part[pos] == '-';
        ++pos;
    }
    long long value = 0;
    for (; pos < part.size() && part[pos] >= '0' && part[pos] <= '9'; ++pos) {
        value = value * 10 + (part[pos] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        return static_cast<int>(-value);
    }
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

} // namespace

void parseMovingFlags(std::string_view text, std::vector<int>& flags) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            comma = text.size();
        }
        const std::string_view part = utf8::trimBlanks(text.substr(start, comma - start));
        if (!part.empty()) {
            flags.push_back(leadingInteger(part));
        }
        start = comma + 1;
    }
}

std::string formatMovingFlags(const std::vector<int>& flags) {
    std::string text;
    for (const int flag : flags) {
        text += std::to_string(flag);
        text += ',';
    }
    if (!text.empty()) {
        text.pop_back();
    }
    return text;
}

std::string recordTitle(std::string_view userTitle, double moment) {
    std::string title(userTitle);
    title += '(';
    title += dateTimeText(moment);
    title += ')';
    return title;
}

YsModel modelFromChart(const ChartResult& chart, std::string_view userTitle, std::string_view notes) {
    YsModel model;
    model.ysindex = static_cast<int>(chart.method);
    model.ysnumber = chart.numberText;
    model.ysday = chart.moment;
    // The chart's moving marks are the record's moving flags, one per line.
    parseMovingFlags(formatMovingFlags(chart.movingMarks), model.dong);
    model.gzsxid = chart.zodiac;
    model.rot = static_cast<int>(chart.timeChoice);
    model.upstr = chart.upperLines;
    model.downstr = chart.lowerLines;
    model.uinfo = notes;
    model.ysname = recordTitle(userTitle, model.ysday);
    return model;
}

CastRequest requestFromModel(const YsModel& model) {
    CastRequest request;
    request.recordId = model._id;
    request.method = static_cast<CastMethod>(model.ysindex);
    request.zodiac = model.gzsxid;
    request.moment = model.ysday;
    // The number box keeps its text trimmed, and a restored number passes through it.
    request.numberText = model.ysindex == static_cast<int>(CastMethod::ByNumber)
                             ? std::string(utf8::trimBlanks(model.ysnumber))
                             : model.ysnumber;
    request.upperLines = model.upstr;
    request.lowerLines = model.downstr;
    request.timeChoice = static_cast<TimeChoice>(model.rot);
    // A file edited by hand may hold more or fewer flags than the six lines.
    request.movingFlags.assign(kLineCount, 0);
    for (std::size_t i = 0; i < kLineCount && i < model.dong.size(); ++i) {
        request.movingFlags[i] = model.dong[i];
    }
    return request;
}

} // namespace quenmar::store
