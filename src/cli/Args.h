#pragma once

#include "base/Result.h"

#include <map>
#include <set>
#include <string>
#include <vector>

// Options of the form "--name value" and "--flag", plus positional words.
namespace quenmar::cli {

struct Args {
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    std::vector<std::string> positional;

    bool has(const std::string& name) const { return values.count(name) != 0 || flags.count(name) != 0; }
    const std::string* value(const std::string& name) const;
};

/// A problem with the words of a command, as the one line it is reported in.
struct ArgsError {
    std::string message;
};

/// Parses `words` knowing which options take a value and which are flags. Unknown options,
/// missing values and text that is not UTF-8 are errors. A later repetition wins.
Result<Args, ArgsError> parseArgs(const std::vector<std::string>& words,
                                  const std::set<std::string>& valueOptions,
                                  const std::set<std::string>& flagOptions);

/// Exit statuses of the command line.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitBadInput = 2;

} // namespace quenmar::cli
