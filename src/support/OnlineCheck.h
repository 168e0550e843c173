#pragma once

#include <string>
#include <vector>

// Whether the machine reaches the internet, asked of the system's ping command. Only the
// command's exit status counts; its output is discarded.
namespace quenmar::support {

struct OnlineCheckCommand {
    std::string program;           // looked up on PATH when it holds no "/"
    std::vector<std::string> args; // the arguments after the program name
    int timeLimitMs = 5'000;       // the child is killed and the check fails past this
};

/// The build's check: one echo request to `host` with a short wait for the answer, numeric
/// output so that no reverse look-up delays it.
OnlineCheckCommand pingCommand(const std::string& host);

/// Runs `command` as a child process (no shell, no terminal: standard input, output and error
/// are /dev/null) and waits for it, at most its time limit. True exactly when it ran and
/// exited with status 0.
bool runOnlineCheck(const OnlineCheckCommand& command);

} // namespace quenmar::support
