#include "cli/HistoryCommand.h"

#include "cli/CastCommand.h"
#include "cli/CastOutput.h"
#include "cli/Json.h"
#include "engine/CastRule.h"
#include "base/Utf8.h"
#include "store/RecordStore.h"
#include "support/ProgramPaths.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <optional>
#include <ostream>
#include <set>

namespace quenmar::cli {

namespace {

using store::TableDb;
using store::YsModel;

constexpr const char* kPrefix = "quenmar-cli: ";
constexpr const char* kSubcommands = "list、show、review 或 delete";

// The database of this installation, opened (and on first use created) as the desktop
// program opens it at start-up.
std::unique_ptr<TableDb> openHistory() {
    const auto root = support::dataRoot();
    return root ? std::make_unique<TableDb>(*root) : std::make_unique<TableDb>();
}

std::optional<int> parseRecordId(std::string_view text) {
    const std::string_view digits = !text.empty() && text[0] == '-' ? text.substr(1) : text;
    if (digits.empty() || digits.size() > 10 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc{} || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// A file edited by hand may hold bytes that are not UTF-8; JSON must not carry them on.
std::string validText(std::string_view text) {
    if (utf8::isValid(text)) {
        return std::string(text);
    }
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t len = utf8::charLength(text, pos);
        const std::string_view character = text.substr(pos, len);
        out += utf8::isValid(character) ? std::string(character) : std::string("\xEF\xBF\xBD");
        pos += len;
    }
    return out;
}

std::string numberText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

int badInput(std::ostream& err, const std::string& message) {
    err << kPrefix << message << '\n';
    return kExitBadInput;
}

int notFound(std::ostream& err, int id) {
    err << kPrefix << "未找到记录 " << id << '\n';
    return kExitFailed;
}

// The words of one subcommand: its options and the record ids it names.
struct Subcommand {
    Args args;
    std::vector<int> ids;
};

Result<Subcommand, ArgsError> parseSubcommand(const std::vector<std::string>& words,
                                              const std::set<std::string>& values,
                                              const std::set<std::string>& flags) {
    auto args = parseArgs(words, values, flags);
    if (!args) {
        return Failure{args.error()};
    }
    Subcommand subcommand{std::move(args).value(), {}};
    for (const std::string& word : subcommand.args.positional) {
        const auto id = parseRecordId(word);
        if (!id) {
            return Failure{ArgsError{"记录编号应为整数: " + word}};
        }
        subcommand.ids.push_back(*id);
    }
    return subcommand;
}

// One record id and nothing more, as show and review take.
Result<Subcommand, ArgsError> parseOneRecord(const std::vector<std::string>& words,
                                             const std::set<std::string>& values) {
    auto parsed = parseSubcommand(words, values, {"json"});
    if (parsed && parsed->ids.empty()) {
        return Failure{ArgsError{"缺少记录编号"}};
    }
    if (parsed && parsed->ids.size() > 1) {
        return Failure{ArgsError{"多余的参数: " + parsed->args.positional[1]}};
    }
    return parsed;
}

// The record of an id, or nothing once "未找到记录" is written.
std::optional<YsModel> namedRecord(int id, std::ostream& err) {
    const auto db = openHistory();
    YsModel model = store::loadRecord(*db, id);
    if (model._id != id) {
        notFound(err, id);
        return std::nullopt;
    }
    return model;
}

int runList(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const auto args = parseArgs(words, {}, {"json"});
    if (!args) {
        return badInput(err, args.error().message);
    }
    if (!args->positional.empty()) {
        return badInput(err, "多余的参数: " + args->positional.front());
    }
    const auto db = openHistory();
    const auto rows = store::listRecords(*db);
    if (args->has("json")) {
        JsonWriter json;
        json.beginArray();
        for (const auto& row : rows) {
            json.beginObject().field("_id", row.id).field("ysname", validText(row.text)).endObject();
        }
        json.endArray();
        out << json.text() << '\n';
        return kExitOk;
    }
    for (const auto& row : rows) {
        out << row.id << '\t' << row.text << '\n';
    }
    return kExitOk;
}

int runShow(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const auto parsed = parseOneRecord(words, {});
    if (!parsed) {
        return badInput(err, parsed.error().message);
    }
    const auto record = namedRecord(parsed->ids.front(), err);
    if (!record) {
        return kExitFailed;
    }
    const YsModel& m = *record;
    const std::string dong = store::formatMovingFlags(m.dong);
    if (parsed->args.has("json")) {
        JsonWriter json;
        json.beginObject()
            .field("_id", m._id)
            .field("ysname", validText(m.ysname))
            .field("ysindex", m.ysindex)
            .field("ysnumber", validText(m.ysnumber))
            .field("ysday", m.ysday)
            .field("gzsxid", m.gzsxid)
            .field("upstr", validText(m.upstr))
            .field("downstr", validText(m.downstr))
            .field("dong", dong)
            .field("rot", m.rot)
            .field("uinfo", validText(m.uinfo))
            .endObject();
        out << json.text() << '\n';
        return kExitOk;
    }
    out << "_id: " << m._id << '\n'
        << "ysname: " << m.ysname << '\n'
        << "ysindex: " << m.ysindex << '\n'
        << "ysnumber: " << m.ysnumber << '\n'
        << "ysday: " << numberText(m.ysday) << '\n'
        << "gzsxid: " << m.gzsxid << '\n'
        << "upstr: " << m.upstr << '\n'
        << "downstr: " << m.downstr << '\n'
        << "dong: " << dong << '\n'
        << "rot: " << m.rot << '\n'
        << "uinfo: " << m.uinfo << '\n';
    return kExitOk;
}

int runReview(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const auto parsed = parseOneRecord(words, {"moment"});
    if (!parsed) {
        return badInput(err, parsed.error().message);
    }
    const auto now = clockFor(parsed->args);
    if (!now) {
        return badInput(err, now.error().message);
    }
    const int id = parsed->ids.front();
    const auto model = namedRecord(id, err);
    if (!model) {
        return kExitFailed;
    }
    const auto refused = [&err, id](std::string_view reason) {
        err << kPrefix << "记录 " << id << " 无法复盘: " << reason << '\n';
        return kExitFailed;
    };
    // A review clicks the input panel's compute button: a record that would not pass its
    // checks there is not computed here either.
    const CastRequest request = store::requestFromModel(*model);
    if (const CastVerdict verdict = checkCast(request); !verdict.castable()) {
        return refused(verdict.message);
    }
    // The window always reviews for the lottery it starts with.
    const Calculation calculation = computeCast(request, kGameHappy8, *now);
    if (!calculation.run.charted) {
        return refused(calculation.run.message);
    }
    out << (parsed->args.has("json") ? castJson(calculation) + "\n" : castText(calculation));
    return kExitOk;
}

int runDelete(const std::vector<std::string>& words, std::ostream& err) {
    const auto parsed = parseSubcommand(words, {}, {});
    if (!parsed) {
        return badInput(err, parsed.error().message);
    }
    const std::vector<int>& ids = parsed->ids;
    if (ids.empty()) {
        return badInput(err, "缺少记录编号");
    }
    const auto db = openHistory();
    int status = kExitOk;
    std::vector<int> done;
    for (const int id : ids) {
        if (std::find(done.begin(), done.end(), id) != done.end()) {
            continue; // named twice: deleted once
        }
        done.push_back(id);
        // The store deletes a missing id without complaint; a user typing one wants to know.
        if (store::loadRecord(*db, id)._id != id) {
            status = notFound(err, id);
            continue;
        }
        if (!store::deleteRecord(*db, id)) {
            err << kPrefix << "删除失败: 记录 " << id << '\n';
            status = kExitFailed;
        }
    }
    return status;
}

} // namespace

Result<void, ArgsError> checkSaveOptions(const Args& args) {
    const std::string* title = args.value(kSaveOption);
    if (title == nullptr) {
        if (args.value(kNotesOption) != nullptr) {
            return Failure{ArgsError{"--notes 只能与 --save 一起使用"}};
        }
        return {};
    }
    // The save button asks for a title first; the date is added to it.
    if (utf8::trimBlanks(*title).empty()) {
        return Failure{ArgsError{"请输入保存的标题,标题将自动加上日期"}};
    }
    return {};
}

int saveCastRecord(const Calculation& calculation, const std::string& title, const std::string& notes,
                   std::ostream& err) {
    const auto db = openHistory();
    const auto saved = store::saveRecord(*db, store::modelFromChart(calculation.run.chart, title, notes));
    err << store::saveMessage(saved) << '\n';
    return saved ? kExitOk : kExitFailed;
}

int runHistoryCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    if (words.empty()) {
        return badInput(err, std::string("缺少 history 子命令 (") + kSubcommands + ")");
    }
    const std::string& subcommand = words.front();
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (subcommand == "list") {
        return runList(rest, out, err);
    }
    if (subcommand == "show") {
        return runShow(rest, out, err);
    }
    if (subcommand == "review") {
        return runReview(rest, out, err);
    }
    if (subcommand == "delete") {
        return runDelete(rest, err);
    }
    return badInput(err, "未知的 history 子命令: " + subcommand + " (应为 " + kSubcommands + ")");
}

} // namespace quenmar::cli
