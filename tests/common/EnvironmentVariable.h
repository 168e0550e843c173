#pragma once

#include <optional>
#include <string>

namespace quenmar::test {

/// Sets (or with nullptr removes) an environment variable of the test's own process for the
/// object's lifetime, and puts the old value back afterwards.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const char* value);
    ~EnvironmentVariable();
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

} // namespace quenmar::test
