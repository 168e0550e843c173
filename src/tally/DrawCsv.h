#pragma once

#include "base/Result.h"
#include "store/DrawStore.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Kept draws as CSV, in and out: a header "code,issue,date,numbers", then one draw a line, its
// numbers as two-digit texts separated by blanks and the extra numbers after a "+":
//     100,2024123,2024-05-01,03 07 11 14 18 22 25 29 31 36 40 44 47 51 58 62 66 70 73 79
//     101,2024050,2024-05-05,03 09 14 22 27 31+12
namespace quenmar::tally {

inline constexpr std::string_view kDrawCsvHeader = "code,issue,date,numbers";

/// The line of one kept draw, without its end of line.
std::string drawCsvLine(const store::KeptDraw& draw);

/// The header and one line per draw, each ended by "\n".
std::string drawCsv(const std::vector<store::KeptDraw>& draws);

/// Why a file was not imported: the line (1-based; 0 for the file as a whole) and what is wrong.
struct CsvProblem {
    int line = 0;
    std::string message;
    bool cancelled = false; // the user stopped the import; nothing was kept
};

/// The message as quenmar-cli and the window show it: "第3行: 日期应为 YYYY-MM-DD ...".
std::string csvProblemText(const CsvProblem& problem);

struct CsvRow {
    int line = 0;
    store::KeptDraw draw;
};

/// The rows of a CSV text, each checked by its lottery's rules; the first problem with its
/// line. A byte-order mark, CR LF line ends and blank lines are allowed.
Result<std::vector<CsvRow>, CsvProblem> readDrawCsv(std::string_view text, double obtainedAt,
                                                    std::string_view source);

/// What an import kept.
struct ImportReport {
    int added = 0;
    int alreadyKept = 0; // rows of draws kept before, identical: nothing to do
};

/// Reads a CSV text and keeps its draws in one transaction: all of them, or nothing at all
/// when a row is bad, differs from a draw kept under its lottery and issue (or from an earlier
/// row of the file), or the store fails. `progress` hears the rows done and the rows in all;
/// when it returns false the import stops and keeps nothing.
Result<ImportReport, CsvProblem>
importDrawCsv(const store::TableDb& db, std::string_view text, double obtainedAt, std::string_view source,
              const std::function<bool(std::size_t done, std::size_t total)>& progress = {});

} // namespace quenmar::tally
