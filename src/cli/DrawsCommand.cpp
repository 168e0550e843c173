#include "cli/DrawsCommand.h"

#include "base/Utf8.h"
#include "cli/Args.h"
#include "cli/ErrorLine.h"
#include "cli/Json.h"
#include "cli/KeptDrawsCommand.h"
#include "draws/DrawFetch.h"
#include "draws/Lottery.h"

#include <charconv>
#include <ostream>

namespace quenmar::cli {

namespace {

std::optional<int> parseCode(const std::string& text) {
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string drawJson(const draws::Lottery& lottery, const draws::DrawResult& draw) {
    return jsonText({
        {"code", lottery.code},
        {"name", draw.name},
        {"issue", draw.issue},
        {"date", draw.date},
        {"mainNumbers", draw.mainNumbers},
        {"extraNumbers", draw.extraNumbers},
        {"numbersText", draws::displayNumbers(lottery, draw)},
        {"status", draw.status},
    });
}

std::string drawText(const draws::Lottery& lottery, const draws::DrawResult& draw) {
    std::string text;
    text += "彩种: " + draw.name + " (" + std::to_string(lottery.code) + ")\n";
    // Issue and date are the page's own text: shown, never obeyed.
    text += "期号: " + utf8::escapeControls(draw.issue) + "\n";
    text += "日期: " + utf8::escapeControls(draw.date) + "\n";
    text += "开奖号码: " + draw.mainNumbers + "\n";
    if (!draw.extraNumbers.empty()) {
        text += "附加号码: " + draw.extraNumbers + "\n";
    }
    return text;
}

} // namespace

int runDrawsCommand(const Args& args, std::ostream& out, std::ostream& err) {
    if (!args.positional.empty()) {
        return reportError(err, "多余的参数: " + args.positional.front(), kExitBadInput);
    }
    int code = draws::kFirstLotteryCode;
    if (const std::string* codeText = args.value("code")) {
        const auto parsed = parseCode(*codeText);
        if (!parsed || !draws::lotteryByCode(*parsed)) {
            return reportError(err, "彩种代码应为100到106之间的整数", kExitBadInput);
        }
        code = *parsed;
    }
    const draws::Lottery lottery = *draws::lotteryByCode(code);

    draws::DrawSources sources = draws::defaultDrawSources();
    if (const std::string* url = args.value("url")) {
        if (!draws::isWebAddress(*url)) {
            return reportError(err, "--url 应为 http:// 或 https:// 开头的网址", kExitBadInput);
        }
        (lottery.source == draws::DrawSource::DailyDrawPage ? sources.dailyDrawUrl
                                                            : sources.resultsTableUrl) = *url;
    }

    const draws::FetchedDraws fetched = draws::fetchDraws(lottery, sources);
    if (!fetched) {
        return reportError(err, draws::drawErrorMessage(fetched.error()), kExitFailed);
    }
    const draws::DrawResult& draw = fetched->latest;
    if (draw.mainNumbers.empty()) {
        return reportError(err, "页面中没有找到" + std::string(lottery.name) + "的开奖号码", kExitFailed);
    }
    out << (args.has("json") ? drawJson(lottery, draw) + "\n" : drawText(lottery, draw));
    keepObtainedDraws(lottery.code, *fetched, err);
    return kExitOk;
}

} // namespace quenmar::cli
