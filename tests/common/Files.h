#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Whole files, and the folders the test environment names.
namespace quenmar::test {

/// The bytes of the file; nothing when it cannot be read.
std::optional<std::string> readFile(const std::filesystem::path& path);

/// Writes `bytes` into the file (created or truncated); false on failure.
bool writeFile(const std::filesystem::path& path, std::string_view bytes);

/// The folder of the built executables (QUENMAR_BIN_DIR).
std::filesystem::path binFolder();

/// The checked-in fixtures, tests/data (QUENMAR_TEST_DATA).
std::filesystem::path testDataFolder();

} // namespace quenmar::test
