#include "EnvironmentVariable.h"
#include "UpdateTestKit.h"
#include "support/IniFile.h"
#include "update/Installer.h"
#include "update/UpdateCheck.h"
#include "update/UpdateCrypto.h"
#include "update/UpdateDownload.h"
#include "update/UpdateKey.h"
#include "update/UpdateWindowModel.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// The update from the index request to the started installer, against an HTTPS server on
// loopback that presents a certificate of an authority only these tests trust.
namespace quenmar::update {
namespace {

using test::TempFolder;
using test::TestServer;
using test::updateTestKeys;

constexpr const char* kToday = "2024年5月1日";
constexpr DateTime kTodayFields{2024, 5, 1, 9, 30};

// The installer leaves a mark beside itself, so a test can tell that it really ran.
const std::string kInstallerScript = "#!/bin/sh\necho started > \"$(dirname \"$0\")/installer-ran\"\n";

struct IndexFields {
    std::int64_t ver = 2;
    std::string url;
    std::string md5;
    std::string size = "1048576"; // JSON text; empty = no "size" member
};

std::string indexJson(const IndexFields& fields) {
    std::string json = R"({"name":"wnx","ver":)" + std::to_string(fields.ver) +
                       R"(,"verns":"V1.0.2","day":"2024年5月1日","url":")" + fields.url + R"(","md5":")" +
                       fields.md5 + R"(","body":"修正若干问题")";
    if (!fields.size.empty()) {
        json += R"(,"size":)" + fields.size;
    }
    return json + "}";
}

class UpdateFlowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_root = new TempFolder;
        std::filesystem::create_directories(s_root->file("files"));
        auto certs = test::makeTestCertificates(s_root->path());
        ASSERT_TRUE(certs);
        s_certs = new test::TestCertificates(*certs);
        ASSERT_TRUE(test::writeFile(s_root->file("files/setup"), kInstallerScript));
        ASSERT_TRUE(test::writeFile(s_root->file("files/large"), std::string(1048576, 'z')));
        s_server = TestServer::start(s_root->file("files"), s_certs).release();
        ASSERT_NE(s_server, nullptr);
        updateTestKeys();
    }

    static void TearDownTestSuite() {
        delete s_server;
        delete s_certs;
        delete s_root;
    }

    static std::string installerMd5() { return fileFingerprint(s_root->file("files/setup")).value_or(""); }

    static std::string encryptedUrl(const std::string& path, const std::string& privatePem = {}) {
        const std::string& key = privatePem.empty() ? updateTestKeys().publisher.privatePem : privatePem;
        return encryptDownloadUrl(s_server->url(path), key).value();
    }

    // Publishes `fields` as an index under a name of its own and returns the check settings
    // of this test's program folder for it.
    UpdateCheckSettings publish(const IndexFields& fields) {
        const std::string name = "index-" + std::to_string(++m_indexCount) + ".json";
        EXPECT_TRUE(test::writeFile(s_root->file("files/" + name), indexJson(fields)));
        return settingsFor(s_server->url("/" + name));
    }

    UpdateCheckSettings settingsFor(const std::string& indexUrl) const {
        UpdateCheckSettings settings;
        settings.indexUrl = indexUrl;
        settings.caFile = s_certs->caFile;
        settings.publicKeyPem = updateTestKeys().publisher.publicPem;
        settings.configFile = m_home.file("config.ini");
        settings.installerFolder = m_home.path();
        settings.today = kTodayFields;
        return settings;
    }

    IndexFields goodIndex() const { return {2, encryptedUrl("/setup"), installerMd5(), "1048576"}; }

    std::string setting(const char* key) const {
        return support::readIniValue(m_home.file("config.ini"), kSettingsSection, key);
    }

    static TempFolder* s_root;
    static test::TestCertificates* s_certs;
    static TestServer* s_server;
    TempFolder m_home; // the program folder: config.ini and the downloaded installer
    int m_indexCount = 0;
};

