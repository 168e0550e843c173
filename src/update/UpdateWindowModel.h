#pragma once

#include "update/Installer.h"
#include "update/UpdateCheck.h"

#include <string>
#include <string_view>
#include <vector>

// What the update window shows and how it reacts, without any window toolkit: the window is
// a view that copies these texts into its controls after every call and asks the model what
// a click means. One stage decides everything; the captions, the enabling and the question
// on closing follow from it.
//
//   offered, download failed, install refused ── click ──▶ downloading
//   downloading ── the worker ends ──▶ downloaded, or download failed
//   downloaded ── click ──▶ installing ──▶ installer running, or install refused
//                                          (the file was wrong, or it did not start)
//
// An offer to a program the package manager installed stays where it starts, telling the
// user to update with the package manager: there is nothing to download.
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
inline constexpr std::string_view kPackageManagerText =
    "本程序由系统的软件包管理器安装，请用软件包管理器更新到新版本";

/// The templates of the six lines, in display order; the last one fills the release-notes box.
inline constexpr std::string_view kLineTemplates[] = {"软件名称:{0}", "当前版本:{0}",   "最新版本:{0}",
                                                      "发布日期:{0}", "文件大小:{0}MB", "更新内容:{0}"};

/// The update state the window keeps: idle until the download is asked for, then
/// downloading, then downloaded or failed. A refused install leaves it at downloaded.
enum class UpdateState { Idle, Downloading, Downloaded, DownloadFailed };

class UpdateWindowModel {
public:
    enum class Action {
        None,          // nothing to do
        StartDownload, // start the download of offer().downloadUrl into offer().installerPath
        Install,       // run installUpdate and report its outcome
    };

    explicit UpdateWindowModel(UpdateOffer offer);

    const UpdateOffer& offer() const { return m_offer; }
    /// The six filled lines; the sixth goes into the release-notes box.
    std::vector<std::string> lines() const;
    UpdateState state() const;
    /// False when the package manager installs the update: the window then shows neither the
    /// action button nor the progress bar.
    bool offersDownload() const { return !m_offer.installedByPackageManager; }
    /// "立即下载", "…下载中…" or "立即安装": what a click on the action button does next.
    std::string_view actionCaption() const;
    /// Both buttons ("下次再说" and the action button) are enabled or disabled together.
    bool buttonsEnabled() const;
    int progress() const { return m_progress; }
    const std::string& statusText() const { return m_status; }
    /// The installer is running: the window closes the main window, which ends the program.
    bool shouldEndProgram() const { return m_stage == Stage::InstallerRunning; }
    /// Closing by the close box asks `kCloseQuestion` first while a download runs or a
    /// downloaded update waits to be installed.
    bool closeNeedsQuestion() const;

    /// The action button was clicked; says what the window must do next.
    Action actionClicked();
    /// A progress notice of the running download.
    void downloadProgressed(int percent, const std::string& statusText);
    /// The download ended: `downloaded` only for a complete file with status 200.
    void downloadFinished(bool downloaded);
    /// The outcome of the install step that `Action::Install` asked for.
    void installFinished(InstallOutcome outcome);

private:
    enum class Stage {
        Offered,          // nothing done yet
        Downloading,      // the worker runs; both buttons wait for it
        DownloadFailed,   // the user may download again
        Downloaded,       // the file waits to be installed
        Installing,       // the fingerprint check and the installer start run
        InstallRefused,   // the file was wrong or did not start: download again
        InstallerRunning, // the program is about to end
    };

    UpdateOffer m_offer;
    Stage m_stage = Stage::Offered;
    int m_progress = 0;
    std::string m_status;
};

} // namespace quenmar::update
