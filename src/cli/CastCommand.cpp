#include "cli/CastCommand.h"

#include "cli/CastOutput.h"
#include "cli/HistoryCommand.h"
#include "engine/Moment.h"
#include "base/Utf8.h"
#include "support/LocalClock.h"

#include <charconv>
#include <ostream>

namespace quenmar::cli {

namespace {

constexpr std::string_view kMomentFormat = "时间格式应为 \"YYYY-MM-DD HH:MM:SS[.mmm]\"";

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<int> parseInt(std::string_view text) {
    int value = 0;
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc{} || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> parseMethod(const std::string& text) {
    if (text == "number" || text == "1") {
        return 1;
    }
    if (text == "hand" || text == "2") {
        return 2;
    }
    if (text == "ms" || text == "3") {
        return 3;
    }
    return std::nullopt;
}

std::optional<int> parseTimeChoice(const std::string& text) {
    if (text == "current" || text == "1") {
        return 1;
    }
    if (text == "draw" || text == "2") {
        return 2;
    }
    return std::nullopt;
}

// "DDDDDD", line 1 first: 6 moving yin, 7 yang, 8 yin, 9 moving yang.
bool parseLines(std::string_view text, CastRequest& request) {
    if (text.size() != 6) {
        return false;
    }
    request.lowerLines.clear();
    request.upperLines.clear();
    request.movingFlags.clear();
    for (std::size_t i = 0; i < 6; ++i) {
        char bit = '0';
        int flag = 0;
        switch (text[i]) {
        case '6':
            flag = -1;
            break;
        case '7':
            bit = '1';
            break;
        case '8':
            break;
        case '9':
            bit = '1';
            flag = 1;
            break;
        default:
            return false;
        }
        (i < 3 ? request.lowerLines : request.upperLines) += bit;
        request.movingFlags.push_back(flag);
    }
    return true;
}

} // namespace

const std::set<std::string>& castValueOptions() {
    static const std::set<std::string> options{"method", "zodiac", "number",    "lines",     "moment",
                                               "time",   "game",   kSaveOption, kNotesOption};
    return options;
}

const std::set<std::string>& castFlagOptions() {
    static const std::set<std::string> options{"json"};
    return options;
}

std::optional<double> parseMomentText(const std::string& text) {
    // YYYY-MM-DD HH:MM:SS, then optionally "." and one to three digits of a second.
    const std::string_view t = utf8::trimBlanks(text);
    if (t.size() < 19 || t[4] != '-' || t[7] != '-' || (t[10] != ' ' && t[10] != 'T') || t[13] != ':' ||
        t[16] != ':') {
        return std::nullopt;
    }
    const auto part = [&](std::size_t pos, std::size_t len) -> std::optional<int> {
        const std::string_view digits = t.substr(pos, len);
        return allDigits(digits) ? parseInt(digits) : std::nullopt;
    };
    DateTime f;
    const auto y = part(0, 4), mo = part(5, 2), d = part(8, 2), h = part(11, 2), mi = part(14, 2), s = part(17, 2);
    if (!y || !mo || !d || !h || !mi || !s) {
        return std::nullopt;
    }
    f = DateTime{*y, *mo, *d, *h, *mi, *s, 0};
    if (t.size() > 19) {
        const std::string_view fraction = t.substr(20);
        if (t[19] != '.' || fraction.empty() || fraction.size() > 3 || !allDigits(fraction)) {
            return std::nullopt;
        }
        int ms = *parseInt(fraction);
        for (std::size_t i = fraction.size(); i < 3; ++i) {
            ms *= 10;
        }
        f.millisecond = ms;
    }
    // Years before 100 have no date-time text; nothing of the chart is meant for them.
    if (f.year < 100 || !isValidDateTime(f)) {
        return std::nullopt;
    }
    return momentFromDateTime(f);
}

std::optional<ClockReading> clockFor(const Args& args) {
    ClockReading now;
    now.standardBiasMinutes = support::standardBiasMinutes();
    if (const std::string* text = args.value("moment")) {
        const auto moment = parseMomentText(*text);
        if (!moment) {
            return std::nullopt;
        }
        now.moment = *moment;
    } else {
        now.moment = momentFromDateTime(support::readLocalClock());
    }
    return now;
}

std::variant<CastInvocation, ArgsError> castInvocation(const Args& args) {
    CastInvocation cast;
    CastRequest& request = cast.request;
    cast.json = args.flags.count("json") != 0;
    if (!args.positional.empty()) {
        return ArgsError{"多余的参数: " + args.positional.front()};
    }

    const std::string* methodText = args.value("method");
    if (methodText == nullptr) {
        return ArgsError{"未选择推算条件"};
    }
    const auto method = parseMethod(*methodText);
    if (!method) {
        return ArgsError{"未知的起卦方式: " + *methodText + " (应为 number、hand 或 ms)"};
    }
    request.method = *method;

    if (const std::string* gameText = args.value("game")) {
        const auto game = parseInt(*gameText);
        if (!game || *game < kFirstGameCode || *game > kLastGameCode) {
            return ArgsError{"彩种代码应为100到106之间的整数"};
        }
        cast.gameCode = *game;
    }

    const auto clock = clockFor(args);
    if (!clock) {
        return ArgsError{std::string(kMomentFormat)};
    }
    cast.now = *clock;

    const std::string* numberText = args.value("number");
    const std::string number = numberText ? std::string(utf8::trimBlanks(*numberText)) : std::string();

    // The checks run in the input panel's order: the method's own input before the zodiac.
    switch (request.method) {
    case 1:
        if (number.empty()) {
            return ArgsError{"未输入推算数字"};
        }
        if (!allDigits(number)) {
            return ArgsError{"推算数字只能由数字0-9组成"};
        }
        request.numberText = number;
        if (const std::string* timeText = args.value("time")) {
            const auto time = parseTimeChoice(*timeText);
            if (!time) {
                return ArgsError{"未选择推演时间"};
            }
            request.timeChoice = *time;
        }
        break;
    case 2:
        if (args.value("lines") == nullptr || !parseLines(*args.value("lines"), request)) {
            return ArgsError{"未装好线下卦 (--lines 应为六个字符, 初爻在前, 每个为6、7、8或9)"};
        }
        request.moment = cast.now.moment;
        if (const std::string* timeText = args.value("time")) {
            const auto time = parseTimeChoice(*timeText);
            if (!time) {
                return ArgsError{"未选择推演时间"};
            }
            request.timeChoice = *time;
        }
        break;
    case 3: {
        request.timeChoice = 2;
        if (const std::string* timeText = args.value("time")) {
            const auto time = parseTimeChoice(*timeText);
            if (!time) {
                return ArgsError{"未选择推演时间"};
            }
            request.timeChoice = *time;
        }
        if (numberText != nullptr) {
            // A given number stands for a reopened saved calculation: moment and number stay.
            const std::string_view digits = !number.empty() && number[0] == '-' ? std::string_view(number).substr(1)
                                                                                : std::string_view(number);
            if (number.empty()) {
                return ArgsError{"未输入推算数字"};
            }
            if (!allDigits(digits)) {
                return ArgsError{"推算数字只能由数字0-9组成"};
            }
            request.recordId = -1;
            request.numberText = number;
            request.moment = cast.now.moment;
        }
        break;
    }
    default:
        break;
    }

    const std::string* zodiacText = args.value("zodiac");
    if (zodiacText == nullptr || utf8::trimBlanks(*zodiacText).empty()) {
        return ArgsError{"未选择卦主生肖"};
    }
    const auto zodiac = parseInt(utf8::trimBlanks(*zodiacText));
    if (!zodiac || *zodiac < 1 || *zodiac > 12) {
        return ArgsError{"卦主生肖应为1到12之间的整数 (子鼠为1)"};
    }
    request.zodiac = *zodiac;
    return cast;
}

int runCastCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    Args args;
    if (auto error = parseArgs(words, castValueOptions(), castFlagOptions(), args)) {
        err << "quenmar-cli: " << error->message << '\n';
        return kExitBadInput;
    }
    auto invocation = castInvocation(args);
    if (auto* error = std::get_if<ArgsError>(&invocation)) {
        err << "quenmar-cli: " << error->message << '\n';
        return kExitBadInput;
    }
    if (auto error = saveOptionsError(args)) {
        err << "quenmar-cli: " << error->message << '\n';
        return kExitBadInput;
    }
    const auto& cast = std::get<CastInvocation>(invocation);
    const CastOutput output = computeCast(cast.request, cast.gameCode, cast.now);
    if (!output.run.charted) {
        err << "quenmar-cli: " << output.run.message << '\n';
        return kExitBadInput;
    }
    out << (cast.json ? castJson(output) + "\n" : castText(output));
    if (const std::string* title = args.value(kSaveOption)) {
        const std::string* notes = args.value(kNotesOption);
        return saveCastRecord(output, *title, notes ? *notes : std::string(), err);
    }
    return kExitOk;
}

} // namespace quenmar::cli
