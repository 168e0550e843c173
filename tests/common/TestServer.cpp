#include "TestServer.h"

#include "Programs.h"

#include <cstdlib>
#include <poll.h>
#include <unistd.h>

#ifndef QUENMAR_TEST_SERVER_SCRIPT
#error "QUENMAR_TEST_SERVER_SCRIPT must name http_test_server.py"
#endif

namespace quenmar::test {

std::optional<TestCertificates> makeTestCertificates(const std::string& folder) {
    if (!runProgram({"python3", QUENMAR_TEST_SERVER_SCRIPT, "--make-certs", folder}).succeeded()) {
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
    auto process = ChildProgram::start(argv, {}, ChildProgram::Output::OutPiped);
    if (!process) {
        return nullptr;
    }
    // The script prints "PORT n" once it listens; give a slow machine ten seconds.
    std::string line;
    pollfd wait{process->outFd(), POLLIN, 0};
    while (line.find('\n') == std::string::npos && poll(&wait, 1, 10'000) > 0) {
        char buffer[64];
        const ssize_t n = read(process->outFd(), buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        line.append(buffer, static_cast<std::size_t>(n));
    }
    process->closePipes();
    std::unique_ptr<TestServer> server(new TestServer(std::move(*process), tls != nullptr));
    if (line.rfind("PORT ", 0) != 0) {
        return nullptr; // the destructor stops the process
    }
    server->m_port = std::atoi(line.c_str() + 5);
    return server->m_port > 0 ? std::move(server) : nullptr;
}

std::string TestServer::url(const std::string& path) const {
    return std::string(m_tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(m_port) + path;
}

} // namespace quenmar::test