TempFolder* UpdateFlowTest::s_root = nullptr;
test::TestCertificates* UpdateFlowTest::s_certs = nullptr;
TestServer* UpdateFlowTest::s_server = nullptr;

// Runs a download on the worker thread as the window does and waits for its end.
struct DownloadRun {
    bool finished = false;
    bool downloaded = false;
    int finishCalls = 0;
    std::vector<std::pair<int, std::string>> notices;
};

DownloadRun runDownload(const UpdateOffer& offer, const support::HttpOptions& options) {
    DownloadRun run;
    std::mutex mutex;
    std::condition_variable done;
    UpdateDownload download;
    EXPECT_TRUE(download.start(
        offer.downloadUrl, offer.installerPath, options,
        [&](int percent, const std::string& text) {
            std::lock_guard lock(mutex);
            run.notices.emplace_back(percent, text);
        },
        [&](bool ok) {
            std::lock_guard lock(mutex);
            run.finished = true;
            run.downloaded = ok;
            ++run.finishCalls;
            done.notify_all();
        }));
    std::unique_lock lock(mutex);
    done.wait_for(lock, std::chrono::seconds(60), [&] { return run.finished; });
    lock.unlock();
    download.wait();
    return run;
}

TEST_F(UpdateFlowTest, OfferDownloadCheckAndInstall) {
    const auto offer = checkForUpdate(publish(goodIndex()));
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->downloadUrl, s_server->url("/setup"));
    EXPECT_EQ(offer->installerPath, std::filesystem::path(m_home.file(installerMd5())));
    EXPECT_EQ(setting(kUpdateFileKey), installerMd5());
    EXPECT_EQ(setting(kUpdateDayKey), kToday);

    UpdateWindowModel model(*offer);
    EXPECT_EQ(model.lines()[2], "最新版本:V1.0.2");
    EXPECT_EQ(model.lines()[4], "文件大小:1MB");
    ASSERT_EQ(model.actionClicked(), UpdateWindowModel::Action::StartDownload);
    const DownloadRun run = runDownload(model.offer(), installerDownloadOptions(s_certs->caFile));
    EXPECT_TRUE(run.downloaded);
    EXPECT_EQ(run.finishCalls, 1);
    model.downloadFinished(run.downloaded);
    EXPECT_EQ(model.actionCaption(), "立即安装");

    ASSERT_EQ(model.actionClicked(), UpdateWindowModel::Action::Install);
    model.installFinished(installUpdate(model.offer().md5, model.offer().installerPath));
    EXPECT_EQ(model.statusText(), "文件指纹正确，立即进行安装");
    EXPECT_TRUE(model.shouldEndProgram());
    for (int i = 0; i < 100 && !std::filesystem::exists(m_home.file("installer-ran")); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(std::filesystem::exists(m_home.file("installer-ran")));
}

// A package install is offered the release but downloads nothing, so there is no installer
// for the next start to remove.
TEST_F(UpdateFlowTest, PackageInstallIsOfferedWithoutAnInstaller) {
    UpdateCheckSettings settings = publish(goodIndex());
    settings.installedByPackageManager = true;
    const auto offer = checkForUpdate(settings);
    ASSERT_TRUE(offer);
    EXPECT_TRUE(offer->installedByPackageManager);
    EXPECT_EQ(setting(kUpdateFileKey), "");
    EXPECT_EQ(setting(kUpdateDayKey), kToday);
}

TEST_F(UpdateFlowTest, ProgressNoticesReachOneHundredWithoutRepeats) {
    IndexFields fields = goodIndex();
    fields.url = encryptedUrl("/large");
    const auto offer = checkForUpdate(publish(fields));
    ASSERT_TRUE(offer);
    const DownloadRun run = runDownload(*offer, installerDownloadOptions(s_certs->caFile));
    ASSERT_TRUE(run.downloaded);
    ASSERT_FALSE(run.notices.empty());
    EXPECT_EQ(run.notices.back(), std::make_pair(100, std::string("文件大小:1/已下载:1MB")));
    for (std::size_t i = 1; i < run.notices.size(); ++i) {
        EXPECT_LE(run.notices[i - 1].first, run.notices[i].first);
        EXPECT_NE(run.notices[i - 1], run.notices[i]);
    }
}

