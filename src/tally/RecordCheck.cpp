#include "tally/RecordCheck.h"

#include "engine/CastRule.h"
#include "prediction/Calculation.h"
#include "store/RecordStore.h"

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
    const Calculation calculation = runCalculation(request);
    if (!calculation.run.charted) {
        picks.problem = calculation.run.message;
        return picks;
    }
    picks.computed = true;
    for (std::size_t bet = 0; bet < static_cast<std::size_t>(kBetCount); ++bet) {
        picks.bets[bet] = numbersIn(calculation.prediction.picks[bet]);
    }
    picks.preselection = numbersIn(calculation.prediction.picks[kPreselectionPick]);
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
        check.bets[bet].numbers = check.picks.bets[bet];
        check.bets[bet].playable = check.picks.bets[bet].size() == static_cast<std::size_t>(kBetNumbers);
    }
    const IndexedDraw* target = draws.targetFor(record.ysday);
    if (target == nullptr) {
        return check;
    }
    check.target = *target;
    for (BetCheck& bet : check.bets) {
        const NumberSet hits = numberSetOf(bet.numbers) & target->numbers;
        bet.hits = hits.numbers();
        if (bet.playable) {
            bet.prize = pickTenPrize(target->issueNumber, hits.size());
        }
    }
    check.preselectionHits = numberSetOf(check.picks.preselection).sharedWith(target->numbers);
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
        ++betsByHits[bet.hits.size()];
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

std::vector<RecordCheck> checkRecords(const std::vector<store::YsModel>& records, const DrawIndex& draws,
                                      const std::function<bool(std::size_t done)>& progress) {
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
