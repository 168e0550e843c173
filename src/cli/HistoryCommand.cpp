#include "cli/HistoryCommand.h"

#include "cli/CastCommand.h"
#include "cli/Json.h"
#include "engine/Moment.h"
#include "base/Utf8.h"
#include "store/RecordStore.h"
#include "support/ProgramPaths.h"

#include <algorithm>
#include <charconv>
#include <memory>
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

// Parses the words of one subcommand and its record ids; the message of the first problem.
std::optional<std::string> parseSubcommand(const std::vector<std::string>& words,
                                           const std::set<std::string>& values,
                                           const std::set<std::string>& flags, Args& args,
                                           std::vector<int>& ids) {
    if (auto error = parseArgs(words, values, flags, args)) {
        return error->message;
    }
    for (const std::string& word : args.positional) {
        const auto id = parseRecordId(word);
        if (!id) {
            return "记录编号应为整数: " + word;
        }
        ids.push_back(*id);
    }
    return std::nullopt;
}

// The checks of the input panel's compute button, which a review clicks: a record that
// would not pass them there is not computed here either.
std::optional<std::string> reviewRefusal(const CastRequest& request) {
    const bool zodiacChosen = request.zodiac >= 1 && request.zodiac <= 12;
    // The stored moment is cast again by the by-hand and millisecond methods; a value edited
    // out of the range of dates has no day or hour to cast with.
    const bool momentKept = request.method == static_cast<int>(CastMethod::ByHand) ||
                            request.method == static_cast<int>(CastMethod::ByMilliseconds);
    if (momentKept && !(request.moment >= kMinTextMoment && request.moment < kMaxTextMoment)) {
        return std::string("记录的时间无效");
    }
    switch (request.method) {
    case static_cast<int>(CastMethod::ByNumber):
        if (request.numberText.empty()) {
            return std::string("未输入推算数字");
        }
        break;
    case static_cast<int>(CastMethod::ByHand):
        if (utf8::length(request.upperLines) != 3 || utf8::length(request.lowerLines) != 3 ||
            request.movingFlags.size() != 6) {
            return std::string("未装好线下卦");
        }
        break;
    case static_cast<int>(CastMethod::ByMilliseconds):
        if (request.timeChoice == 0) {
            return std::string("未选择推演时间");
        }
        break;
    default:
        return std::string("未选择推算条件");
    }
    if (!zodiacChosen) {
        return std::string("未选择卦主生肖");
    }
    return std::nullopt;
}

int runList(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    Args args;
    if (auto error = parseArgs(words, {}, {"json"}, args)) {
        return badInput(err, error->message);
    }
    if (!args.positional.empty()) {
        return badInput(err, "多余的参数: " + args.positional.front());
    }
    const auto db = openHistory();
    const auto rows = store::listRecords(*db);
    if (args.has("json")) {
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
    Args args;
    std::vector<int> ids;
    if (auto error = parseSubcommand(words, {}, {"json"}, args, ids)) {
        return badInput(err, *error);
    }
    if (ids.empty()) {
        return badInput(err, "缺少记录编号");
    }
    if (ids.size() > 1) {
        return badInput(err, "多余的参数: " + args.positional[1]);
    }
    const auto db = openHistory();
    const YsModel m = store::loadRecord(*db, ids.front());
    if (m._id != ids.front()) {
        return notFound(err, ids.front());
    }
    const std::string dong = store::formatMovingFlags(m.dong);
    if (args.has("json")) {
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
    Args args;
    std::vector<int> ids;
    if (auto error = parseSubcommand(words, {"moment"}, {"json"}, args, ids)) {
        return badInput(err, *error);
    }
    if (ids.empty()) {
        return badInput(err, "缺少记录编号");
    }
    if (ids.size() > 1) {
        return badInput(err, "多余的参数: " + args.positional[1]);
    }
    const auto now = clockFor(args);
    if (!now) {
        return badInput(err, "时间格式应为 \"YYYY-MM-DD HH:MM:SS[.mmm]\"");
    }
    const auto db = openHistory();
    const YsModel model = store::loadRecord(*db, ids.front());
    if (model._id != ids.front()) {
        return notFound(err, ids.front());
    }
    const CastRequest request = store::requestFromModel(model);
    if (auto refusal = reviewRefusal(request)) {
        err << kPrefix << "记录 " << model._id << " 无法复盘: " << *refusal << '\n';
        return kExitFailed;
    }
    // The window always reviews for the lottery it starts with.
    const CastOutput output = computeCast(request, kGameHappy8, *now);
    if (!output.run.charted) {
        err << kPrefix << "记录 " << model._id << " 无法复盘: " << output.run.message << '\n';
        return kExitFailed;
    }
    out << (args.has("json") ? castJson(output) + "\n" : castText(output));
    return kExitOk;
}

int runDelete(const std::vector<std::string>& words, std::ostream& err) {
    Args args;
    std::vector<int> ids;
    if (auto error = parseSubcommand(words, {}, {}, args, ids)) {
        return badInput(err, *error);
    }
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

std::optional<ArgsError> saveOptionsError(const Args& args) {
    const std::string* title = args.value(kSaveOption);
    if (title == nullptr) {
        if (args.value(kNotesOption) != nullptr) {
            return ArgsError{"--notes 只能与 --save 一起使用"};
        }
        return std::nullopt;
    }
    // The save button asks for a title first; the date is added to it.
    if (utf8::trimBlanks(*title).empty()) {
        return ArgsError{"请输入保存的标题,标题将自动加上日期"};
    }
    return std::nullopt;
}

int saveCastRecord(const CastOutput& output, const std::string& title, const std::string& notes,
                   std::ostream& err) {
    const auto db = openHistory();
    const auto saved = store::saveRecord(*db, store::modelFromChart(output.chart, title, notes));
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
