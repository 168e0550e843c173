#include "cli/HistoryCommand.h"

#include "base/Utf8.h"
#include "cli/CastCommand.h"
#include "cli/CastOutput.h"
#include "cli/ErrorLine.h"
#include "cli/HistoryFile.h"
#include "cli/Json.h"
#include "engine/CastRule.h"
#include "store/RecordStore.h"
#include "support/ProgramPaths.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <optional>
#include <ostream>

namespace quenmar::cli {

namespace {

using store::TableDb;
using store::YsModel;

std::string numberText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

int badInput(std::ostream& err, const std::string& message) {
    return reportError(err, message, kExitBadInput);
}

int notFound(std::ostream& err, std::string_view word) {
    return reportError(err, "未找到记录 " + std::string(word), kExitFailed);
}

int cannotRead(std::ostream& err, store::StoreError error) {
    return reportError(err, store::readErrorMessage(error), kExitFailed);
}

// One record word and nothing more, as show and review take.
Result<void, ArgsError> checkOneRecord(const Args& args) {
    if (args.positional.empty()) {
        return Failure{ArgsError{"缺少记录编号"}};
    }
    if (args.positional.size() > 1) {
        return Failure{ArgsError{"多余的参数: " + args.positional[1]}};
    }
    return {};
}

// The record a word names, or the exit status once "未找到记录" or why the history cannot
// be read is written.
Result<YsModel, int> namedRecord(const std::string& word, std::ostream& err) {
    const auto db = openHistoryFile();
    const auto record = store::loadRecord(*db, recordId(word));
    if (!record) {
        return Failure{cannotRead(err, record.error())};
    }
    if (!record->has_value()) {
        return Failure{notFound(err, word)};
    }
    return **record;
}

} // namespace

int runHistoryList(const Args& args, std::ostream& out, std::ostream& err) {
    if (!args.positional.empty()) {
        return badInput(err, "多余的参数: " + args.positional.front());
    }
    const auto db = openHistoryFile();
    const auto rows = store::listRecords(*db);
    if (!rows) {
        return cannotRead(err, rows.error());
    }
    if (args.has("json")) {
        JsonDocument list = JsonDocument::array();
        for (const auto& row : *rows) {
            list.push_back({{"_id", row.id}, {"ysname", row.text}});
        }
        out << jsonText(list) << '\n';
        return kExitOk;
    }
    // One line per record, whatever its title holds.
    for (const auto& row : *rows) {
        out << row.id << '\t' << utf8::escapeControls(row.text) << '\n';
    }
    return kExitOk;
}

int runHistoryShow(const Args& args, std::ostream& out, std::ostream& err) {
    if (const auto one = checkOneRecord(args); !one) {
        return badInput(err, one.error().message);
    }
    const auto record = namedRecord(args.positional.front(), err);
    if (!record) {
        return record.error();
    }
    const YsModel& m = *record;
    const std::string dong = store::formatMovingFlags(m.dong);
    if (args.has("json")) {
        const JsonDocument fields{
            {"_id", m._id},     {"ysname", m.ysname}, {"ysindex", m.ysindex}, {"ysnumber", m.ysnumber},
            {"ysday", m.ysday}, {"gzsxid", m.gzsxid}, {"upstr", m.upstr},     {"downstr", m.downstr},
            {"dong", dong},     {"rot", m.rot},       {"uinfo", m.uinfo},
        };
        out << jsonText(fields) << '\n';
        return kExitOk;
    }
    // Every text of the file is shown escaped: a title or a note may hold anything an editor
    // put there, line breaks included, and each field keeps its one line.
    const auto shown = [](const std::string& text) {
        return utf8::escapeControls(text);
    };
    out << "_id: " << m._id << '\n'
        << "ysname: " << shown(m.ysname) << '\n'
        << "ysindex: " << m.ysindex << '\n'
        << "ysnumber: " << shown(m.ysnumber) << '\n'
        << "ysday: " << numberText(m.ysday) << '\n'
        << "gzsxid: " << m.gzsxid << '\n'
        << "upstr: " << shown(m.upstr) << '\n'
        << "downstr: " << shown(m.downstr) << '\n'
        << "dong: " << dong << '\n'
        << "rot: " << m.rot << '\n'
        << "uinfo: " << shown(m.uinfo) << '\n';
    return kExitOk;
}

int runHistoryReview(const Args& args, std::ostream& out, std::ostream& err) {
    if (const auto one = checkOneRecord(args); !one) {
        return badInput(err, one.error().message);
    }
    const auto now = clockFor(args);
    if (!now) {
        return badInput(err, now.error().message);
    }
    const auto model = namedRecord(args.positional.front(), err);
    if (!model) {
        return model.error();
    }
    const int id = model->_id;
    const auto refused = [&err, id](std::string_view reason) {
        return reportError(err, "记录 " + std::to_string(id) + " 无法复盘: " + std::string(reason),
                           kExitFailed);
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
    const Annotations annotations = annotate(calculation.run.chart, now->standardBiasMinutes);
    out << (args.has("json") ? castJson(calculation, annotations) + "\n"
                             : castText(calculation, annotations));
    return kExitOk;
}

int runHistoryDelete(const Args& args, std::ostream& /*out*/, std::ostream& err) {
    if (args.positional.empty()) {
        return badInput(err, "缺少记录编号");
    }
    // Every word once, in the order typed: a record named twice is deleted once.
    std::vector<std::string> named;
    std::vector<int> ids;
    for (const std::string& word : args.positional) {
        if (std::find(named.begin(), named.end(), word) == named.end()) {
            named.push_back(word);
            ids.push_back(recordId(word));
        }
    }
    const auto db = openHistoryFile();
    // One transaction for all of them: a thousand ids take as long as one, and a failure
    // deletes none.
    const auto deleted = store::deleteRecords(*db, ids);
    if (!deleted) {
        if (deleted.error() != store::StoreError::StatementFailed) {
            return cannotRead(err, deleted.error());
        }
        std::string message = std::string(store::kDeleteFailedText) + ": 记录";
        for (const int id : ids) {
            if (id > 0) {
                message.append(1, ' ').append(std::to_string(id)); // not " " + ...: g++ 12 -Wrestrict
            }
        }
        return reportError(err, message, kExitFailed);
    }
    // The store passes over a missing id without complaint; a user typing one wants to know.
    int status = kExitOk;
    for (std::size_t i = 0; i < named.size(); ++i) {
        if (std::find(deleted->begin(), deleted->end(), ids[i]) == deleted->end()) {
            status = notFound(err, named[i]);
        }
    }
    return status;
}

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
    const auto db = openHistoryFile();
    const auto saved = store::saveRecord(*db, store::modelFromChart(calculation.run.chart, title, notes));
    err << store::saveMessage(saved) << '\n';
    return saved ? kExitOk : kExitFailed;
}

} // namespace quenmar::cli
