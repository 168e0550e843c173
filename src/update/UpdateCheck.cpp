#include "update/UpdateCheck.h"

#include "support/IniFile.h"
#include "support/ProgramPaths.h"
#include "update/UpdateCrypto.h"
#include "update/UpdateKey.h"
#include "update/UpdateTexts.h"

namespace quenmar::update {

std::string defaultIndexUrl() {
    return "https://" + std::string(kUpdateServerHost) + fillTemplate(kIndexPathTemplate, kUpdateId);
}

bool isFingerprintText(std::string_view text) {
    return text.size() == 32 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

std::string installerFileName(std::string_view md5) {
    return std::string(md5) + std::string(kInstallerSuffix);
}

std::string updateDayText(int year, int month, int day) {
    return dateText(DateTime{year, month, day});
}

OfferResult makeUpdateOffer(const UpdateIndex& index, std::string_view publicKeyPem,
                            const std::filesystem::path& installerFolder) {
    if (index.ver <= kRunningVersion) {
        return {std::nullopt, "no newer version (ver " + std::to_string(index.ver) + ")"};
    }
    if (!isFingerprintText(index.md5)) {
        return {std::nullopt, "the fingerprint \"md5\" is not 32 hexadecimal digits"};
    }
    UpdateOffer offer;
    offer.latestVersion = index.verns;
    offer.day = index.day;
    offer.size = index.size;
    offer.md5 = index.md5;
    offer.body = index.body;
    offer.downloadUrl = decodeDownloadUrl(index.url, publicKeyPem);
    offer.installerPath = installerFolder / installerFileName(index.md5);
    return {std::move(offer), {}};
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
    settings.todayText = updateDayText(today.year, today.month, today.day);
    return settings;
}

bool isUpdateCheckDue(const std::filesystem::path& configFile, std::string_view todayText) {
    return support::readIniValue(configFile, kSettingsSection, kUpdateDayKey) != todayText;
}

std::optional<UpdateOffer> checkForUpdate(const UpdateCheckSettings& settings) {
    const UpdateIndexResult fetched =
        fetchUpdateIndex(settings.indexUrl, indexRequestOptions(settings.caFile));
    if (!fetched.index) {
        return std::nullopt;
    }
    OfferResult result = makeUpdateOffer(*fetched.index, settings.publicKeyPem, settings.installerFolder);
    if (!result.offer) {
        return std::nullopt;
    }
    // The installer's name first: whatever happens to this run, the next start removes the
    // file it may leave behind. A settings file that cannot be written costs only a second
    // check on the same day, never the offer.
    support::writeIniValue(settings.configFile, kSettingsSection, kUpdateFileKey,
                           installerFileName(result.offer->md5));
    support::writeIniValue(settings.configFile, kSettingsSection, kUpdateDayKey, settings.todayText);
    return std::move(result.offer);
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
