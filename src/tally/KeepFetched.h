#pragma once

#include "base/Result.h"
#include "draws/DrawResult.h"
#include "store/DrawStore.h"

#include <string>
#include <string_view>
#include <vector>

// Every draw the program obtains from a results page is kept. Keeping is beside the display:
// the page is still downloaded on every refresh and shown as fetched, and the prediction
// never reads what is kept.
namespace quenmar::tally {

struct KeepReport {
    int added = 0;
    int alreadyKept = 0;
    int unusable = 0;                       // no issue, date or numbers, or against the lottery's rules
    std::vector<store::KeptDraw> conflicts; // fetched draws that differ from the one kept under their issue

    bool operator==(const KeepReport&) const = default;
};

/// Keeps the draws a page of lottery `code` listed, in one transaction. A draw that differs
/// from the one kept under its lottery and issue does not replace it; it is named in the
/// report's conflicts.
Result<KeepReport, store::StoreError> keepFetchedDraws(const store::TableDb& db, int code,
                                                       const std::vector<draws::DrawResult>& listed,
                                                       double obtainedAt, std::string_view source);

/// What to tell the user of a report: one sentence per conflict ("第2024123期快乐8开奖与已保存的
/// 不同, 保留已保存的"); empty when there is nothing to say.
std::string conflictText(const KeepReport& report);

} // namespace quenmar::tally
