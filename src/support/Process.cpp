#include "support/Process.h"

#include <chrono>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace quenmar::support {

bool startProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  int settleMs) {
    std::string programText = program.string();
    std::vector<std::string> words{programText};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) {
        return false;
    }
    // A session of its own: the installer must survive the program that started it, which
    // ends right afterwards, and must not receive the terminal's hang-up.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = -1;
    // glibc reports a failed exec (missing file, not executable) as the result of the call.
    const int result = posix_spawn(&pid, programText.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(settleMs);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            break; // it already finished; reaped so that it leaves no zombie
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

bool makeExecutable(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::permissions(file, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add,
                                 error);
    return !error && access(file.c_str(), X_OK) == 0;
}

} // namespace quenmar::support
