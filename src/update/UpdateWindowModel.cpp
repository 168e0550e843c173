#include "update/UpdateWindowModel.h"

#include "update/UpdateTexts.h"

namespace quenmar::update {

UpdateWindowModel::UpdateWindowModel(UpdateOffer offer) : m_offer(std::move(offer)) {
    if (!offersDownload()) {
        m_status = kPackageManagerText;
    }
}

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

UpdateState UpdateWindowModel::state() const {
    switch (m_stage) {
    case Stage::Offered:
        return UpdateState::Idle;
    case Stage::Downloading:
        return UpdateState::Downloading;
    case Stage::DownloadFailed:
        return UpdateState::DownloadFailed;
    case Stage::Downloaded:
    case Stage::Installing:
    case Stage::InstallRefused:
    case Stage::InstallerRunning:
        break;
    }
    return UpdateState::Downloaded;
}

std::string_view UpdateWindowModel::actionCaption() const {
    switch (m_stage) {
    case Stage::Downloading:
        return kDownloadingCaption;
    case Stage::Downloaded:
    case Stage::Installing:
    case Stage::InstallerRunning:
        return kInstallCaption;
    case Stage::Offered:
    case Stage::DownloadFailed:
    case Stage::InstallRefused:
        break;
    }
    return kDownloadCaption;
}

bool UpdateWindowModel::buttonsEnabled() const {
    return m_stage != Stage::Downloading && m_stage != Stage::Installing &&
           m_stage != Stage::InstallerRunning;
}

bool UpdateWindowModel::closeNeedsQuestion() const {
    const UpdateState reported = state();
    return reported == UpdateState::Downloading || reported == UpdateState::Downloaded;
}

UpdateWindowModel::Action UpdateWindowModel::actionClicked() {
    if (!offersDownload()) {
        return Action::None;
    }
    switch (m_stage) {
    case Stage::Offered:
    case Stage::DownloadFailed:
    case Stage::InstallRefused:
        m_stage = Stage::Downloading;
        m_progress = 0;
        m_status.clear(); // a retry must not keep showing the last failure
        return Action::StartDownload;
    case Stage::Downloaded:
        m_stage = Stage::Installing;
        return Action::Install;
    case Stage::Downloading:
    case Stage::Installing:
    case Stage::InstallerRunning:
        break; // the buttons are disabled
    }
    return Action::None;
}

void UpdateWindowModel::downloadProgressed(int percent, const std::string& statusText) {
    if (m_stage != Stage::Downloading) {
        return; // a notice that was under way when the download ended
    }
    m_progress = percent;
    m_status = statusText;
}

void UpdateWindowModel::downloadFinished(bool downloaded) {
    if (m_stage != Stage::Downloading) {
        return;
    }
    m_stage = downloaded ? Stage::Downloaded : Stage::DownloadFailed;
    m_status = downloaded ? kDownloadedText : kDownloadFailedText;
}

void UpdateWindowModel::installFinished(InstallOutcome outcome) {
    if (m_stage != Stage::Installing) {
        return;
    }
    switch (outcome) {
    case InstallOutcome::FingerprintMismatch:
        m_status = kFingerprintWrongText;
        m_stage = Stage::InstallRefused;
        break;
    case InstallOutcome::InstallerNotStarted:
        m_status = kInstallerFailedText;
        m_stage = Stage::InstallRefused;
        break;
    case InstallOutcome::InstallerStarted:
        m_status = kFingerprintRightText;
        m_stage = Stage::InstallerRunning;
        break;
    }
}

} // namespace quenmar::update
