#include "UpdateTestKit.h"
#include "base/Utf8.h"
#include "update/UpdateCrypto.h"
#include "update/UpdateIndex.h"

#include <filesystem>
#include <gtest/gtest.h>

// The publisher's tools as a publisher uses them: `update publish` makes an index with a key
// of the test's own, a loopback HTTPS server serves it, and `update check` reads it back.
namespace quenmar::update {
namespace {

using test::runCli;
using test::TempFolder;
using test::TestServer;
using test::updateTestKeys;

const std::string kInstaller = "#!/bin/sh\nexit 0\n";
constexpr const char* kInstallerMd5 = "33E4FD94E2560E008E2C3B431D0E3419";

class UpdateCliTest : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        s_root = new TempFolder;
        std::filesystem::create_directories(s_root->file("files"));
        auto certs = test::makeTestCertificates(s_root->path());
        ASSERT_TRUE(certs);
        s_certs = new test::TestCertificates(*certs);
        ASSERT_TRUE(test::writeFile(s_root->file("files/setup"), kInstaller));
        ASSERT_TRUE(test::writeFile(s_root->file("public.pem"), updateTestKeys().publisher.publicPem));
        s_server = TestServer::start(s_root->file("files"), s_certs).release();
        ASSERT_NE(s_server, nullptr);
    }

    static void TearDownTestSuite() {
        delete s_server;
        delete s_certs;
        delete s_root;
    }

    static std::vector<std::string> publishArgs(const std::string& privateKeyFile) {
        return {"update",        "publish",
                "--private-key", privateKeyFile,
                "--url",         s_server->url("/setup"),
                "--installer",   s_root->file("files/setup"),
                "--ver",         "2",
                "--verns",       "V1.0.1",
                "--day",         "2024年5月1日",
                "--body",        "修正\n\"引号\"",
                "--name",        "wnx"};
    }

    // Publishes an index made by `update publish` (after `edit`) and returns its address.
    static std::string publishIndex(const std::string& name,
                                    const std::function<void(std::string&)>& edit = {}) {
        auto result = runCli(publishArgs(updateTestKeys().publisher.privateKeyFile));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        if (edit) {
            edit(result.out);
        }
        EXPECT_TRUE(test::writeFile(s_root->file("files/" + name), result.out));
        return s_server->url("/" + name);
    }

    static std::vector<std::string> checkArgs(const std::string& indexUrl) {
        return {"update",    "check",        "--index-url",
                indexUrl,    "--public-key", s_root->file("public.pem"),
                "--ca-file", s_certs->caFile};
    }

    static TempFolder* s_root;
    static test::TestCertificates* s_certs;
    static TestServer* s_server;
};

TempFolder* UpdateCliTest::s_root = nullptr;
test::TestCertificates* UpdateCliTest::s_certs = nullptr;
TestServer* UpdateCliTest::s_server = nullptr;

TEST_F(UpdateCliTest, PublishPrintsTheIndex) {
    const auto result = runCli(publishArgs(updateTestKeys().publisher.privateKeyFile));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const UpdateIndexResult parsed = parseUpdateIndex(result.out);
    ASSERT_TRUE(parsed) << test::errorOf(parsed);
    EXPECT_EQ(parsed->name, "wnx");
    EXPECT_EQ(parsed->ver, 2);
    EXPECT_EQ(parsed->verns, "V1.0.1");
    EXPECT_EQ(parsed->day, "2024年5月1日");
    EXPECT_EQ(parsed->body, "修正\n\"引号\"");
    EXPECT_EQ(parsed->md5, kInstallerMd5);
    EXPECT_EQ(parsed->size, static_cast<std::int64_t>(kInstaller.size()));
    EXPECT_EQ(decodeDownloadUrl(parsed->url, updateTestKeys().publisher.publicPem), s_server->url("/setup"));
}

TEST_F(UpdateCliTest, CheckShowsWhatTheWindowWouldShow) {
    const auto result = runCli(checkArgs(publishIndex("text.json")));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "软件名称:Quenmar\n当前版本:V1.0.0\n最新版本:V1.0.1\n发布日期:2024年5月1日\n文件大小:0MB\n"
              "更新内容:修正\\n\"引号\"\n下载地址:" +
                  s_server->url("/setup") + "\n文件指纹:" + kInstallerMd5 + "\n");
}

// The index is outside text: its controls are shown escaped, each line stays one line, and
// bytes that are not UTF-8 become U+FFFD in the JSON.
TEST_F(UpdateCliTest, CheckShowsTheIndexsTextAsTextOnly) {
    const std::string url = publishIndex("hostile.json", [](std::string& json) {
        json.replace(json.find("\"V1.0.1\""), 8, "\"V1.0.1\\u001b]0;owned\\u0007\"");
        json.replace(json.find("修正"), 6, "修正\xff");
    });
    const auto text = runCli(checkArgs(url));
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("\n最新版本:V1.0.1\\x1b]0;owned\\x07\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("\n更新内容:修正\\xff\\n\"引号\"\n"), std::string::npos) << text.out;
    auto args = checkArgs(url);
    args.push_back("--json");
    const auto json = runCli(args);
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find(R"("body":"修正)"
                            "\xEF\xBF\xBD"
                            R"(\n\"引号\"")"),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find(R"("verns":"V1.0.1\u001b]0;owned\u0007")"), std::string::npos) << json.out;
}

TEST_F(UpdateCliTest, CheckDownloadsAndVerifies) {
    TempFolder out;
    auto args = checkArgs(publishIndex("download.json"));
    args.insert(args.end(), {"--download", out.path(), "--json"});
    const auto result = runCli(args);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string path = out.file(kInstallerMd5);
    EXPECT_NE(result.out.find(R"("download":{"path":")" + path +
                              R"(","downloaded":true,"fingerprintMatches":true})"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(R"("lines":["软件名称:Quenmar","当前版本:V1.0.0","最新版本:V1.0.1")"),
              std::string::npos);
    EXPECT_EQ(test::readFile(path), kInstaller);
}

