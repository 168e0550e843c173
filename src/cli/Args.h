#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

// The words of one command once read (see CommandLine.h): its options with a value
// ("--name value"), its flags ("--flag") and its operands, in the order typed.
namespace quenmar::cli {

struct Args {
    std::map<std::string, std::string> values; // by name without "--"; a later repetition won
    std::set<std::string> flags;
    std::vector<std::string> positional;

    bool has(const std::string& name) const { return values.count(name) != 0 || flags.count(name) != 0; }
    const std::string* value(const std::string& name) const;
};

/// A problem with the words of a command, as the one line it is reported in.
struct ArgsError {
    std::string message;
};

/// Exit statuses of the command line.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitBadInput = 2;

} // namespace quenmar::cli