TEST_F(UpdateFlowTest, VersionOneOffersNothingAndStoresNothing) {
    IndexFields fields = goodIndex();
    fields.ver = 1;
    EXPECT_FALSE(checkForUpdate(publish(fields)));
    EXPECT_FALSE(std::filesystem::exists(m_home.file("config.ini")));
}

TEST_F(UpdateFlowTest, SizeLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "文件大小:0MB"}, {"5242880", "文件大小:5MB"}, {"\"1310720\"", "文件大小:1.25MB"}};
    for (const auto& [size, line] : cases) {
        IndexFields fields = goodIndex();
        fields.size = size;
        const auto offer = checkForUpdate(publish(fields));
        ASSERT_TRUE(offer) << size;
        EXPECT_EQ(UpdateWindowModel(*offer).lines()[4], line);
    }
}

// Start-up asks only when update_day is not today, and the day is stored only with an offer.
TEST_F(UpdateFlowTest, TwoStartsOnOneDayCheckOnce) {
    int checks = 0;
    const auto start = [&](const UpdateCheckSettings& settings) {
        if (!isUpdateCheckDue(settings.configFile, settings.today)) {
            return false;
        }
        ++checks;
        return checkForUpdate(settings).has_value();
    };
    IndexFields none = goodIndex();
    none.ver = 1;
    const UpdateCheckSettings nothingNew = publish(none);
    EXPECT_FALSE(start(nothingNew));
    EXPECT_FALSE(start(nothingNew));
    EXPECT_EQ(checks, 2); // no offer, so every start asks again

    const UpdateCheckSettings newer = publish(goodIndex());
    EXPECT_TRUE(start(newer));
    EXPECT_FALSE(start(newer));
    EXPECT_EQ(checks, 3);

    UpdateCheckSettings tomorrow = newer;
    tomorrow.today = DateTime{2024, 5, 2};
    EXPECT_TRUE(start(tomorrow));
    EXPECT_EQ(checks, 4);
}

TEST_F(UpdateFlowTest, LowerCaseFingerprintIsRefusedAndTheFileDeleted) {
    IndexFields fields = goodIndex();
    for (char& c : fields.md5) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    ASSERT_NE(fields.md5, installerMd5());
    const auto offer = checkForUpdate(publish(fields));
    ASSERT_TRUE(offer);
    UpdateWindowModel model(*offer);
    model.actionClicked();
    model.downloadFinished(runDownload(*offer, installerDownloadOptions(s_certs->caFile)).downloaded);
    ASSERT_EQ(model.state(), UpdateState::Downloaded);
    ASSERT_TRUE(std::filesystem::exists(offer->installerPath));
    ASSERT_EQ(model.actionClicked(), UpdateWindowModel::Action::Install);
    model.installFinished(installUpdate(offer->md5, offer->installerPath));
    EXPECT_EQ(model.statusText(), "文件指纹不正确，请重新下载");
    EXPECT_FALSE(std::filesystem::exists(offer->installerPath));
    EXPECT_FALSE(std::filesystem::exists(m_home.file("installer-ran")));
}

// The fingerprint becomes a file name: anything but 32 hexadecimal digits is never offered,
// so no path of the server's choosing is written, run or deleted.
TEST_F(UpdateFlowTest, CraftedFingerprintOffersNothing) {
    const std::string crafted[] = {"../../../../../../../../tmp/evil",
                                   "0123456789ABCDEF0123456789ABCDE/",
                                   "/etc/passwd",
                                   "0123456789ABCDEF0123456789ABCDE",
                                   "0123456789ABCDEF0123456789ABCDEF0",
                                   "0123456789ABCDEF0123456789ABCDEG",
                                   ""};
    for (const std::string& md5 : crafted) {
        IndexFields fields = goodIndex();
        fields.md5 = md5;
        EXPECT_FALSE(checkForUpdate(publish(fields))) << md5;
    }
    EXPECT_FALSE(std::filesystem::exists(m_home.file("config.ini")));
}

