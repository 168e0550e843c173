#pragma once

#include "support/HttpClient.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// The installer download. It runs on a worker thread of its own so the window stays
// responsive; everything it reports arrives through callbacks on that worker thread, which
// the window turns into queued notices for its own thread.
namespace quenmar::update {

/// The progress bar position and the status text of one progress notice.
using DownloadProgressHandler = std::function<void(int percent, const std::string& statusText)>;

/// The limits of the installer download: no overall limit (a large installer on a slow line
/// may take long), but a transfer that crawls below 1 KiB/s for 30 s is given up.
support::HttpOptions installerDownloadOptions(const std::string& caFile = {});

/// Downloads `url` into `installerPath` in the calling thread. Progress notices with a known
/// total reach `onProgress` only when the bar or the text changes. A set `cancel` flag ends
/// the transfer. True only for a complete download with HTTP status 200; otherwise no file is
/// left at `installerPath`.
bool downloadInstaller(const std::string& url, const std::filesystem::path& installerPath,
                       const support::HttpOptions& options, const DownloadProgressHandler& onProgress,
                       const std::atomic<bool>* cancel = nullptr);

class UpdateDownload {
public:
    using FinishedHandler = std::function<void(bool downloaded)>;

    UpdateDownload() = default;
    /// Cancels a running download and waits for its thread, so that no callback runs after
    /// the owner is gone.
    ~UpdateDownload();
    UpdateDownload(const UpdateDownload&) = delete;
    UpdateDownload& operator=(const UpdateDownload&) = delete;

    /// Starts the download on the worker thread; false when one is still running. The
    /// handlers run on the worker thread; `onFinished` is the last call it makes.
    bool start(std::string url, std::filesystem::path installerPath, support::HttpOptions options,
               DownloadProgressHandler onProgress, FinishedHandler onFinished);

    /// Asks a running download to stop; it then finishes with `false` and leaves no file.
    void cancel();

    /// Waits until the worker thread has finished.
    void wait();

    bool running() const { return m_running.load(); }

private:
    std::mutex m_mutex; // guards m_thread against start/wait from two threads
    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_running{false};
};

} // namespace quenmar::update
