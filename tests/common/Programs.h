#pragma once

#include "ChildProgram.h"

#include <string>
#include <vector>

namespace quenmar::test {

/// How a program the test ran ended, and what it printed.
struct ProgramRun {
    int exitCode = -1; // -1 when it did not start or did not end normally
    std::string out;
    std::string err;

    bool succeeded() const { return exitCode == 0; }
};

/// Runs argv[0] (looked up on PATH when it holds no "/"; no shell) with the arguments after
/// it, `environment` laid over the test's own, and waits for it to end.
ProgramRun runProgram(const std::vector<std::string>& argv, const Environment& environment = {});

/// Runs the built quenmar-cli (in binFolder()) with the arguments.
ProgramRun runCli(const std::vector<std::string>& args, const Environment& environment = {});

} // namespace quenmar::test