TEST_F(UpdateCliTest, CheckRefusesALowerCaseFingerprintAndDeletesTheFile) {
    TempFolder out;
    const std::string url = publishIndex("lower.json", [](std::string& json) {
        const std::string upper = kInstallerMd5;
        std::string lower = upper;
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        json.replace(json.find(upper), upper.size(), lower);
    });
    auto args = checkArgs(url);
    args.insert(args.end(), {"--download", out.path()});
    const auto result = runCli(args);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("文件指纹不正确，请重新下载\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.err, "quenmar-cli: 安装程序的文件指纹与索引不符, 已删除\n");
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

struct FailedCheckCase {
    const char* name;
    std::function<std::vector<std::string>()> args;
    const char* err;
};

class FailedCheckTest : public UpdateCliTest, public ::testing::WithParamInterface<FailedCheckCase> {};

TEST_P(FailedCheckTest, ExitsWithOne) {
    const auto result = runCli(GetParam().args());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.rfind(GetParam().err, 0), 0u) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailedCheckTest,
    ::testing::Values(
        FailedCheckCase{
            "UntrustedCertificate",
            [] {
                auto args = UpdateCliTest::checkArgs(UpdateCliTest::publishIndex("untrusted.json"));
                args.resize(args.size() - 2); // no --ca-file
                return args;
            },
            "quenmar-cli: 没有可用的更新索引: cannot fetch the update index: SSL certificate problem"},
        FailedCheckCase{"NotNewer",
                        [] {
                            return UpdateCliTest::checkArgs(
                                UpdateCliTest::publishIndex("old.json", [](std::string& json) {
                                    json.replace(json.find("\"ver\":2"), 7, "\"ver\":1");
                                }));
                        },
                        "quenmar-cli: 不提供更新: no newer version (ver 1)\n"},
        FailedCheckCase{
            "NegativeSize",
            [] {
                return UpdateCliTest::checkArgs(
                    UpdateCliTest::publishIndex("negative.json", [](std::string& json) {
                        const std::string size = "\"size\":" + std::to_string(kInstaller.size());
                        json.replace(json.find(size), size.size(), "\"size\":-5");
                    }));
            },
            "quenmar-cli: 不提供更新: the installer size \"size\" must be from 0 to 4 GiB (size -5)\n"},
        FailedCheckCase{
            "IndexNotFound",
            [] { return UpdateCliTest::checkArgs(UpdateCliTest::s_server->url("/missing.json")); },
            "quenmar-cli: 没有可用的更新索引: the update index is not valid JSON (HTTP status 404)\n"},
        FailedCheckCase{"ForeignKey",
                        [] {
                            auto args = UpdateCliTest::checkArgs(UpdateCliTest::publishIndex("foreign.json"));
                            args[5] = UpdateCliTest::s_root->file("stranger.pem");
                            test::writeFile(args[5], updateTestKeys().stranger.publicPem);
                            return args;
                        },
                        "quenmar-cli: 下载地址无法用公钥解密\n"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

struct BadInputCase {
    const char* name;
    std::vector<std::string> args;
    const char* err;
};

class BadInputTest : public UpdateCliTest, public ::testing::WithParamInterface<BadInputCase> {};

TEST_P(BadInputTest, ExitsWithTwo) {
    const auto result = runCli(GetParam().args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Options, BadInputTest,
    ::testing::Values(
        BadInputCase{"NoSubcommand", {"update"}, "quenmar-cli: update 的子命令应为 check 或 publish\n"},
        BadInputCase{"UnknownOption", {"update", "check", "--index"}, "quenmar-cli: 未知选项: --index\n"},
        BadInputCase{"NotAWebAddress",
                     {"update", "check", "--index-url", "file:///etc/passwd"},
                     "quenmar-cli: --index-url 应为 http:// 或 https:// 开头的网址\n"},
        BadInputCase{"MissingKeyFile",
                     {"update", "check", "--public-key", "/nonexistent/key.pem"},
                     "quenmar-cli: 无法读取公钥文件: /nonexistent/key.pem\n"},
        BadInputCase{"MissingDownloadFolder",
                     {"update", "check", "--download", "/nonexistent/folder"},
                     "quenmar-cli: --download 应为已存在的文件夹: /nonexistent/folder\n"},
        BadInputCase{"PublishWithoutVersion",
                     {"update", "publish", "--private-key", "k", "--url", "https://x/", "--installer", "i"},
                     "quenmar-cli: 缺少选项 --ver\n"},
        BadInputCase{"PublishBadVersion",
                     {"update", "publish", "--private-key", "k", "--url", "https://x/", "--installer", "i",
                      "--ver", "2a", "--verns", "v", "--day", "d", "--body", "b"},
                     "quenmar-cli: --ver 应为整数\n"},
        BadInputCase{"PublishVersionZero",
                     {"update", "publish", "--private-key", "k", "--url", "https://x/", "--installer", "i",
                      "--ver", "0", "--verns", "v", "--day", "d", "--body", "b"},
                     "quenmar-cli: --ver 应为大于 0 的整数\n"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(UpdateCliTest, PublishRefusesAKeyOfTheWrongSize) {
    const auto result = runCli(publishArgs(updateTestKeys().small.privateKeyFile));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "quenmar-cli: 无法加密下载地址: the private key must be a 4096-bit RSA key\n");
}

} // namespace
} // namespace quenmar::update
