#pragma once

#include <map>
#include <string>
#include <vector>

// Runs the built quenmar-cli as a child process (no shell) and collects what it printed.
namespace quenmar::testing {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

/// The folder of the built executables (the tests' environment names it).
std::string binDir();

/// Runs `program` (default: quenmar-cli from binDir()) with the arguments; `env` entries are
/// laid over the test's environment (an empty value removes the variable).
CliResult runCli(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {},
                 const std::string& program = {});

} // namespace quenmar::testing
