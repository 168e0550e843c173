#pragma once

#include "base/Result.h"
#include "store/StoreError.h"
#include "store/TableDb.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The draws the program has obtained, kept in a table of their own beside the calculation
// table, in the same file. The calculation table is never touched here: an older file gains
// the draws table the first time it is used, and its calculations stay byte for byte.
namespace quenmar::store {

inline constexpr const char* kDrawTable = "draw_table";

/// One kept draw: a row of the draws table, one per lottery and issue.
struct KeptDraw {
    int code = 0;             // lottery code, 100..106
    std::string issue;        // the issue's digits, "2024123"
    std::string date;         // draw date, "2024-05-01"
    std::string mainNumbers;  // two-digit numbers in draw order, one blank between: "03 07 11"
    std::string extraNumbers; // the extra zone in the same form; empty when the lottery has none
    double obtainedAt = 0.0;  // when it was obtained: a moment, as `ysday`
    std::string source;       // where from: the page's address, or the file it was imported from

    /// The same draw: lottery, issue, date and numbers agree (when and where from need not).
    bool sameDraw(const KeptDraw& other) const;
    bool operator==(const KeptDraw&) const = default;
};

/// What keeping one draw did.
enum class KeepVerdict {
    Added,       // a new row
    AlreadyKept, // the same draw was kept before; nothing changed
    Conflicts,   // a different draw is kept under that lottery and issue; it stays as it is
};

struct KeepResult {
    KeepVerdict verdict = KeepVerdict::Added;
    KeptDraw kept; // the row that was there before, for AlreadyKept and Conflicts
};

/// The exact CREATE statement of the draws table.
std::string drawTableStatement();

/// Creates the draws table when the file has none, in a transaction of its own, so that two
/// programs opening the same file at once cannot both create it.
Result<void, StoreError> ensureDrawTable(const TableDb& db);

/// Keeps one draw: a new row, unless one with the draw's lottery and issue is there already,
/// which is never overwritten. The table must exist (ensureDrawTable).
Result<KeepResult, StoreError> keepDraw(const TableDb& db, const KeptDraw& draw);

/// Runs `work` inside one write transaction: everything it wrote stays when it succeeds, and
/// nothing when it (or the commit) fails.
Result<void, StoreError> inDrawTransaction(const TableDb& db,
                                           const std::function<Result<void, StoreError>()>& work);

/// The kept draws, of one lottery or of all, newest first (by date, then by issue).
Result<std::vector<KeptDraw>, StoreError> listDraws(const TableDb& db,
                                                    std::optional<int> code = std::nullopt);

} // namespace quenmar::store
