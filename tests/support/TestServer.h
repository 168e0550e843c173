#pragma once

#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// Loopback servers for the network tests: the Python script beside this file, started on
// 127.0.0.1 with a port the system picks, stopped when the object goes away.
namespace quenmar::test {

/// A fresh folder below the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

/// A certificate authority the tests trust, a server certificate for 127.0.0.1 it signed,
/// and an unrelated authority that did not sign it.
struct TestCertificates {
    std::string caFile;
    std::string otherCaFile;
    std::string certFile;
    std::string keyFile;
};

/// Makes the certificates in `folder` (with the openssl command); nothing on failure.
std::optional<TestCertificates> makeTestCertificates(const std::string& folder);

class TestServer {
public:
    /// Serves the files below `root`; over TLS with `tls`'s server certificate when given.
    static std::unique_ptr<TestServer> start(const std::string& root, const TestCertificates* tls = nullptr);
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    int port() const { return m_port; }
    /// "http(s)://127.0.0.1:PORT" followed by `path` (which starts with "/").
    std::string url(const std::string& path) const;

private:
    TestServer() = default;

    pid_t m_pid = -1;
    int m_port = 0;
    bool m_tls = false;
};

/// Writes `bytes` into the file `path`; false on failure.
bool writeFile(const std::string& path, const std::string& bytes);

/// The bytes of the file `path`; nothing when it cannot be read.
std::optional<std::string> readFile(const std::string& path);

/// Runs a program (no shell) and waits; true when it exits with status 0.
bool runProgram(const std::vector<std::string>& argv);

} // namespace quenmar::test
