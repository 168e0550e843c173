#pragma once

#include "base/Result.h"
#include "cli/Args.h"

#include <iosfwd>
#include <string>
#include <vector>

// The command line's grammar: every command and subcommand with its options, its operands and
// the line of help each has, read by CLI11, which also writes --help and --version.
namespace quenmar::cli {

/// A command as it runs: its parsed words, what it prints, and its exit status.
using CommandRunner = int (*)(const Args& args, std::ostream& out, std::ostream& err);

/// What the words of a command line ask for: a command to run with its arguments, or a text
/// to print (the help of a command or the version) when `run` is null.
struct Invocation {
    CommandRunner run = nullptr;
    Args args;
    std::string text;
};

/// Reads the words after the program's name. A usage error is the one line that says it, in
/// this program's words; the parser's own exceptions and texts stay inside.
Result<Invocation, ArgsError> parseCommandLine(const std::vector<std::string>& words);

/// Runs the command line `words` (the program's name left out): the command's exit status, 0
/// after the help or the version, 2 with one line on `err` for a usage error, and 2 with the
/// program's help on `err` when there are no words at all.
int runCommandLine(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

} // namespace quenmar::cli
