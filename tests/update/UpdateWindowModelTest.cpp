#include "update/UpdateWindowModel.h"

#include <gtest/gtest.h>

namespace quenmar::update {
namespace {

using Action = UpdateWindowModel::Action;

UpdateOffer sampleOffer() {
    UpdateOffer offer;
    offer.latestVersion = "V1.0.2";
    offer.day = "2024年5月1日";
    offer.size = 5242880;
    offer.md5 = "0123456789ABCDEF0123456789ABCDEF";
    offer.body = "修正若干问题";
    return offer;
}

TEST(UpdateWindowModelTest, ShowsTheOffer) {
    const UpdateWindowModel model(sampleOffer());
    EXPECT_EQ(model.lines(),
              (std::vector<std::string>{"软件名称:Quenmar", "当前版本:V1.0.0", "最新版本:V1.0.2",
                                        "发布日期:2024年5月1日", "文件大小:5MB", "更新内容:修正若干问题"}));
    EXPECT_EQ(model.state(), UpdateState::Idle);
    EXPECT_EQ(model.actionCaption(), "立即下载");
    EXPECT_TRUE(model.buttonsEnabled());
    EXPECT_EQ(model.progress(), 0);
    EXPECT_EQ(model.statusText(), "");
    EXPECT_FALSE(model.closeNeedsQuestion());
}

TEST(UpdateWindowModelTest, PackageInstallOnlyTellsOfTheRelease) {
    UpdateOffer offer = sampleOffer();
    offer.installedByPackageManager = true;
    UpdateWindowModel model(offer);
    EXPECT_EQ(model.lines()[2], "最新版本:V1.0.2");
    EXPECT_FALSE(model.offersDownload());
    EXPECT_EQ(model.statusText(), "本程序由系统的软件包管理器安装，请用软件包管理器更新到新版本");
    EXPECT_EQ(model.actionClicked(), Action::None);
    EXPECT_EQ(model.state(), UpdateState::Idle);
    EXPECT_TRUE(model.buttonsEnabled());
    EXPECT_FALSE(model.closeNeedsQuestion());
    EXPECT_TRUE(UpdateWindowModel(sampleOffer()).offersDownload());
}

TEST(UpdateWindowModelTest, MissingSizeShowsZero) {
    UpdateOffer offer = sampleOffer();
    offer.size = 0;
    EXPECT_EQ(UpdateWindowModel(offer).lines()[4], "文件大小:0MB");
}

TEST(UpdateWindowModelTest, DownloadThenInstall) {
    UpdateWindowModel model(sampleOffer());
    EXPECT_EQ(model.actionClicked(), Action::StartDownload);
    EXPECT_EQ(model.state(), UpdateState::Downloading);
    EXPECT_EQ(model.actionCaption(), "…下载中…");
    EXPECT_FALSE(model.buttonsEnabled());
    EXPECT_TRUE(model.closeNeedsQuestion());
    EXPECT_EQ(model.actionClicked(), Action::None); // disabled while downloading

    model.downloadProgressed(25, "文件大小:5/已下载:1.25MB");
    EXPECT_EQ(model.progress(), 25);
    EXPECT_EQ(model.statusText(), "文件大小:5/已下载:1.25MB");

    model.downloadFinished(true);
    EXPECT_EQ(model.state(), UpdateState::Downloaded);
    EXPECT_EQ(model.actionCaption(), "立即安装");
    EXPECT_EQ(model.statusText(), "恭喜您！更新已下载成功!");
    EXPECT_TRUE(model.buttonsEnabled());
    EXPECT_TRUE(model.closeNeedsQuestion());

    EXPECT_EQ(model.actionClicked(), Action::Install);
    EXPECT_FALSE(model.buttonsEnabled());
    model.installFinished(InstallOutcome::InstallerStarted);
    EXPECT_EQ(model.statusText(), "文件指纹正确，立即进行安装");
    EXPECT_TRUE(model.shouldEndProgram());
}

TEST(UpdateWindowModelTest, FailedDownloadCanBeRetried) {
    UpdateWindowModel model(sampleOffer());
    model.actionClicked();
    model.downloadFinished(false);
    EXPECT_EQ(model.state(), UpdateState::DownloadFailed);
    EXPECT_EQ(model.actionCaption(), "立即下载");
    EXPECT_EQ(model.statusText(), "对不起！下载失败请检查网络稍候再试");
    EXPECT_TRUE(model.buttonsEnabled());
    EXPECT_FALSE(model.closeNeedsQuestion());
    // A late progress notice of the ended download changes nothing.
    model.downloadProgressed(50, "x");
    EXPECT_EQ(model.progress(), 0);

    EXPECT_EQ(model.actionClicked(), Action::StartDownload);
    EXPECT_EQ(model.state(), UpdateState::Downloading);
    EXPECT_EQ(model.statusText(), "");
}

TEST(UpdateWindowModelTest, FingerprintMismatchGoesBackToDownload) {
    UpdateWindowModel model(sampleOffer());
    model.actionClicked();
    model.downloadFinished(true);
    model.actionClicked();
    model.installFinished(InstallOutcome::FingerprintMismatch);
    EXPECT_EQ(model.statusText(), "文件指纹不正确，请重新下载");
    EXPECT_EQ(model.actionCaption(), "立即下载");
    EXPECT_TRUE(model.buttonsEnabled());
    EXPECT_EQ(model.state(), UpdateState::Downloaded); // as last reported by the download
    EXPECT_FALSE(model.shouldEndProgram());
    EXPECT_EQ(model.actionClicked(), Action::StartDownload);
}

TEST(UpdateWindowModelTest, InstallerThatDoesNotStartKeepsTheProgram) {
    UpdateWindowModel model(sampleOffer());
    model.actionClicked();
    model.downloadFinished(true);
    model.actionClicked();
    model.installFinished(InstallOutcome::InstallerNotStarted);
    EXPECT_EQ(model.statusText(), "安装程序无法启动，请重新下载");
    EXPECT_EQ(model.actionCaption(), "立即下载");
    EXPECT_TRUE(model.buttonsEnabled());
    EXPECT_FALSE(model.shouldEndProgram());
}

} // namespace
} // namespace quenmar::update
