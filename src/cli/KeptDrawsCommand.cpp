#include "cli/KeptDrawsCommand.h"

#include "base/Utf8.h"
#include "cli/Args.h"
#include "cli/ErrorLine.h"
#include "cli/HistoryFile.h"
#include "cli/Json.h"
#include "draws/Lottery.h"
#include "engine/Moment.h"
#include "store/DrawStore.h"
#include "support/FileBytes.h"
#include "support/LocalClock.h"
#include "tally/DrawCsv.h"
#include "tally/KeepFetched.h"

#include <charconv>
#include <filesystem>
#include <ostream>

namespace quenmar::cli {

namespace {

constexpr const char* kCannotRead = "开奖记录无法读取";

int fail(std::ostream& err, const std::string& message, int status) {
    return reportError(err, message, status);
}

// --code N of a known lottery; nothing when not given. A bad value is an error.
Result<std::optional<int>, ArgsError> codeOption(const Args& args) {
    const std::string* text = args.value("code");
    if (text == nullptr) {
        return std::optional<int>{};
    }
    int code = 0;
    const auto parsed = std::from_chars(text->data(), text->data() + text->size(), code);
    if (text->empty() || parsed.ec != std::errc{} || parsed.ptr != text->data() + text->size() ||
        !draws::lotteryByCode(code)) {
        return Failure{ArgsError{"彩种代码应为100到106之间的整数"}};
    }
    return std::optional<int>{code};
}

std::string lotteryName(int code) {
    const auto lottery = draws::lotteryByCode(code);
    return lottery ? std::string(lottery->name) : std::to_string(code);
}

int runImport(const Args& args, std::ostream& err) {
    if (args.positional.size() != 1) {
        return fail(err,
                    args.positional.empty() ? "缺少要导入的CSV文件" : "多余的参数: " + args.positional[1],
                    kExitBadInput);
    }
    const std::filesystem::path file = args.positional.front();
    const auto bytes = support::readFileBytes(file);
    if (!bytes) {
        return fail(err, "无法读取文件 " + file.string(), kExitFailed);
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    const auto db = openHistoryFile();
    const auto imported = tally::importDrawCsv(*db, *bytes, momentFromDateTime(support::readLocalClock()),
                                               (error ? file : absolute).string());
    if (!imported) {
        return fail(err, tally::csvProblemText(imported.error()) + ", 文件中的开奖均未保存", kExitFailed);
    }
    err << "已导入" << imported->added << "期开奖";
    if (imported->alreadyKept > 0) {
        err << " (另有" << imported->alreadyKept << "期此前已保存)";
    }
    err << '\n';
    return kExitOk;
}

// list: one line a draw, or JSON.
void writeList(const std::vector<store::KeptDraw>& kept, bool asJson, std::ostream& out) {
    if (asJson) {
        JsonDocument list = JsonDocument::array();
        for (const store::KeptDraw& draw : kept) {
            list.push_back({
                {"code", draw.code},
                {"name", lotteryName(draw.code)},
                {"issue", draw.issue},
                {"date", draw.date},
                {"mainNumbers", draw.mainNumbers},
                {"extraNumbers", draw.extraNumbers},
                {"obtainedAt", draw.obtainedAt},
                {"obtained", dateTimeText(draw.obtainedAt)},
                {"source", draw.source},
            });
        }
        out << jsonText(list) << '\n';
        return;
    }
    for (const store::KeptDraw& draw : kept) {
        out << draw.code << '\t' << lotteryName(draw.code) << '\t' << utf8::escapeControls(draw.issue) << '\t'
            << utf8::escapeControls(draw.date) << '\t' << draw.mainNumbers
            << (draw.extraNumbers.empty() ? "" : "+" + draw.extraNumbers) << '\t'
            << dateTimeText(draw.obtainedAt) << '\t' << utf8::escapeControls(draw.source) << '\n';
    }
}

} // namespace

void keepObtainedDraws(int code, const draws::PageDraws& page, std::ostream& err) {
    const auto db = openHistoryFile();
    const auto kept = tally::keepFetchedDraws(*db, code, page.listed,
                                              momentFromDateTime(support::readLocalClock()), page.source);
    if (!kept) {
        reportError(err, "开奖未能保存: 开奖记录无法写入数据库", kExitFailed);
    } else if (const std::string text = tally::conflictText(*kept); !text.empty()) {
        reportError(err, text, kExitFailed);
    }
}

bool isKeptDrawsSubcommand(const std::string& word) {
    return word == "import" || word == "export" || word == "list";
}

int runKeptDrawsCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const std::string& subcommand = words.front();
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    const bool import = subcommand == "import";
    const auto args =
        parseArgs(rest, import ? std::set<std::string>{} : std::set<std::string>{"code"},
                  subcommand == "list" ? std::set<std::string>{"json"} : std::set<std::string>{});
    if (!args) {
        return fail(err, args.error().message, kExitBadInput);
    }
    if (import) {
        return runImport(*args, err);
    }
    const auto code = codeOption(*args);
    if (!code) {
        return fail(err, code.error().message, kExitBadInput);
    }
    if (!args->positional.empty()) {
        return fail(err, "多余的参数: " + args->positional.front(), kExitBadInput);
    }
    const auto db = openHistoryFile();
    const auto kept = store::listDraws(*db, *code);
    if (!kept) {
        return fail(err, kCannotRead, kExitFailed);
    }
    if (subcommand == "export") {
        out << tally::drawCsv(*kept);
    } else {
        writeList(*kept, args->has("json"), out);
    }
    return kExitOk;
}

} // namespace quenmar::cli
