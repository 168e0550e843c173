#include "update/UpdateWindowModel.h"

#include "update/UpdateTexts.h"

namespace quenmar::update {

UpdateWindowModel::UpdateWindowModel(UpdateOffer offer) : m_offer(std::move(offer)) {}

std::vector<std::string> UpdateWindowModel::lines() const {
    const std::string values[] = {m_offer.applicationName,     m_offer.currentVersion,
                                  m_offer.latestVersion,       m_offer.day,
                                  megabytesText(m_offer.size), m_offer.body};
    std::vector<std::string> filled;
    for (std::size_t i = 0; i < std::size(kLineTemplates); ++i) {
        filled.push_back(fillTemplate(kLineTemplates[i], values[i]));
    }
    return filled;
}

UpdateWindowModel::Action UpdateWindowModel::actionClicked() {
    if (!m_enabled) {
        return Action::None;
    }
    if (m_caption == kDownloadCaption) {
        m_caption = kDownloadingCaption;
        m_enabled = false;
        m_progress = 0;
        m_status.clear(); // a retry must not keep showing the last failure
        m_state = kDownloading;
        return Action::StartDownload;
    }
    if (m_caption == kInstallCaption) {
        m_enabled = false;
        return Action::Install;
    }
    return Action::None;
}

void UpdateWindowModel::downloadProgressed(int percent, const std::string& statusText) {
    if (m_state != kDownloading) {
        return; // a notice that was under way when the download ended
    }
    m_progress = percent;
    m_status = statusText;
}

void UpdateWindowModel::downloadFinished(bool downloaded) {
    if (m_state != kDownloading) {
        return;
    }
    m_state = downloaded ? kDownloaded : kDownloadFailed;
    m_caption = downloaded ? kInstallCaption : kDownloadCaption;
    m_status = downloaded ? kDownloadedText : kDownloadFailedText;
    m_enabled = true;
}

void UpdateWindowModel::installFinished(InstallOutcome outcome) {
    switch (outcome) {
    case InstallOutcome::FingerprintMismatch:
        // The state stays "downloaded" as last reported; only the caption goes back.
        m_status = kFingerprintWrongText;
        m_caption = kDownloadCaption;
        m_enabled = true;
        break;
    case InstallOutcome::InstallerNotStarted:
        m_status = kInstallerFailedText;
        m_caption = kDownloadCaption;
        m_enabled = true;
        break;
    case InstallOutcome::InstallerStarted:
        m_status = kFingerprintRightText;
        m_endProgram = true;
        break;
    }
}

} // namespace quenmar::update
