#pragma once

#include "draws/PageDraws.h"

#include <iosfwd>
#include <string>
#include <vector>

// The kept draws from a terminal: `quenmar-cli draws import FILE`, `draws export [--code N]`
// and `draws list [--code N] [--json]`, on the same database as the desktop program.
namespace quenmar::cli {

/// True for the words that name one of these subcommands rather than an option of `draws`.
bool isKeptDrawsSubcommand(const std::string& word);

/// Runs the subcommand `words[0]` with the words after it. import: exit 0 with what it kept
/// on `err`, 1 with the bad row's line (and nothing kept) or when the file cannot be read;
/// export writes the CSV on `out`; list prints newest first. 2 for bad options.
int runKeptDrawsCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

/// Keeps the draws one `draws` fetch obtained, and says on `err` what it could not keep: a draw
/// that differs from the one kept under its issue, or a history that cannot be written.
void keepObtainedDraws(int code, const draws::PageDraws& page, std::ostream& err);

} // namespace quenmar::cli
