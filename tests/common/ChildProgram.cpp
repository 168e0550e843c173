#include "ChildProgram.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace quenmar::test {

namespace {

std::vector<std::string> mergedEnvironment(const Environment& overrides) {
    std::vector<std::string> entries;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        if (overrides.count(entry.substr(0, entry.find('='))) == 0) {
            entries.push_back(entry);
        }
    }
    for (const auto& [name, value] : overrides) {
        if (!value.empty()) {
            entries.push_back(name + "=" + value);
        }
    }
    return entries;
}

std::vector<char*> pointers(std::vector<std::string>& words) {
    std::vector<char*> list;
    for (std::string& word : words) {
        list.push_back(word.data());
    }
    list.push_back(nullptr);
    return list;
}

// The pipe ends of one start; the child's ends are closed once it runs.
struct Pipe {
    int read = -1;
    int write = -1;
    bool open() {
        int fds[2];
        if (pipe(fds) != 0) {
            return false;
        }
        read = fds[0];
        write = fds[1];
        return true;
    }
    void closeBoth() {
        for (int* fd : {&read, &write}) {
            if (*fd >= 0) {
                close(*fd);
                *fd = -1;
            }
        }
    }
};

} // namespace

std::optional<ChildProgram> ChildProgram::start(const std::vector<std::string>& argv,
                                                const Environment& environment, Output output) {
    if (argv.empty()) {
        return std::nullopt;
    }
    std::vector<std::string> words = argv;
    std::vector<std::string> env = mergedEnvironment(environment);
    const std::vector<char*> argp = pointers(words);
    const std::vector<char*> envp = pointers(env);

    Pipe out;
    Pipe err;
    const bool pipeOut = output != Output::Inherited;
    const bool pipeErr = output == Output::Piped;
    if ((pipeOut && !out.open()) || (pipeErr && !err.open())) {
        out.closeBoth();
        err.closeBoth();
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    for (const auto& [pipeEnd, fd] : {std::pair{&out, 1}, std::pair{&err, 2}}) {
        if (pipeEnd->write >= 0) {
            posix_spawn_file_actions_adddup2(&actions, pipeEnd->write, fd);
            posix_spawn_file_actions_addclose(&actions, pipeEnd->read);
        }
    }
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    for (Pipe* pipeEnd : {&out, &err}) {
        if (pipeEnd->write >= 0) {
            close(pipeEnd->write);
        }
    }
    if (spawned != 0) {
        for (Pipe* pipeEnd : {&out, &err}) {
            if (pipeEnd->read >= 0) {
                close(pipeEnd->read);
            }
        }
        return std::nullopt;
    }
    return ChildProgram(pid, out.read, err.read);
}

ChildProgram::ChildProgram(ChildProgram&& other) noexcept
    : m_pid(other.m_pid), m_out(other.m_out), m_err(other.m_err) {
    other.m_pid = -1;
    other.m_out = -1;
    other.m_err = -1;
}

ChildProgram::~ChildProgram() {
    terminate();
    closePipes();
}

void ChildProgram::closePipes() {
    for (int* fd : {&m_out, &m_err}) {
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
    }
}

int ChildProgram::wait() {
    if (m_pid <= 0) {
        return -1;
    }
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0) {
        if (errno != EINTR) {
            m_pid = -1;
            return -1;
        }
    }
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProgram::terminate() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        wait();
    }
}

} // namespace quenmar::test
