#pragma once

#include "base/Result.h"
#include "cli/Args.h"
#include "prediction/Calculation.h"

#include <iosfwd>
#include <string>

// The history of saved calculations from a terminal, on the same database as the desktop
// program (see support/ProgramPaths.h for where it lives).
namespace quenmar::cli {

/// Options that `cast` takes to save its chart.
inline constexpr const char* kSaveOption = "save";
inline constexpr const char* kNotesOption = "notes";

/// Checks a cast's --save/--notes before anything is computed.
Result<void, ArgsError> checkSaveOptions(const Args& args);

/// Saves a finished cast as a new record under the title and notes, as the save button
/// does; writes "保存成功" or "保存失败" on `err` and gives exit 0 or 1.
int saveCastRecord(const Calculation& calculation, const std::string& title, const std::string& notes,
                   std::ostream& err);

// quenmar-cli history list|show|review|delete ...: exit 0, 1 when a record is missing or the
// store fails, 2 with one line on `err` for bad input.

/// history list [--json]: id and title of every record, newest first.
int runHistoryList(const Args& args, std::ostream& out, std::ostream& err);

/// history show ID [--json]: the columns of one record.
int runHistoryShow(const Args& args, std::ostream& out, std::ostream& err);

/// history review ID [--moment TIME] [--json]: the record computed again, as `cast` prints it.
int runHistoryReview(const Args& args, std::ostream& out, std::ostream& err);

/// history delete ID...: the records deleted in one transaction; each id without one is named.
int runHistoryDelete(const Args& args, std::ostream& out, std::ostream& err);

} // namespace quenmar::cli
