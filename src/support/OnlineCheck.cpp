#include "support/OnlineCheck.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace quenmar::support {

namespace {

// iputils ping: one request (-c 1), two seconds for the answer (-W 2), numeric (-n). Name
// resolution is not covered by -W, hence the child's own time limit on top.
constexpr const char* kPingWaitSeconds = "2";

class SpawnActions {
public:
    SpawnActions() { m_ok = posix_spawn_file_actions_init(&m_actions) == 0; }
    ~SpawnActions() {
        if (m_ok) {
            posix_spawn_file_actions_destroy(&m_actions);
        }
    }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    bool silence() {
        for (int fd = 0; fd <= 2; ++fd) {
            if (!m_ok || posix_spawn_file_actions_addopen(&m_actions, fd, "/dev/null",
                                                          fd == 0 ? O_RDONLY : O_WRONLY, 0) != 0) {
                return false;
            }
        }
        return true;
    }
    const posix_spawn_file_actions_t* get() const { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions{};
    bool m_ok = false;
};

// Waits for `pid` until `deadline`; the exit status, or nothing when it ran out of time.
std::optional<int> waitUntil(pid_t pid, std::chrono::steady_clock::time_point deadline) {
    auto pause = std::chrono::milliseconds(2);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return status;
        }
        if (done < 0 && errno != EINTR) {
            return std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

} // namespace

OnlineCheckCommand pingCommand(const std::string& host) {
    return OnlineCheckCommand{"ping", {"-n", "-c", "1", "-W", kPingWaitSeconds, "--", host}, 5'000};
}

bool runOnlineCheck(const OnlineCheckCommand& command) {
    if (command.program.empty()) {
        return false;
    }
    std::vector<std::string> words;
    words.reserve(command.args.size() + 1);
    words.push_back(command.program);
    words.insert(words.end(), command.args.begin(), command.args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    SpawnActions actions;
    if (!actions.silence()) {
        return false;
    }
    pid_t pid = -1;
    const bool searchPath = command.program.find('/') == std::string::npos;
    const int spawned = searchPath ? posix_spawnp(&pid, argv[0], actions.get(), nullptr, argv.data(), environ)
                                   : posix_spawn(&pid, argv[0], actions.get(), nullptr, argv.data(), environ);
    if (spawned != 0) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(command.timeLimitMs);
    if (const auto status = waitUntil(pid, deadline)) {
        return WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
    }
    kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return false;
}

} // namespace quenmar::support
