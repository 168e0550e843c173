#pragma once

#include <filesystem>
#include <string_view>

// The last step of an update: the downloaded installer is checked against its fingerprint
// and, only when it matches, started.
namespace quenmar::update {

enum class InstallOutcome {
    FingerprintMismatch, // the file was not the announced one and has been deleted
    InstallerNotStarted, // it matched but could not be started
    InstallerStarted,    // the program should now end so the installer can replace it
};

/// Starts the installer as a new process with no arguments (never through a shell) and gives
/// it half a second to get going. False when it could not be started.
bool runInstaller(const std::filesystem::path& installerPath);

/// Checks the installer against `expectedMd5` (exact comparison), deletes it on a mismatch,
/// otherwise makes it executable and runs it.
InstallOutcome installUpdate(std::string_view expectedMd5, const std::filesystem::path& installerPath);

} // namespace quenmar::update
