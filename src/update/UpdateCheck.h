#pragma once

#include "base/DateTime.h"
#include "base/Result.h"
#include "base/Version.h"
#include "update/UpdateError.h"
#include "update/UpdateIndex.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The update check at start-up: at most once a day on which an update was offered, ask the
// update server for its index, and when it offers a newer release, remember the installer's
// name and the day and hand the offer to the update window.
namespace quenmar::update {

/// The name the update window shows as the software's name.
inline constexpr std::string_view kApplicationName = "Quenmar";

/// Where the settings file keeps what the check remembers.
inline constexpr const char* kSettingsSection = "sys";
inline constexpr const char* kUpdateFileKey = "update_file";
inline constexpr const char* kUpdateDayKey = "update_day";

/// "https://" + the update server + "/update/wnx/index.json".
std::string defaultIndexUrl();

/// True for exactly 32 hexadecimal digits (either case). The fingerprint becomes a file
/// name, so nothing else may ever be offered.
bool isFingerprintText(std::string_view text);

/// An installer is named after its fingerprint, with the suffix the platform runs it by.
std::string installerFileName(std::string_view md5);

/// Everything the update window shows and needs.
struct UpdateOffer {
    std::string applicationName{kApplicationName};
    std::string currentVersion{kVersionName};
    std::string latestVersion; // "verns"
    std::string day;
    std::int64_t size = 0;
    std::string md5;
    std::string body;
    std::string downloadUrl; // decoded; empty when the address did not decrypt
    std::filesystem::path installerPath;
    // The program folder is the system's (a package install): the window tells of the release
    // and leaves installing it to the package manager, since an installer run by the user
    // cannot replace files there.
    bool installedByPackageManager = false;
};

/// The largest installer an index may announce: anything above it is no installer of ours.
inline constexpr std::int64_t kMaxInstallerBytes = std::int64_t{4} << 30;

/// The offer an index makes to this program: only a release above the running one
/// (kReleaseNumber), with a release number above 0, a size from 0 to kMaxInstallerBytes and
/// a well-formed fingerprint. An address that does not decrypt
/// is still offered (its download fails and says so).
Result<UpdateOffer, UpdateError> makeUpdateOffer(const UpdateIndex& index, std::string_view publicKeyPem,
                                                 const std::filesystem::path& installerFolder);

struct UpdateCheckSettings {
    std::string indexUrl = defaultIndexUrl();
    std::string caFile;                     // extra trust anchors for the update server
    std::string publicKeyPem;               // the update public key
    std::filesystem::path configFile;       // "config.ini"
    std::filesystem::path installerFolder;  // where the installer is downloaded
    DateTime today;                         // the date `update_day` is compared with and set to
    bool installedByPackageManager = false; // see UpdateOffer
};

/// The settings of this program's own check: its update server and key, "config.ini" and the
/// installer in the data root (the program folder, or the per-user folder when that is not
/// the user's), today from `today`, and whether the package manager installs the update (the
/// program folder is not the user's). Nothing when no data root can be found.
std::optional<UpdateCheckSettings> programUpdateCheckSettings(const DateTime& today);

/// True unless `update_day` in the settings file already holds the date of `today` (as
/// "%d年%d月%d日"): start-up checks for an update at most once a day on which one was offered.
bool isUpdateCheckDue(const std::filesystem::path& configFile, const DateTime& today);

/// Stores the date of `today` as `update_day`; false when the settings file cannot be written.
bool recordUpdateDay(const std::filesystem::path& configFile, const DateTime& today);

/// Fetches the index and, when it offers an update, stores the installer's name as
/// `update_file` (unless the package manager installs the update, so that no installer is
/// ever downloaded) and today as `update_day` and returns the offer. Nothing is stored when
/// nothing is offered, so the next start asks again. The check is silent: whatever kept an
/// offer from coming (no network, a bad index, no newer release) gives none.
std::optional<UpdateOffer> checkForUpdate(const UpdateCheckSettings& settings);

/// Deletes the installer named by `update_file` from the installer folder (a left-over from
/// an earlier run). Only an installer name (a fingerprint and the suffix) is ever acted on.
/// True when a file was deleted.
bool removeLeftoverInstaller(const std::filesystem::path& configFile,
                             const std::filesystem::path& installerFolder);

} // namespace quenmar::update
