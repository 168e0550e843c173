#pragma once

#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quenmar::test {

/// Environment entries laid over the test's own: an empty value removes the variable.
using Environment = std::map<std::string, std::string>;

/// A program the test started (never through a shell), with its standard input on /dev/null
/// and, as asked, its output and error on pipes the test reads. Ended (SIGTERM) and waited
/// for when the object goes away.
class ChildProgram {
public:
    enum class Output {
        Inherited, // the test's own standard output and error
        Piped,     // outFd() and errFd() read them
        OutPiped,  // outFd() reads the output; the error is the test's own
    };

    /// Starts argv[0], looked up on PATH when it holds no "/"; nothing when it cannot start.
    static std::optional<ChildProgram> start(const std::vector<std::string>& argv,
                                             const Environment& environment, Output output);

    ChildProgram(ChildProgram&& other) noexcept;
    ChildProgram& operator=(ChildProgram&&) = delete;
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;
    ~ChildProgram();

    int outFd() const { return m_out; }
    int errFd() const { return m_err; }
    /// Closes the test's end of the pipes.
    void closePipes();

    /// Waits for the program to end: its exit status, or -1 when it did not end normally.
    int wait();

    /// Asks the program to end and waits for it.
    void terminate();

private:
    ChildProgram(pid_t pid, int out, int err) : m_pid(pid), m_out(out), m_err(err) {}

    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
};

} // namespace quenmar::test
