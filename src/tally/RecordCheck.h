#pragma once

#include "base/Result.h"
#include "store/StoreError.h"
#include "store/TableDb.h"
#include "store/YsModel.h"
#include "tally/DrawIndex.h"
#include "tally/NumberSet.h"
#include "tally/PrizeTable.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// 对奖: how the numbers of saved calculations did against the kept 快乐8 draws, and the
// summary of many such checks beside what chance alone gives.
namespace quenmar::tally {

inline constexpr int kBetCount = 10;

/// Said wherever the hits are shown: the numbers are a pastime, and the draw is chance.
inline constexpr std::string_view kEntertainmentNote =
    "推演号码仅供娱乐: 开奖号码是随机的, 任何推算都不能预知.";

/// The eleven picks of a saved calculation, computed again from the record with the record's
/// own moment whatever its method: the numbers the user saw when saving it. Nothing, with the
/// reason, when the record cannot be computed (a file edited by hand).
struct RecordPicks {
    bool computed = false;
    std::string problem; // why not, e.g. "未选择卦主生肖"
    // Sets, not lists: a pick's numbers are distinct and shown in ascending order, and a set
    // costs no allocation, which counts when a long history is checked at once.
    std::array<NumberSet, kBetCount> bets; // fewer than ten when the pick is short
    NumberSet preselection;                // 预选20码

    bool operator==(const RecordPicks&) const = default;
};

RecordPicks picksOfRecord(const store::YsModel& record);

/// One bet against the target draw.
struct BetCheck {
    NumberSet numbers;
    NumberSet hits;        // the numbers drawn
    bool playable = false; // ten numbers: a 选十 bet; a shorter pick is no bet and pays nothing
    Prize prize;           // playable bets only

    bool operator==(const BetCheck&) const = default;
};

/// A saved calculation against its target draw.
struct RecordCheck {
    int id = 0;
    std::string title;
    RecordPicks picks;
    std::optional<IndexedDraw> target; // nothing: 未开奖, no kept draw late enough
    std::array<BetCheck, kBetCount> bets;
    int preselectionHits = 0;

    bool drawn() const { return picks.computed && target.has_value(); }
    bool operator==(const RecordCheck&) const = default;
};

/// The check of one record against the kept draws.
RecordCheck checkRecord(const store::YsModel& record, const DrawIndex& draws);

/// The bets of many checks together: how many had k hits, and what they cost and won.
struct TallySummary {
    std::int64_t records = 0;    // checked against a draw
    std::int64_t undrawn = 0;    // 未开奖
    std::int64_t uncomputed = 0; // could not be computed
    std::int64_t bets = 0;       // playable bets of the checked records
    std::array<std::int64_t, kHitCounts> betsByHits{};
    std::int64_t stakeYuan = 0;
    std::int64_t prizeYuan = 0;      // the fixed prizes
    std::int64_t floatingPrizes = 0; // bets that won the floating top prize, not in prizeYuan

    void add(const RecordCheck& check);
    /// The number of bets that chance alone gives `hits` hits: bets × chanceOfHits(hits).
    double expectedBets(int hits) const;
};

/// Checks the records, giving their checks in the records' order. `progress` is told the number
/// done after each record; when it returns false the checking stops there, and the checks made
/// so far are returned. Without `progress` the records are checked on every core at once.
std::vector<RecordCheck> checkRecords(const std::vector<store::YsModel>& records, const DrawIndex& draws,
                                      const std::function<bool(std::size_t done)>& progress = {});

/// Every saved calculation, newest first, as the history lists them; a history that cannot be
/// read is its StoreError, never an empty list.
Result<std::vector<store::YsModel>, store::StoreError> savedRecords(const store::TableDb& db);

/// "浮动" for the floating prize, else the amount in 元 as digits.
std::string prizeText(const Prize& prize);

} // namespace quenmar::tally
