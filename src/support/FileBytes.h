#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Whole small files read in one go: settings, keys, certificates.
namespace quenmar::support {

/// The bytes of the regular file `file`; nothing when it is missing, not a regular file, or
/// cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& file);

} // namespace quenmar::support
