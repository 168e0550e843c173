#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Starting another program: never through a shell, so no text of ours or of a server is
// ever read as a command.
namespace quenmar::support {

/// Starts `program` with `arguments` as a new process in a session of its own, so that it
/// outlives this one, then waits up to `settleMs` milliseconds to let it get going (it is
/// not waited for beyond that). False when the program could not be started.
bool startProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  int settleMs);

/// Lets the owner run the file (a downloaded installer). True when it is runnable afterwards.
bool makeExecutable(const std::filesystem::path& file);

} // namespace quenmar::support
