#include "TestServer.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#ifndef QUENMAR_TEST_SERVER_SCRIPT
#error "QUENMAR_TEST_SERVER_SCRIPT must name http_test_server.py"
#endif

namespace quenmar::test {

namespace {

std::vector<char*> argvPointers(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (auto& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Forks and runs `argv` with its standard output going to `stdoutFd` (-1 = /dev/null).
pid_t spawn(std::vector<std::string> argv, int stdoutFd) {
    auto pointers = argvPointers(argv);
    const pid_t pid = fork();
    if (pid == 0) {
        const int devNull = open("/dev/null", O_RDWR);
        dup2(stdoutFd >= 0 ? stdoutFd : devNull, STDOUT_FILENO);
        dup2(devNull, STDIN_FILENO);
        execvp(pointers[0], pointers.data());
        _exit(127);
    }
    return pid;
}

} // namespace

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/quenmar-test-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
    }
}

TempDir::~TempDir() {
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
}

bool runProgram(const std::vector<std::string>& argv) {
    const pid_t pid = spawn(argv, -1);
    if (pid < 0) {
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::optional<TestCertificates> makeTestCertificates(const std::string& folder) {
    if (!runProgram({"python3", QUENMAR_TEST_SERVER_SCRIPT, "--make-certs", folder})) {
        return std::nullopt;
    }
    return TestCertificates{folder + "/ca.pem", folder + "/other-ca.pem", folder + "/server.pem",
                            folder + "/server.key"};
}

std::unique_ptr<TestServer> TestServer::start(const std::string& root, const TestCertificates* tls) {
    std::vector<std::string> argv{"python3", QUENMAR_TEST_SERVER_SCRIPT, "--root", root};
    if (tls != nullptr) {
        argv.insert(argv.end(), {"--cert", tls->certFile, "--key", tls->keyFile});
    }
    int fds[2];
    if (pipe(fds) != 0) {
        return nullptr;
    }
    std::unique_ptr<TestServer> server(new TestServer);
    server->m_tls = tls != nullptr;
    server->m_pid = spawn(argv, fds[1]);
    close(fds[1]);
    if (server->m_pid < 0) {
        close(fds[0]);
        return nullptr;
    }
    // The script prints "PORT n" once it listens; give a slow machine ten seconds.
    std::string line;
    pollfd wait{fds[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && poll(&wait, 1, 10'000) > 0) {
        char buffer[64];
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        line.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    if (line.rfind("PORT ", 0) != 0) {
        return nullptr; // the destructor stops the process
    }
    server->m_port = std::atoi(line.c_str() + 5);
    return server->m_port > 0 ? std::move(server) : nullptr;
}

TestServer::~TestServer() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

std::string TestServer::url(const std::string& path) const {
    return std::string(m_tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(m_port) + path;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out.flush());
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace quenmar::test