TEST_F(UpdateFlowTest, IndexRequestsThatFailOfferNothing) {
    UpdateCheckSettings untrusted = publish(goodIndex());
    untrusted.caFile = s_certs->otherCaFile;
    EXPECT_FALSE(checkForUpdate(untrusted));
    EXPECT_FALSE(checkForUpdate(settingsFor(s_server->url("/status/404"))));
    EXPECT_FALSE(checkForUpdate(settingsFor("https://127.0.0.1:1/index.json")));
    EXPECT_FALSE(std::filesystem::exists(m_home.file("config.ini")));
}

TEST_F(UpdateFlowTest, StalledIndexServerGivesUpInTime) {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(checkForUpdate(settingsFor(s_server->url("/stall?bytes=10"))));
    // The server would hold on for a minute; the window must be free again long before.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
}

TEST_F(UpdateFlowTest, AddressThatDoesNotDecryptFailsTheDownload) {
    IndexFields fields = goodIndex();
    fields.url = encryptedUrl("/setup", updateTestKeys().stranger.privatePem);
    const auto offer = checkForUpdate(publish(fields));
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->downloadUrl, "");
    UpdateWindowModel model(*offer);
    model.actionClicked();
    model.downloadFinished(runDownload(*offer, installerDownloadOptions(s_certs->caFile)).downloaded);
    EXPECT_EQ(model.state(), UpdateState::DownloadFailed);
    EXPECT_EQ(model.statusText(), "对不起！下载失败请检查网络稍候再试");
    EXPECT_FALSE(std::filesystem::exists(offer->installerPath));
}

struct FailedDownloadCase {
    const char* name;
    const char* path;
    bool trusted;
};

class FailedInstallerDownloadTest : public UpdateFlowTest,
                                    public ::testing::WithParamInterface<FailedDownloadCase> {};

// An older file of the installer's name goes too: what stays could be taken for the download.
TEST_P(FailedInstallerDownloadTest, LeavesNoInstaller) {
    const auto offer = checkForUpdate(publish(goodIndex()));
    ASSERT_TRUE(offer);
    UpdateOffer target = *offer;
    target.downloadUrl = s_server->url(GetParam().path);
    ASSERT_TRUE(test::writeFile(target.installerPath.string(), kInstallerScript));
    support::HttpOptions options =
        installerDownloadOptions(GetParam().trusted ? s_certs->caFile : std::string());
    options.lowSpeedSeconds = 1; // the stall test need not wait half a minute
    const DownloadRun run = runDownload(target, options);
    EXPECT_TRUE(run.finished);
    EXPECT_FALSE(run.downloaded);
    EXPECT_FALSE(std::filesystem::exists(target.installerPath));
}

