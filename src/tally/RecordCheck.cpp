#include "tally/RecordCheck.h"

#include "engine/CastRule.h"
#include "prediction/Calculation.h"
#include "store/RecordStore.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <utility>

namespace quenmar::tally {

namespace {

constexpr std::size_t kPreselectionPick = kBetCount; // pick 11, 0-based

} // namespace

RecordPicks picksOfRecord(const store::YsModel& record) {
    RecordPicks picks;
    // The stored moment stands for every method: by number it is the moment of the save,
    // which the review of a number cast replaces with the present one.
    const CastRequest request = store::requestFromModel(record);
    if (const CastVerdict verdict = checkCast(request); !verdict.castable()) {
        picks.problem = std::string(verdict.message);
        return picks;
    }
    // The numbers alone, without the report and the texts of a whole calculation: the same
    // numbers its prediction text shows, at a fraction of the cost.
    const auto sets = computePicks(request);
    if (!sets) {
        picks.problem = sets.error();
        return picks;
    }
    picks.computed = true;
    for (std::size_t bet = 0; bet < static_cast<std::size_t>(kBetCount); ++bet) {
        picks.bets[bet] = (*sets)[bet];
    }
    picks.preselection = (*sets)[kPreselectionPick];
    return picks;
}

RecordCheck checkRecord(const store::YsModel& record, const DrawIndex& draws) {
    RecordCheck check;
    check.id = record._id;
    check.title = record.ysname;
    check.picks = picksOfRecord(record);
    if (!check.picks.computed) {
        return check;
    }
    for (std::size_t bet = 0; bet < static_cast<std::size_t>(kBetCount); ++bet) {
        check.bets[bet].playable = check.picks.bets[bet].size() == kBetNumbers;
        check.bets[bet].numbers = check.picks.bets[bet];
    }
    const IndexedDraw* target = draws.targetFor(record.ysday);
    if (target == nullptr) {
        return check;
    }
    check.target = *target;
    for (BetCheck& bet : check.bets) {
        bet.hits = bet.numbers & target->numbers;
        if (bet.playable) {
            bet.prize = pickTenPrize(target->issueNumber, bet.hits.size());
        }
    }
    check.preselectionHits = check.picks.preselection.sharedWith(target->numbers);
    return check;
}

void TallySummary::add(const RecordCheck& check) {
    if (!check.picks.computed) {
        ++uncomputed;
        return;
    }
    if (!check.target) {
        ++undrawn;
        return;
    }
    ++records;
    for (const BetCheck& bet : check.bets) {
        if (!bet.playable) {
            continue;
        }
        ++bets;
        ++betsByHits[static_cast<std::size_t>(bet.hits.size())];
        stakeYuan += kStakeYuan;
        if (bet.prize.floating) {
            ++floatingPrizes;
        } else {
            prizeYuan += bet.prize.yuan;
        }
    }
}

double TallySummary::expectedBets(int hits) const {
    return static_cast<double>(bets) * chanceOfHits(hits);
}

namespace {

// Without a progress report nobody needs the records done in order: they are shared among the
// cores, each thread taking the next run of records as it finishes one and checking them into
// their own slots, so that a core slowed by anything else leaves more of the work to the others.
// A thread that cannot be started leaves its share to the calling thread.
std::vector<RecordCheck> checkOnEveryCore(const std::vector<store::YsModel>& records,
                                          const DrawIndex& draws) {
    constexpr std::size_t kLeastPerThread = 2'000; // below that a thread costs more than it saves
    constexpr std::size_t kRun = 256;              // records taken at a time
    const std::size_t count = records.size();
    const std::size_t cores = std::max(1U, std::thread::hardware_concurrency());
    const std::size_t threads = std::min(cores, 1 + count / kLeastPerThread);
    std::vector<RecordCheck> checks(count);
    std::atomic<std::size_t> next{0};
    const auto checkRuns = [&records, &draws, &checks, &next, count] {
        for (std::size_t from = next.fetch_add(kRun); from < count; from = next.fetch_add(kRun)) {
            for (std::size_t i = from; i < std::min(from + kRun, count); ++i) {
                checks[i] = checkRecord(records[i], draws);
            }
        }
    };
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(checkRuns);
        } catch (const std::system_error&) {
            break; // the threads started so far and this one share what is left
        }
    }
    checkRuns();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return checks;
}

} // namespace

std::vector<RecordCheck> checkRecords(const std::vector<store::YsModel>& records, const DrawIndex& draws,
                                      const std::function<bool(std::size_t done)>& progress) {
    if (!progress) {
        return checkOnEveryCore(records, draws);
    }
    std::vector<RecordCheck> checks;
    checks.reserve(records.size());
    for (const store::YsModel& record : records) {
        checks.push_back(checkRecord(record, draws));
        if (progress && !progress(checks.size())) {
            break;
        }
    }
    return checks;
}

Result<std::vector<store::YsModel>, store::StoreError> savedRecords(const store::TableDb& db) {
    const auto rows = store::listRecords(db);
    if (!rows) {
        return Failure{rows.error()};
    }
    std::vector<store::YsModel> records;
    records.reserve(rows->size());
    for (const store::ListRow& row : *rows) {
        auto record = store::loadRecord(db, row.id);
        if (!record) {
            return Failure{record.error()};
        }
        // A row deleted between the list and its load (another program) is simply gone.
        if (record->has_value()) {
            records.push_back(std::move(**record));
        }
    }
    return records;
}

std::string prizeText(const Prize& prize) {
    return prize.floating ? std::string("浮动") : std::to_string(prize.yuan);
}

} // namespace quenmar::tally
