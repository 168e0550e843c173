#include "support/Process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace quenmar::support {

namespace {

struct SpawnMode {
    bool searchPath = false; // a name without "/" is looked up on PATH
    bool ownSession = false; // the child survives this process and its terminal
    bool silenced = false;   // standard input, output and error on /dev/null
};

// The spawn attributes and file actions of one start, released together.
class SpawnSetup {
public:
    explicit SpawnSetup(const SpawnMode& mode) {
        m_ok = posix_spawnattr_init(&m_attributes) == 0;
        m_attributesReady = m_ok;
        m_ok = m_ok && posix_spawn_file_actions_init(&m_actions) == 0;
        m_actionsReady = m_ok;
        if (m_ok && mode.ownSession) {
            m_ok = posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSID) == 0;
        }
        for (int fd = 0; m_ok && mode.silenced && fd <= 2; ++fd) {
            m_ok = posix_spawn_file_actions_addopen(&m_actions, fd, "/dev/null",
                                                    fd == 0 ? O_RDONLY : O_WRONLY, 0) == 0;
        }
    }
    ~SpawnSetup() {
        if (m_actionsReady) {
            posix_spawn_file_actions_destroy(&m_actions);
        }
        if (m_attributesReady) {
            posix_spawnattr_destroy(&m_attributes);
        }
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    bool ok() const { return m_ok; }
    const posix_spawnattr_t* attributes() const { return &m_attributes; }
    const posix_spawn_file_actions_t* actions() const { return &m_actions; }

private:
    posix_spawnattr_t m_attributes{};
    posix_spawn_file_actions_t m_actions{};
    bool m_attributesReady = false;
    bool m_actionsReady = false;
    bool m_ok = false;
};

Result<pid_t, SupportError> spawn(const std::string& program, const std::vector<std::string>& arguments,
                                  const SpawnMode& mode) {
    if (program.empty()) {
        return Failure{SupportError{SupportFailure::ProgramNotStarted, "no program given"}};
    }
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const SpawnSetup setup(mode);
    if (!setup.ok()) {
        return Failure{SupportError{SupportFailure::ProgramNotStarted, "cannot prepare the child process"}};
    }
    pid_t pid = -1;
    // glibc reports a failed exec (missing file, not executable) as the result of the call.
    const bool searchPath = mode.searchPath && program.find('/') == std::string::npos;
    const int result =
        searchPath ? posix_spawnp(&pid, argv[0], setup.actions(), setup.attributes(), argv.data(), environ)
                   : posix_spawn(&pid, argv[0], setup.actions(), setup.attributes(), argv.data(), environ);
    if (result != 0) {
        return Failure{
            SupportError{SupportFailure::ProgramNotStarted, program + ": " + std::strerror(result)}};
    }
    return pid;
}

// Waits for `pid` until `deadline`; its wait status, or nothing when it ran out of time.
std::optional<int> waitUntil(pid_t pid, std::chrono::steady_clock::time_point deadline) {
    auto pause = std::chrono::milliseconds(2);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return status;
        }
        if ((done < 0 && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

std::chrono::steady_clock::time_point after(int milliseconds) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

} // namespace

Result<int, SupportError> runProcess(const std::string& program, const std::vector<std::string>& arguments,
                                     int timeLimitMs) {
    const auto pid = spawn(program, arguments, SpawnMode{true, false, true});
    if (!pid) {
        return Failure{pid.error()};
    }
    const auto status = waitUntil(*pid, after(timeLimitMs));
    if (!status) {
        kill(*pid, SIGKILL);
        int ignored = 0;
        while (waitpid(*pid, &ignored, 0) < 0 && errno == EINTR) {
        }
        return Failure{SupportError{SupportFailure::ProgramTimedOut,
                                    program + " ran past " + std::to_string(timeLimitMs) + " ms"}};
    }
    if (!WIFEXITED(*status)) {
        return Failure{SupportError{SupportFailure::ProgramCrashed,
                                    program + " ended by signal " + std::to_string(WTERMSIG(*status))}};
    }
    return WEXITSTATUS(*status);
}

Result<void, SupportError> startProcess(const std::filesystem::path& program,
                                        const std::vector<std::string>& arguments, int settleMs) {
    // A session of its own: the installer must survive the program that started it, which
    // ends right afterwards, and must not receive the terminal's hang-up.
    const auto pid = spawn(program.string(), arguments, SpawnMode{false, true, false});
    if (!pid) {
        return Failure{pid.error()};
    }
    // A child that finishes within the wait is reaped, so that it leaves no zombie.
    (void)waitUntil(*pid, after(settleMs));
    return {};
}

bool makeExecutable(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::permissions(file, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add,
                                 error);
    return !error && access(file.c_str(), X_OK) == 0;
}

} // namespace quenmar::support
