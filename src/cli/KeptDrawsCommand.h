#pragma once

#include "cli/Args.h"
#include "draws/PageDraws.h"

#include <iosfwd>

// The kept draws from a terminal: `quenmar-cli draws import FILE`, `draws export [--code N]`
// and `draws list [--code N] [--json]`, on the same database as the desktop program.
namespace quenmar::cli {

/// draws import FILE: exit 0 with what it kept on `err`, 1 with the bad row's line (and nothing
/// kept) or when the file cannot be read, 2 for bad input.
int runDrawsImport(const Args& args, std::ostream& out, std::ostream& err);

/// draws export [--code N]: the kept draws as CSV on `out`; 2 for bad input.
int runDrawsExport(const Args& args, std::ostream& out, std::ostream& err);

/// draws list [--code N] [--json]: the kept draws, newest first; 2 for bad input.
int runDrawsList(const Args& args, std::ostream& out, std::ostream& err);

/// Keeps the draws one `draws` fetch obtained, and says on `err` what it could not keep: a draw
/// that differs from the one kept under its issue, or a history that cannot be written.
void keepObtainedDraws(int code, const draws::PageDraws& page, std::ostream& err);

} // namespace quenmar::cli
