#pragma once

#include <QString>
#include <filesystem>

// The check that the program's own files are the ones it was installed with. Installing
// writes a manifest of SHA-256 sums beside the program; a copy run from the build tree has
// none and skips the check.
namespace quenmar::app {

inline constexpr const char* kManifestName = "quenmar.sha256";

/// True when the manifest is absent, or every file it lists is present with its sum. Lines
/// read "<64 hex digits>  <path relative to the program folder>"; a path that leaves the
/// folder, or a malformed line, fails the check.
bool programFilesIntact(const std::filesystem::path& programFolder);

} // namespace quenmar::app
