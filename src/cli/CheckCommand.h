#pragma once

#include "cli/Args.h"

#include <iosfwd>

namespace quenmar::cli {

/// quenmar-cli history check [ID...] [--json]: 对奖 of the named saved calculations (all of
/// them, newest first, when none is named) against the kept 快乐8 draws, then the summary of
/// their bets beside chance. Exit 0; 1 when a record is missing or the history or the draws
/// cannot be read; 2 for bad input.
int runHistoryCheck(const Args& args, std::ostream& out, std::ostream& err);

} // namespace quenmar::cli
