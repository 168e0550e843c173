#include "app/UpdateWin.h"

#include "Files.h"
#include "TempFolder.h"
#include "TestServer.h"
#include "app/MessageBox.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>
#include <vector>

using namespace quenmar;

namespace {

std::string md5Of(const std::string& bytes) {
    return QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Md5)
        .toHex()
        .toUpper()
        .toStdString();
}

struct Served {
    test::TempFolder site;
    test::TempFolder local;
    std::unique_ptr<test::TestServer> server;
    std::string bytes;
};

// An installer on a loopback server: a script that leaves a mark when it runs.
std::unique_ptr<Served> serveInstaller(std::size_t padding = 0) {
    auto served = std::make_unique<Served>();
    served->bytes = "#!/bin/sh\ntouch '" + served->local.file("installer-ran") + "'\n# " +
                    std::string(padding, 'x') + "\n";
    test::writeFile(served->site.file("setup"), served->bytes);
    served->server = test::TestServer::start(served->site.path());
    return served;
}

update::UpdateOffer offerFor(const Served& served, const std::string& path, const std::string& md5) {
    update::UpdateOffer offer;
    offer.latestVersion = "V1.1.0";
    offer.day = "2026-12-01";
    offer.size = 5242880;
    offer.md5 = md5;
    offer.body = "修正若干问题\n新增帮助";
    offer.downloadUrl = served.server->url(path);
    offer.installerPath = served.local.file(md5);
    return offer;
}

} // namespace

class UpdateWinTest : public QObject {
    Q_OBJECT

private slots:
    void init() { app::MessageBox::resetRecord(); }

    void showsTheSixLines() {
        auto served = serveInstaller();
        app::UpdateWin window(offerFor(*served, "/setup", md5Of(served->bytes)), {}, [] {});
        QCOMPARE(window.windowTitle(), QStringLiteral("发现新版本"));
        QCOMPARE(window.line(0)->text(), QStringLiteral("软件名称:Quenmar"));
        QCOMPARE(window.line(1)->text(), QStringLiteral("当前版本:V1.0.0"));
        QCOMPARE(window.line(2)->text(), QStringLiteral("最新版本:V1.1.0"));
        QCOMPARE(window.line(3)->text(), QStringLiteral("发布日期:2026-12-01"));
        QCOMPARE(window.line(4)->text(), QStringLiteral("文件大小:5MB"));
        QCOMPARE(window.notesBox()->toPlainText(), QStringLiteral("更新内容:修正若干问题\n新增帮助"));
        QCOMPARE(window.actionButton()->text(), QStringLiteral("立即下载"));
        QCOMPARE(window.laterButton()->text(), QStringLiteral("下次再说"));
        QCOMPARE(window.statusLabel()->text(), QString());
        QCOMPARE(window.progressBar()->value(), 0);
    }

    void packageInstallShowsNoDownload() {
        auto served = serveInstaller();
        update::UpdateOffer offer = offerFor(*served, "/setup", md5Of(served->bytes));
        offer.installedByPackageManager = true;
        app::UpdateWin window(offer, {}, [] {});
        QVERIFY(!window.actionButton()->isVisibleTo(&window));
        QVERIFY(!window.progressBar()->isVisibleTo(&window));
        QVERIFY(window.laterButton()->isVisibleTo(&window));
        QCOMPARE(window.statusLabel()->text(),
                 QStringLiteral("本程序由系统的软件包管理器安装，请用软件包管理器更新到新版本"));
        QCOMPARE(window.line(2)->text(), QStringLiteral("最新版本:V1.1.0"));
    }

