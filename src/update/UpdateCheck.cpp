#include "update/UpdateCheck.h"

#include "support/IniFile.h"
#include "support/ProgramPaths.h"
#include "update/UpdateCrypto.h"
#include "update/UpdateKey.h"
#include "update/UpdateTexts.h"

namespace quenmar::update {

namespace {

// The update server and the index of this program on it.
constexpr std::string_view kUpdateServerHost = "update.quenmar.example";
constexpr std::string_view kUpdateId = "wnx";
constexpr std::string_view kIndexPathTemplate = "/update/{0}/index.json";

#ifdef _WIN32
constexpr std::string_view kInstallerSuffix = ".exe";
#else
constexpr std::string_view kInstallerSuffix = "";
#endif

} // namespace

std::string defaultIndexUrl() {
    return "https://" + std::string(kUpdateServerHost) + fillTemplate(kIndexPathTemplate, kUpdateId);
}

bool isFingerprintText(std::string_view text) {
    return text.size() == 32 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

std::string installerFileName(std::string_view md5) {
    return std::string(md5) + std::string(kInstallerSuffix);
}

Result<UpdateOffer, UpdateError> makeUpdateOffer(const UpdateIndex& index, std::string_view publicKeyPem,
                                                 const std::filesystem::path& installerFolder) {
    // A release number of 0 or below is no release, and says more of the index than "no
    // newer version" would: the publisher is told what is wrong rather than nothing.
    if (index.ver <= 0) {
        return Failure{UpdateError{UpdateFailure::VersionInvalid, std::to_string(index.ver)}};
    }
    if (index.ver <= kReleaseNumber) {
        return Failure{UpdateError{UpdateFailure::NoNewerVersion, std::to_string(index.ver)}};
    }
    if (index.size < 0 || index.size > kMaxInstallerBytes) {
        return Failure{UpdateError{UpdateFailure::SizeInvalid, std::to_string(index.size)}};
    }
    if (!isFingerprintText(index.md5)) {
        return Failure{UpdateError{UpdateFailure::FingerprintMalformed, {}}};
    }
    return UpdateOffer{.latestVersion = index.verns,
                       .day = index.day,
                       .size = index.size,
                       .md5 = index.md5,
                       .body = index.body,
                       .downloadUrl = decodeDownloadUrl(index.url, publicKeyPem),
                       .installerPath = installerFolder / installerFileName(index.md5)};
}

std::optional<UpdateCheckSettings> programUpdateCheckSettings(const DateTime& today) {
    const auto root = support::dataRoot();
    if (!root) {
        return std::nullopt;
    }
    UpdateCheckSettings settings;
    settings.publicKeyPem = std::string(updatePublicKeyPem());
    settings.configFile = support::configPath(*root);
    settings.installerFolder = *root;
    settings.today = today;
    const auto program = support::programFolder();
    settings.installedByPackageManager = !program || !support::isUserProgramFolder(*program);
    return settings;
}

bool isUpdateCheckDue(const std::filesystem::path& configFile, const DateTime& today) {
    return support::readIniValue(configFile, kSettingsSection, kUpdateDayKey) != dateText(today);
}

bool recordUpdateDay(const std::filesystem::path& configFile, const DateTime& today) {
    return support::writeIniValue(configFile, kSettingsSection, kUpdateDayKey, dateText(today));
}

std::optional<UpdateOffer> checkForUpdate(const UpdateCheckSettings& settings) {
    const UpdateIndexResult fetched =
        fetchUpdateIndex(settings.indexUrl, indexRequestOptions(settings.caFile));
    if (!fetched) {
        return std::nullopt;
    }
    auto offer = makeUpdateOffer(*fetched, settings.publicKeyPem, settings.installerFolder);
    if (!offer) {
        return std::nullopt;
    }
    offer->installedByPackageManager = settings.installedByPackageManager;
    // The installer's name first: whatever happens to this run, the next start removes the
    // file it may leave behind. A settings file that cannot be written costs only a second
    // check on the same day, never the offer.
    if (!offer->installedByPackageManager) {
        support::writeIniValue(settings.configFile, kSettingsSection, kUpdateFileKey,
                               installerFileName(offer->md5));
    }
    recordUpdateDay(settings.configFile, settings.today);
    return std::move(offer).value();
}

bool removeLeftoverInstaller(const std::filesystem::path& configFile,
                             const std::filesystem::path& installerFolder) {
    const std::string name = support::readIniValue(configFile, kSettingsSection, kUpdateFileKey);
    // The settings file is text anyone may edit: only a name this program gives an
    // installer, which cannot leave the folder, is ever deleted.
    const std::string_view stem = std::string_view(name).substr(0, 32);
    if (!isFingerprintText(stem) || name != installerFileName(stem)) {
        return false;
    }
    std::error_code error;
    const std::filesystem::path file = installerFolder / name;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(file, error))) {
        return false;
    }
    return std::filesystem::remove(file, error);
}

} // namespace quenmar::update