INSTANTIATE_TEST_SUITE_P(Failures, FailedInstallerDownloadTest,
                         ::testing::Values(FailedDownloadCase{"NotFound", "/status/404", true},
                                           FailedDownloadCase{"Stalled", "/stall?bytes=10", true},
                                           FailedDownloadCase{"UntrustedCertificate", "/setup", false}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// Closing the window during a download destroys the download: it must stop at once, report
// its end exactly once and leave no partial installer.
TEST_F(UpdateFlowTest, DestroyingARunningDownloadCancelsIt) {
    const auto offer = checkForUpdate(publish(goodIndex()));
    ASSERT_TRUE(offer);
    std::mutex mutex;
    std::condition_variable progressed;
    bool sawProgress = false;
    int finishCalls = 0;
    bool downloaded = true;
    const auto started = std::chrono::steady_clock::now();
    {
        UpdateDownload download;
        ASSERT_TRUE(download.start(
            s_server->url("/drip?bytes=100000&chunk=1000&delay=50"), offer->installerPath,
            installerDownloadOptions(s_certs->caFile),
            [&](int, const std::string&) {
                std::lock_guard lock(mutex);
                sawProgress = true;
                progressed.notify_all();
            },
            [&](bool ok) {
                std::lock_guard lock(mutex);
                downloaded = ok;
                ++finishCalls;
            }));
        EXPECT_TRUE(download.running());
        EXPECT_FALSE(download.start("x", "y", {}, {}, {})); // one download at a time
        std::unique_lock lock(mutex);
        ASSERT_TRUE(progressed.wait_for(lock, std::chrono::seconds(20), [&] { return sawProgress; }));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4)); // the drip takes 5 s
    EXPECT_EQ(finishCalls, 1);
    EXPECT_FALSE(downloaded);
    EXPECT_FALSE(std::filesystem::exists(offer->installerPath));
}

TEST_F(UpdateFlowTest, InstallerThatCannotRunIsReported) {
    const std::string path = m_home.file("notaprogram");
    ASSERT_TRUE(test::writeFile(path, "plain text, no interpreter line"));
    const auto md5 = fileFingerprint(path);
    ASSERT_TRUE(md5);
    EXPECT_EQ(installUpdate(*md5, path), InstallOutcome::InstallerNotStarted);
    EXPECT_EQ(installUpdate(*md5, m_home.file("missing")), InstallOutcome::FingerprintMismatch);
}

TEST_F(UpdateFlowTest, LeftoverInstallerIsRemovedAtTheNextStart) {
    const std::string config = m_home.file("config.ini");
    const std::string md5 = "0123456789ABCDEF0123456789ABCDEF";
    ASSERT_TRUE(test::writeFile(m_home.file(md5), "old installer"));
    ASSERT_TRUE(test::writeFile(m_home.file("keep"), "user file"));

    EXPECT_FALSE(removeLeftoverInstaller(config, m_home.path())); // no config.ini yet
    ASSERT_TRUE(support::writeIniValue(config, kSettingsSection, kUpdateFileKey, md5));
    EXPECT_TRUE(removeLeftoverInstaller(config, m_home.path()));
    EXPECT_FALSE(std::filesystem::exists(m_home.file(md5)));
    EXPECT_EQ(setting(kUpdateFileKey), md5); // the key itself stays

    // Names this program never gives an installer are left alone.
    for (const char* name : {"keep", "../keep", "config.ini", "0123456789ABCDEF0123456789ABCDEF/../keep"}) {
        ASSERT_TRUE(support::writeIniValue(config, kSettingsSection, kUpdateFileKey, name));
        EXPECT_FALSE(removeLeftoverInstaller(config, m_home.path())) << name;
    }
    EXPECT_TRUE(std::filesystem::exists(m_home.file("keep")));
    EXPECT_TRUE(std::filesystem::exists(config));
}

} // namespace
} // namespace quenmar::update

namespace quenmar::update {
namespace {

// The program's own settings follow the one rule for where its files live.
TEST(ProgramUpdateSettingsTest, UseTheDataRootTheServerAndTheKey) {
    TempFolder home;
    const auto settings = [&] {
        const test::EnvironmentVariable homeVariable("QUENMAR_HOME", home.path().c_str());
        return programUpdateCheckSettings(DateTime{2024, 5, 1, 23, 59, 59, 999});
    }();
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->indexUrl, "https://update.quenmar.example/update/wnx/index.json");
    EXPECT_EQ(settings->publicKeyPem, updatePublicKeyPem());
    EXPECT_EQ(settings->configFile, std::filesystem::path(home.file("config.ini")));
    EXPECT_EQ(settings->installerFolder, std::filesystem::path(home.path()));
    EXPECT_EQ(dateText(settings->today), "2024年5月1日");
    EXPECT_EQ(settings->caFile, "");
    EXPECT_FALSE(settings->installedByPackageManager); // the test's own folder is the user's
}

} // namespace
} // namespace quenmar::update
