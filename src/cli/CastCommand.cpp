#include "cli/CastCommand.h"

#include "base/Utf8.h"
#include "cli/CastOutput.h"
#include "cli/ErrorLine.h"
#include "cli/HistoryCommand.h"
#include "draws/Lottery.h"
#include "engine/CastRule.h"
#include "engine/Moment.h"
#include "support/LocalClock.h"

#include <charconv>
#include <optional>
#include <ostream>

namespace quenmar::cli {

namespace {

constexpr std::string_view kMomentFormat = "时间格式应为 \"YYYY-MM-DD HH:MM:SS[.mmm]\"";
constexpr std::string_view kDigitsOnly = "推算数字只能由数字0-9组成";
constexpr std::string_view kLinesHint = " (--lines 应为六个字符, 初爻在前, 每个为6、7、8或9)";

/// A cast as the command line states it: the request before completion, the lottery code
/// and the clock reading that stands for "now".
struct CastInvocation {
    CastRequest request;
    int gameCode = kGameHappy8;
    ClockReading now;
    bool json = false;
};

Failure<ArgsError> fail(std::string message) {
    return Failure{ArgsError{std::move(message)}};
}

Failure<ArgsError> refused(CastRefusal refusal) {
    return fail(std::string(refusalText(refusal)));
}

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

// --method: None when it is not given.
Result<CastMethod, ArgsError> methodOption(const Args& args) {
    const std::string* text = args.value("method");
    if (text == nullptr) {
        return CastMethod::None;
    }
    if (*text == "number" || *text == "1") {
        return CastMethod::ByNumber;
    }
    if (*text == "hand" || *text == "2") {
        return CastMethod::ByHand;
    }
    if (*text == "ms" || *text == "3") {
        return CastMethod::ByMilliseconds;
    }
    return fail("未知的起卦方式: " + *text + " (应为 number、hand 或 ms)");
}

// --game: the happy-8 lottery when it is not given.
Result<int, ArgsError> gameOption(const Args& args) {
    const std::string* text = args.value("game");
    if (text == nullptr) {
        return kGameHappy8;
    }
    const auto game = parseInt(*text);
    if (!game || !draws::lotteryByCode(*game)) {
        return fail("彩种代码应为100到106之间的整数");
    }
    return *game;
}

// --time, read once: nothing when it is not given.
Result<std::optional<TimeChoice>, ArgsError> timeOption(const Args& args) {
    const std::string* text = args.value("time");
    if (text == nullptr) {
        return std::optional<TimeChoice>{};
    }
    if (*text == "current" || *text == "1") {
        return std::optional<TimeChoice>{TimeChoice::Current};
    }
    if (*text == "draw" || *text == "2") {
        return std::optional<TimeChoice>{TimeChoice::Draw};
    }
    return refused(CastRefusal::NoTimeChoice);
}

// --zodiac: 0 (none chosen) when it is not given or blank.
Result<int, ArgsError> zodiacOption(const Args& args) {
    const std::string* text = args.value("zodiac");
    if (text == nullptr || utf8::trimBlanks(*text).empty()) {
        return 0;
    }
    const auto zodiac = parseInt(utf8::trimBlanks(*text));
    if (!zodiac || *zodiac < 1 || *zodiac > 12) {
        return fail("卦主生肖应为1到12之间的整数 (子鼠为1)");
    }
    return *zodiac;
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

// What the rule refuses of the request before it comes to the zodiac, which the command line
// reads last, as the input panel checks it last.
std::optional<CastRefusal> refusalBeforeZodiac(const CastRequest& request) {
    const auto refusal = checkCast(request).refusal;
    return refusal == CastRefusal::NoZodiac ? std::nullopt : refusal;
}

std::string numberOption(const Args& args) {
    const std::string* text = args.value("number");
    return text != nullptr ? std::string(utf8::trimBlanks(*text)) : std::string();
}

using TimeOption = Result<std::optional<TimeChoice>, ArgsError>;

Result<void, ArgsError> readByNumber(const Args& args, const TimeOption& time, CastRequest& request) {
    request.numberText = numberOption(args);
    if (!request.numberText.empty() && !allDigits(request.numberText)) {
        return fail(std::string(kDigitsOnly));
    }
    if (const auto refusal = refusalBeforeZodiac(request)) {
        return refused(*refusal);
    }
    if (!time) {
        return Failure{time.error()};
    }
    request.timeChoice = time->value_or(TimeChoice::None);
    return {};
}

Result<void, ArgsError> readByHand(const Args& args, const TimeOption& time, const ClockReading& now,
                                   CastRequest& request) {
    const std::string* lines = args.value("lines");
    if ((lines != nullptr && !parseLines(*lines, request)) || refusalBeforeZodiac(request)) {
        return fail(std::string(refusalText(CastRefusal::LinesNotSet)) + std::string(kLinesHint));
    }
    if (!time) {
        return Failure{time.error()};
    }
    request.moment = now.moment;
    request.timeChoice = time->value_or(TimeChoice::None);
    return {};
}

// A number given to the millisecond method stands for a reopened saved calculation: its moment
// and number stay.
Result<void, ArgsError> readByMilliseconds(const Args& args, const TimeOption& time, const ClockReading& now,
                                           CastRequest& request) {
    if (!time) {
        return Failure{time.error()};
    }
    request.timeChoice = time->value_or(TimeChoice::Draw); // the radio group starts on 开奖时间
    if (args.value("number") == nullptr) {
        return {};
    }
    const std::string number = numberOption(args);
    if (number.empty()) {
        return refused(CastRefusal::NoNumber);
    }
    if (!allDigits(number[0] == '-' ? std::string_view(number).substr(1) : std::string_view(number))) {
        return fail(std::string(kDigitsOnly));
    }
    request.recordId = -1;
    request.numberText = number;
    request.moment = now.moment;
    return {};
}

// The method's own input, in the order the input panel checks it. --time counts for every
// method, as the panel keeps its time choice whatever the method.
Result<void, ArgsError> readMethodInput(const Args& args, CastInvocation& cast) {
    const TimeOption time = timeOption(args);
    switch (cast.request.method) {
    case CastMethod::ByNumber:
        return readByNumber(args, time, cast.request);
    case CastMethod::ByHand:
        return readByHand(args, time, cast.now, cast.request);
    default:
        return readByMilliseconds(args, time, cast.now, cast.request);
    }
}

// Turns parsed options into a cast, or the one-line message of the first problem.
Result<CastInvocation, ArgsError> castInvocation(const Args& args) {
    if (!args.positional.empty()) {
        return fail("多余的参数: " + args.positional.front());
    }
    CastInvocation cast;
    cast.json = args.has("json");
    const auto method = methodOption(args);
    if (!method) {
        return Failure{method.error()};
    }
    cast.request.method = *method;
    if (cast.request.method == CastMethod::None) {
        return refused(CastRefusal::NoMethod);
    }
    const auto game = gameOption(args);
    if (!game) {
        return Failure{game.error()};
    }
    cast.gameCode = *game;
    const auto clock = clockFor(args);
    if (!clock) {
        return Failure{clock.error()};
    }
    cast.now = *clock;
    if (const auto input = readMethodInput(args, cast); !input) {
        return Failure{input.error()};
    }
    const auto zodiac = zodiacOption(args);
    if (!zodiac) {
        return Failure{zodiac.error()};
    }
    cast.request.zodiac = *zodiac;
    if (const auto refusal = checkCast(cast.request).refusal) {
        return refused(*refusal);
    }
    return cast;
}

} // namespace

std::optional<double> parseMomentText(std::string_view text) {
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
    const auto y = part(0, 4), mo = part(5, 2), d = part(8, 2), h = part(11, 2), mi = part(14, 2),
               s = part(17, 2);
    if (!y || !mo || !d || !h || !mi || !s) {
        return std::nullopt;
    }
    DateTime f{*y, *mo, *d, *h, *mi, *s, 0};
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

Result<ClockReading, ArgsError> clockFor(const Args& args) {
    ClockReading now;
    now.standardBiasMinutes = support::standardBiasMinutes();
    if (const std::string* text = args.value("moment")) {
        const auto moment = parseMomentText(*text);
        if (!moment) {
            return fail(std::string(kMomentFormat));
        }
        now.moment = *moment;
    } else {
        now.moment = momentFromDateTime(support::readLocalClock());
    }
    return now;
}

int runCastCommand(const Args& args, std::ostream& out, std::ostream& err) {
    const auto badInput = [&err](const std::string& message) {
        return reportError(err, message, kExitBadInput);
    };
    const auto cast = castInvocation(args);
    if (!cast) {
        return badInput(cast.error().message);
    }
    if (const auto save = checkSaveOptions(args); !save) {
        return badInput(save.error().message);
    }
    const Calculation calculation = computeCast(cast->request, cast->gameCode, cast->now);
    if (!calculation.run.charted) {
        return badInput(calculation.run.message);
    }
    const Annotations annotations = annotate(calculation.run.chart, cast->now.standardBiasMinutes);
    out << (cast->json ? castJson(calculation, annotations) + "\n" : castText(calculation, annotations));
    if (const std::string* title = args.value(kSaveOption)) {
        const std::string* notes = args.value(kNotesOption);
        return saveCastRecord(calculation, *title, notes ? *notes : std::string(), err);
    }
    return kExitOk;
}

} // namespace quenmar::cli
