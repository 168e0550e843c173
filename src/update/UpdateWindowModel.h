#pragma once

#include "update/Installer.h"
#include "update/UpdateCheck.h"

#include <string>
#include <string_view>
#include <vector>

// What the update window shows and how it reacts, without any window toolkit: the window is
// a view that copies these texts into its controls after every call and asks the model what
// a click means.
//
//   0 idle ── download ──▶ 1 downloading ──▶ 2 downloaded ── install ──▶ installer runs
//                 ▲                      └─▶ −2 failed ──┐      │ mismatch: file deleted,
//                 └──────────────── download again ──────┴──────┘ caption back to download
namespace quenmar::update {

inline constexpr std::string_view kUpdateWindowCaption = "发现新版本";
inline constexpr std::string_view kLaterCaption = "下次再说";
inline constexpr std::string_view kDownloadCaption = "立即下载";
inline constexpr std::string_view kDownloadingCaption = "…下载中…";
inline constexpr std::string_view kInstallCaption = "立即安装";
inline constexpr std::string_view kDownloadedText = "恭喜您！更新已下载成功!";
inline constexpr std::string_view kDownloadFailedText = "对不起！下载失败请检查网络稍候再试";
inline constexpr std::string_view kFingerprintWrongText = "文件指纹不正确，请重新下载";
inline constexpr std::string_view kFingerprintRightText = "文件指纹正确，立即进行安装";
inline constexpr std::string_view kInstallerFailedText = "安装程序无法启动，请重新下载";
inline constexpr std::string_view kCloseQuestion = "未完成本次更新的安装，是否取消本次更新?";
inline constexpr std::string_view kQuestionCaption = "询问:";

/// The templates of the six lines, in display order; the last one fills the release-notes box.
inline constexpr std::string_view kLineTemplates[] = {"软件名称:{0}", "当前版本:{0}",   "最新版本:{0}",
                                                      "发布日期:{0}", "文件大小:{0}MB", "更新内容:{0}"};

class UpdateWindowModel {
public:
    /// The update state as the window keeps it.
    static constexpr int kIdle = 0;
    static constexpr int kDownloading = 1;
    static constexpr int kDownloaded = 2;
    static constexpr int kDownloadFailed = -2;

    enum class Action {
        None,          // nothing to do
        StartDownload, // start the download of offer().downloadUrl into offer().installerPath
        Install,       // run installUpdate and report its outcome
    };

    explicit UpdateWindowModel(UpdateOffer offer);

    const UpdateOffer& offer() const { return m_offer; }
    /// The six filled lines; the sixth goes into the release-notes box.
    std::vector<std::string> lines() const;
    int state() const { return m_state; }
    const std::string& actionCaption() const { return m_caption; }
    /// Both buttons ("下次再说" and the action button) are enabled or disabled together.
    bool buttonsEnabled() const { return m_enabled; }
    int progress() const { return m_progress; }
    const std::string& statusText() const { return m_status; }
    /// The installer is running: the window closes the main window, which ends the program.
    bool shouldEndProgram() const { return m_endProgram; }
    /// Closing by the close box asks `kCloseQuestion` first while a download runs or a
    /// downloaded update waits to be installed.
    bool closeNeedsQuestion() const { return m_state > 0; }

    /// The action button was clicked; says what the window must do next.
    Action actionClicked();
    /// A progress notice of the running download.
    void downloadProgressed(int percent, const std::string& statusText);
    /// The download ended: `downloaded` only for a complete file with status 200.
    void downloadFinished(bool downloaded);
    /// The outcome of the install step that `Action::Install` asked for.
    void installFinished(InstallOutcome outcome);

private:
    UpdateOffer m_offer;
    int m_state = kIdle;
    std::string m_caption{kDownloadCaption};
    bool m_enabled = true;
    int m_progress = 0;
    std::string m_status;
    bool m_endProgram = false;
};

} // namespace quenmar::update
