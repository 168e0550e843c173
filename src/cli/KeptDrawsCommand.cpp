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

// The kept draws of --code (all of them without it), or the exit status once the problem is said.
Result<std::vector<store::KeptDraw>, int> keptDraws(const Args& args, std::ostream& err) {
    const auto code = codeOption(args);
    if (!code) {
        return Failure{fail(err, code.error().message, kExitBadInput)};
    }
    if (!args.positional.empty()) {
        return Failure{fail(err, "多余的参数: " + args.positional.front(), kExitBadInput)};
    }
    const auto db = openHistoryFile();
    auto kept = store::listDraws(*db, *code);
    if (!kept) {
        return Failure{fail(err, kCannotRead, kExitFailed)};
    }
    return std::move(*kept);
}

} // namespace

int runDrawsImport(const Args& args, std::ostream& /*out*/, std::ostream& err) {
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

int runDrawsExport(const Args& args, std::ostream& out, std::ostream& err) {
    const auto kept = keptDraws(args, err);
    if (!kept) {
        return kept.error();
    }
    out << tally::drawCsv(*kept);
    return kExitOk;
}

int runDrawsList(const Args& args, std::ostream& out, std::ostream& err) {
    const auto kept = keptDraws(args, err);
    if (!kept) {
        return kept.error();
    }
    writeList(*kept, args.has("json"), out);
    return kExitOk;
}

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

} // namespace quenmar::cli