    void downloadsChecksTheFingerprintAndStartsTheInstaller() {
        auto served = serveInstaller();
        bool ended = false;
        app::UpdateWin window(offerFor(*served, "/setup", md5Of(served->bytes)), {},
                              [&ended] { ended = true; });
        window.show();
        QTest::mouseClick(window.actionButton(), Qt::LeftButton);
        QCOMPARE(window.actionButton()->text(), QStringLiteral("…下载中…"));
        QVERIFY(!window.actionButton()->isEnabled());
        QVERIFY(!window.laterButton()->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(window.model().state(), update::UpdateState::Downloaded, 10000);
        QCOMPARE(window.actionButton()->text(), QStringLiteral("立即安装"));
        QCOMPARE(window.statusLabel()->text(), QStringLiteral("恭喜您！更新已下载成功!"));
        QVERIFY(window.actionButton()->isEnabled());

        // Closing now asks; No keeps the window.
        app::MessageBox::setNextAnswer(false);
        window.close();
        QCOMPARE(app::MessageBox::lastText(), QStringLiteral("未完成本次更新的安装，是否取消本次更新?"));
        QVERIFY(window.isVisible());

        QTest::mouseClick(window.actionButton(), Qt::LeftButton);
        QCOMPARE(window.statusLabel()->text(), QStringLiteral("文件指纹正确，立即进行安装"));
        QVERIFY(ended);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QString::fromStdString(served->local.file("installer-ran"))),
                                 5000);
    }

    void aLowerCaseFingerprintIsRefusedAndTheFileDeleted() {
        auto served = serveInstaller();
        std::string md5 = md5Of(served->bytes);
        for (char& c : md5) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        bool ended = false;
        app::UpdateWin window(offerFor(*served, "/setup", md5), {}, [&ended] { ended = true; });
        QTest::mouseClick(window.actionButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(window.model().state(), update::UpdateState::Downloaded, 10000);
        const std::string path = window.model().offer().installerPath.string();
        QVERIFY(std::filesystem::exists(path));
        QTest::mouseClick(window.actionButton(), Qt::LeftButton);
        QCOMPARE(window.statusLabel()->text(), QStringLiteral("文件指纹不正确，请重新下载"));
        QCOMPARE(window.actionButton()->text(), QStringLiteral("立即下载"));
        QVERIFY(window.actionButton()->isEnabled());
        QVERIFY(!std::filesystem::exists(path));
        QVERIFY(!ended);
    }

    void aMissingInstallerFailsAndCanBeRetried() {
        auto served = serveInstaller();
        app::UpdateWin window(offerFor(*served, "/missing", md5Of(served->bytes)), {}, [] {});
        QTest::mouseClick(window.actionButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(window.model().state(), update::UpdateState::DownloadFailed, 10000);
        QCOMPARE(window.statusLabel()->text(), QStringLiteral("对不起！下载失败请检查网络稍候再试"));
        QCOMPARE(window.actionButton()->text(), QStringLiteral("立即下载"));
        QVERIFY(window.laterButton()->isEnabled());
        QVERIFY(!std::filesystem::exists(window.model().offer().installerPath));
        // A failed download closes without a question.
        window.show();
        window.close();
        QCOMPARE(app::MessageBox::shownCount(), 0);
        QVERIFY(!window.isVisible());
    }

    void laterClosesAtOnce() {
        auto served = serveInstaller();
        app::UpdateWin window(offerFor(*served, "/setup", md5Of(served->bytes)), {}, [] {});
        window.show();
        QTest::mouseClick(window.laterButton(), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(app::MessageBox::shownCount(), 0);
    }

    void closingDuringADownloadAsksAndDestroyingStopsTheWorker() {
        auto served = serveInstaller(40u << 20); // large enough to still be running
        auto window = std::make_unique<app::UpdateWin>(offerFor(*served, "/setup", md5Of(served->bytes)),
                                                       support::HttpOptions{}, [] {});
        window->show();
        QTest::mouseClick(window->actionButton(), Qt::LeftButton);
        QCOMPARE(window->model().state(), update::UpdateState::Downloading);
        app::MessageBox::setNextAnswer(false);
        window->close();
        QCOMPARE(app::MessageBox::shownCount(), 1);
        QVERIFY(window->isVisible());
        const std::filesystem::path path = window->model().offer().installerPath;
        window.reset(); // the worker is cancelled and joined before the window goes
        QTest::qWait(50);
        QVERIFY(!std::filesystem::exists(path));
    }
};

std::vector<std::unique_ptr<QObject>> makeUpdateWinTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<UpdateWinTest>());
    return tests;
}

#include "UpdateWinTest.moc"
