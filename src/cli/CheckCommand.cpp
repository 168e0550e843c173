#include "cli/CheckCommand.h"

#include "base/Utf8.h"
#include "cli/Args.h"
#include "cli/ErrorLine.h"
#include "cli/HistoryFile.h"
#include "cli/Json.h"
#include "store/DrawStore.h"
#include "store/RecordStore.h"
#include "tally/RecordCheck.h"

#include <array>
#include <cstdio>
#include <ostream>

namespace quenmar::cli {

namespace {

using tally::RecordCheck;
using tally::TallySummary;

constexpr std::array<const char*, tally::kBetCount> kBetLabels{"一注", "二注", "三注", "四注", "五注",
                                                               "六注", "七注", "八注", "九注", "十注"};
constexpr const char* kUndrawn = "未开奖";

int fail(std::ostream& err, const std::string& message, int status) {
    return reportError(err, message, status);
}

std::string fixed2(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

std::string statusOf(const RecordCheck& check) {
    if (!check.picks.computed) {
        return "无法计算";
    }
    return check.target ? "已开奖" : kUndrawn;
}

void writeRecordText(const RecordCheck& check, std::string& text) {
    text += "记录 " + std::to_string(check.id) + ": " + utf8::escapeControls(check.title) + "\n";
    if (!check.picks.computed) {
        text += "无法计算: " + check.picks.problem + "\n";
        return;
    }
    if (!check.target) {
        text += std::string("开奖期号: ") + kUndrawn + "\n";
        return;
    }
    text += "开奖期号: " + check.target->issue + " (" + check.target->date + ")\n";
    for (std::size_t bet = 0; bet < check.bets.size(); ++bet) {
        const tally::BetCheck& b = check.bets[bet];
        text += std::string(kBetLabels[bet]) + ": " +
                (b.numbers.empty() ? "无" : tally::twoDigitText(b.numbers, ","));
        text += "  中" + std::to_string(b.hits.size()) + "个";
        if (!b.hits.empty()) {
            text += ": " + tally::twoDigitText(b.hits, ",");
        }
        text += b.playable ? "  奖金: " + tally::prizeText(b.prize) + (b.prize.floating ? "" : "元")
                           : std::string("  不足十个号码, 不计奖");
        text += "\n";
    }
    text += "预选20码: 中" + std::to_string(check.preselectionHits) + "个\n";
}

std::string summaryText(const TallySummary& summary) {
    std::string text = "汇总: " + std::to_string(summary.bets) + "注 (" + std::to_string(summary.records) +
                       "条记录已开奖, " + std::to_string(summary.undrawn) + "条未开奖";
    if (summary.uncomputed > 0) {
        text += ", " + std::to_string(summary.uncomputed) + "条无法计算";
    }
    text += ")\n中奖个数\t注数\t随机期望\n";
    for (int k = 0; k < tally::kHitCounts; ++k) {
        text += std::to_string(k) + "个\t" + std::to_string(summary.betsByHits[static_cast<std::size_t>(k)]) +
                "\t" + fixed2(summary.expectedBets(k)) + "\n";
    }
    text += "投注: " + std::to_string(summary.stakeYuan) + "元  奖金: " + std::to_string(summary.prizeYuan) +
            "元";
    if (summary.floatingPrizes > 0) {
        text += " (另有" + std::to_string(summary.floatingPrizes) + "注浮动奖金)";
    }
    text += "\n" + std::string(tally::kEntertainmentNote) + "\n";
    return text;
}

// A record not yet drawn has no "target" and its bets no hits or prizes.
JsonDocument recordJson(const RecordCheck& check) {
    JsonDocument record{{"_id", check.id},
                        {"title", check.title},
                        {"status", statusOf(check)},
                        {"problem", check.picks.problem}};
    if (check.target) {
        record["target"] = {{"issue", check.target->issue}, {"date", check.target->date}};
    }
    JsonDocument bets = JsonDocument::array();
    for (const tally::BetCheck& bet : check.bets) {
        JsonDocument b{{"numbers", bet.numbers.numbers()}, {"playable", bet.playable}};
        if (check.target) {
            b["hits"] = bet.hits.numbers();
            b["hitCount"] = bet.hits.size();
            if (bet.playable) {
                b["prize"] = bet.prize.yuan;
                b["floating"] = bet.prize.floating;
            }
        }
        bets.push_back(std::move(b));
    }
    record["bets"] = std::move(bets);
    JsonDocument preselection{{"numbers", check.picks.preselection.numbers()}};
    if (check.target) {
        preselection["hitCount"] = check.preselectionHits;
    }
    record["preselection"] = std::move(preselection);
    return record;
}

JsonDocument summaryJson(const TallySummary& summary) {
    std::array<double, tally::kHitCounts> chance{};
    std::array<double, tally::kHitCounts> expected{};
    for (int k = 0; k < tally::kHitCounts; ++k) {
        chance[static_cast<std::size_t>(k)] = tally::chanceOfHits(k);
        expected[static_cast<std::size_t>(k)] = summary.expectedBets(k);
    }
    return {
        {"records", summary.records},       {"undrawn", summary.undrawn},
        {"uncomputed", summary.uncomputed}, {"bets", summary.bets},
        {"betsByHits", summary.betsByHits}, {"chance", chance},
        {"expectedBets", expected},         {"stakeYuan", summary.stakeYuan},
        {"prizeYuan", summary.prizeYuan},   {"floatingPrizes", summary.floatingPrizes},
    };
}

} // namespace

int runHistoryCheck(const Args& args, std::ostream& out, std::ostream& err) {
    const auto db = openHistoryFile();
    std::vector<store::YsModel> records;
    if (args.positional.empty()) {
        auto saved = tally::savedRecords(*db);
        if (!saved) {
            return fail(err, store::readErrorMessage(saved.error()), kExitFailed);
        }
        records = std::move(*saved);
    }
    // As show and review: a word that is no record id (0, a negative number, text) names no
    // record.
    for (const std::string& word : args.positional) {
        auto record = store::loadRecord(*db, recordId(word));
        if (!record) {
            return fail(err, store::readErrorMessage(record.error()), kExitFailed);
        }
        if (!record->has_value()) {
            return fail(err, "未找到记录 " + word, kExitFailed);
        }
        records.push_back(std::move(**record));
    }
    const auto kept = store::listDraws(*db, tally::kHappy8Code);
    if (!kept) {
        return fail(err, "开奖记录无法读取: " + std::string(store::storeErrorText(kept.error())),
                    kExitFailed);
    }
    const std::vector<RecordCheck> checks = tally::checkRecords(records, tally::DrawIndex(*kept));
    TallySummary summary;
    for (const RecordCheck& check : checks) {
        summary.add(check);
    }

    if (args.has("json")) {
        JsonDocument checked = JsonDocument::array();
        for (const RecordCheck& check : checks) {
            checked.push_back(recordJson(check));
        }
        out << jsonText({{"records", checked}, {"summary", summaryJson(summary)}}) << '\n';
        return kExitOk;
    }
    std::string text;
    for (const RecordCheck& check : checks) {
        writeRecordText(check, text);
        text += "\n";
    }
    out << text << summaryText(summary);
    return kExitOk;
}

} // namespace quenmar::cli
