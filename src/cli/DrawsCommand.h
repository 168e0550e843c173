#pragma once

#include "cli/Args.h"

#include <iosfwd>

namespace quenmar::cli {

/// quenmar-cli draws [--code 100..106] [--url URL] [--json]: fetches the latest draw of the
/// lottery (from its built-in source, or from the page at URL) and prints it. Exit 0 with the
/// draw; 1 with one line on `err` when the page cannot be fetched or holds no draw; 2 for bad
/// options.
int runDrawsCommand(const Args& args, std::ostream& out, std::ostream& err);

} // namespace quenmar::cli
