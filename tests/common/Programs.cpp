#include "Programs.h"

#include "Files.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace quenmar::test {

ProgramRun runProgram(const std::vector<std::string>& argv, const Environment& environment) {
    ProgramRun run;
    auto child = ChildProgram::start(argv, environment, ChildProgram::Output::Piped);
    if (!child) {
        return run;
    }
    // Both pipes are read as they fill, so a program that writes much to one never blocks.
    pollfd fds[2] = {{child->outFd(), POLLIN, 0}, {child->errFd(), POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    char buffer[65536];
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
                continue;
            }
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                fds[i].fd = -1;
                --open;
            } else {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            }
        }
    }
    child->closePipes();
    run.exitCode = child->wait();
    return run;
}

ProgramRun runCli(const std::vector<std::string>& args, const Environment& environment) {
    std::vector<std::string> argv{(binFolder() / "quenmar-cli").string()};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProgram(argv, environment);
}

} // namespace quenmar::test
