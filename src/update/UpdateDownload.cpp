#include "update/UpdateDownload.h"

#include "update/UpdateTexts.h"

#include <optional>

namespace quenmar::update {

support::HttpOptions installerDownloadOptions(const std::string& caFile) {
    support::HttpOptions options;
    options.connectTimeoutMs = 10'000;
    options.totalTimeoutMs = 0;
    options.lowSpeedBytesPerSecond = 1024;
    options.lowSpeedSeconds = 30;
    options.maxRedirects = 5;
    options.maxBodyBytes = std::size_t{2} << 30; // far beyond any installer, short of a full disk
    options.caFile = caFile;
    return options;
}

bool downloadInstaller(const std::string& url, const std::filesystem::path& installerPath,
                       const support::HttpOptions& options, const DownloadProgressHandler& onProgress,
                       const std::atomic<bool>* cancel) {
    if (url.empty()) {
        // An address that did not decrypt; an older file of the name is no download either.
        std::error_code ignored;
        std::filesystem::remove(installerPath, ignored);
        return false;
    }
    std::optional<int> lastPercent;
    std::string lastText;
    const auto progress = [&](std::int64_t received, std::int64_t total) {
        if (cancel != nullptr && cancel->load()) {
            return false;
        }
        const auto percent = progressPercent(received, total);
        if (!percent || !onProgress) {
            return true;
        }
        std::string text = progressText(received, total);
        // libcurl reports many times a second; the window needs only the changes.
        if (percent != lastPercent || text != lastText) {
            lastPercent = percent;
            lastText = text;
            onProgress(*percent, text);
        }
        return true;
    };
    const support::HttpResult response =
        support::httpDownload(url, installerPath.string(), options, progress);
    return response && response->isOk();
}

UpdateDownload::~UpdateDownload() {
    cancel();
    wait();
}

bool UpdateDownload::start(std::string url, std::filesystem::path installerPath, support::HttpOptions options,
                           DownloadProgressHandler onProgress, FinishedHandler onFinished) {
    std::lock_guard lock(m_mutex);
    if (m_running.load()) {
        return false;
    }
    if (m_thread.joinable()) {
        m_thread.join(); // the previous download has finished; collect its thread
    }
    m_cancel = false;
    m_running = true;
    m_thread = std::thread([this, url = std::move(url), path = std::move(installerPath),
                            options = std::move(options), onProgress = std::move(onProgress),
                            onFinished = std::move(onFinished)] {
        const bool downloaded =
            downloadInstaller(url, path, options, onProgress, &m_cancel) && !m_cancel.load();
        if (!downloaded) {
            // Cancelled after the last byte arrived: still no installer may stay behind.
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
        m_running = false;
        if (onFinished) {
            onFinished(downloaded);
        }
    });
    return true;
}

void UpdateDownload::cancel() {
    m_cancel = true;
}

void UpdateDownload::wait() {
    std::lock_guard lock(m_mutex);
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) {
        m_thread.join();
    }
}

} // namespace quenmar::update
