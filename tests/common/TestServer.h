#pragma once

#include "ChildProgram.h"

#include <memory>
#include <optional>
#include <string>

// Loopback servers for the network tests: the Python script beside this file, started on
// 127.0.0.1 with a port the system picks, stopped when the object goes away.
namespace quenmar::test {

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

    int port() const { return m_port; }
    /// "http(s)://127.0.0.1:PORT" followed by `path` (which starts with "/").
    std::string url(const std::string& path) const;

private:
    TestServer(ChildProgram process, bool tls) : m_process(std::move(process)), m_tls(tls) {}

    ChildProgram m_process;
    int m_port = 0;
    bool m_tls = false;
};

} // namespace quenmar::test
