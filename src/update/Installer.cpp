#include "update/Installer.h"

#include "support/Process.h"
#include "update/UpdateCrypto.h"

namespace quenmar::update {

namespace {

// How long the installer gets to come up before the program closes under it.
constexpr int kInstallerSettleMs = 500;

} // namespace

bool runInstaller(const std::filesystem::path& installerPath) {
    return support::startProcess(installerPath, {}, kInstallerSettleMs).ok();
}

InstallOutcome installUpdate(std::string_view expectedMd5, const std::filesystem::path& installerPath) {
    if (!verifyFingerprint(expectedMd5, installerPath)) {
        std::error_code ignored;
        std::filesystem::remove(installerPath, ignored);
        return InstallOutcome::FingerprintMismatch;
    }
    // Runnable only now that it is known to be the announced file.
    if (!support::makeExecutable(installerPath) || !runInstaller(installerPath)) {
        return InstallOutcome::InstallerNotStarted;
    }
    return InstallOutcome::InstallerStarted;
}

} // namespace quenmar::update
