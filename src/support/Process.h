#pragma once

#include "base/Result.h"
#include "support/SupportError.h"

#include <filesystem>
#include <string>
#include <vector>

// Starting another program, in one way for every caller: never through a shell, so no text of
// ours or of a server is ever read as a command.
namespace quenmar::support {

/// Runs `program` (looked up on PATH when it holds no "/") with `arguments`, its standard
/// input, output and error on /dev/null, and waits for it at most `timeLimitMs`; a program
/// still running then is killed. Its exit status when it ended by itself with one.
Result<int, SupportError> runProcess(const std::string& program, const std::vector<std::string>& arguments,
                                     int timeLimitMs);

/// Starts `program` with `arguments` as a new process in a session of its own, so that it
/// outlives this one, then waits up to `settleMs` milliseconds to let it get going (it is
/// not waited for beyond that). Fails when the program could not be started.
Result<void, SupportError> startProcess(const std::filesystem::path& program,
                                        const std::vector<std::string>& arguments, int settleMs);

/// Lets the owner run the file (a downloaded installer). True when it is runnable afterwards.
bool makeExecutable(const std::filesystem::path& file);

} // namespace quenmar::support
