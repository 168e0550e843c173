#include "support/HttpClient.h"

#include "Files.h"
#include "TempFolder.h"
#include "TestServer.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace quenmar::support {
namespace {

using test::TempFolder;
using test::TestServer;

// The parts of a result as the assertions read them: a transfer that did not complete has no
// status (0), no body and the reason in words.
bool isOk(const HttpResult& result) {
    return result && result->isOk();
}
long statusOf(const HttpResult& result) {
    return result ? result->status : 0;
}
std::string bodyOf(const HttpResult& result) {
    return result ? result->body : std::string();
}
std::string errorOf(const HttpResult& result) {
    return result ? std::string() : errorText(result.error());
}

class HttpClientTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new TempFolder;
        ASSERT_TRUE(test::writeFile(s_dir->file("hello.txt"), "hello, world\n"));
        s_certs = new std::optional<test::TestCertificates>(test::makeTestCertificates(s_dir->path()));
        ASSERT_TRUE(s_certs->has_value());
        s_http = TestServer::start(s_dir->path()).release();
        s_https = TestServer::start(s_dir->path(), &**s_certs).release();
        ASSERT_NE(s_http, nullptr);
        ASSERT_NE(s_https, nullptr);
    }

    static void TearDownTestSuite() {
        delete s_https;
        delete s_http;
        delete s_certs;
        delete s_dir;
    }

    static HttpOptions trusting() {
        HttpOptions options;
        options.caFile = (*s_certs)->caFile;
        return options;
    }

    static TempFolder* s_dir;
    static std::optional<test::TestCertificates>* s_certs;
    static TestServer* s_http;
    static TestServer* s_https;
};

TempFolder* HttpClientTest::s_dir = nullptr;
std::optional<test::TestCertificates>* HttpClientTest::s_certs = nullptr;
TestServer* HttpClientTest::s_http = nullptr;
TestServer* HttpClientTest::s_https = nullptr;

TEST_F(HttpClientTest, GetReturnsBodyStatusAndLength) {
    const HttpResult response = httpGet(s_http->url("/hello.txt"));
    EXPECT_TRUE(isOk(response));
    EXPECT_EQ(statusOf(response), 200);
    EXPECT_EQ(bodyOf(response), "hello, world\n");
    EXPECT_EQ(response->contentLength, 13);
    EXPECT_EQ(errorOf(response), "");
}

// libcurl itself calls a 404 a success: the status must come through so callers can refuse it.
TEST_F(HttpClientTest, NotFoundIsACompletedTransferWithItsStatus) {
    const HttpResult response = httpGet(s_http->url("/status/404"));
    EXPECT_TRUE(response.ok());
    EXPECT_FALSE(isOk(response));
    EXPECT_EQ(statusOf(response), 404);
    EXPECT_EQ(bodyOf(response), "status 404");
}

TEST_F(HttpClientTest, FollowsARedirect) {
    const HttpResult response = httpGet(s_http->url("/redirect?to=/hello.txt"));
    EXPECT_TRUE(isOk(response));
    EXPECT_EQ(bodyOf(response), "hello, world\n");
}

TEST_F(HttpClientTest, RedirectLoopStopsAtTheCap) {
    HttpOptions options;
    options.maxRedirects = 3;
    const HttpResult response = httpGet(s_http->url("/loop/0"), options);
    EXPECT_FALSE(response.ok());
    EXPECT_EQ(statusOf(response), 0);
    EXPECT_NE(errorOf(response), "");
}

// A redirect is followed only to the web; a crafted Location must not read local files.
TEST_F(HttpClientTest, RedirectToAnotherSchemeIsRefused) {
    const HttpResult response = httpGet(s_http->url("/redirect?to=file:///etc/hostname"));
    EXPECT_FALSE(response.ok());
    EXPECT_EQ(bodyOf(response), "");
}

TEST_F(HttpClientTest, NonWebSchemeIsRefused) {
    const HttpResult response = httpGet("file:///etc/hostname");
    EXPECT_FALSE(response.ok());
}

TEST_F(HttpClientTest, StalledServerHitsTheLowSpeedLimit) {
    HttpOptions options;
    options.totalTimeoutMs = 0;
    options.lowSpeedBytesPerSecond = 100;
    options.lowSpeedSeconds = 1;
    const auto started = std::chrono::steady_clock::now();
    const HttpResult response = httpGet(s_http->url("/stall?bytes=10"), options);
    EXPECT_FALSE(response.ok());
    // The server would hold the connection for a minute; the limit must end it long before.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

TEST_F(HttpClientTest, StalledServerHitsTheOverallLimit) {
    HttpOptions options;
    options.totalTimeoutMs = 800;
    const auto started = std::chrono::steady_clock::now();
    const HttpResult response = httpGet(s_http->url("/stall"), options);
    EXPECT_FALSE(response.ok());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

TEST_F(HttpClientTest, ClosedPortFails) {
    // Port 1 is privileged and never served by the tests.
    const HttpResult response = httpGet("http://127.0.0.1:1/");
    EXPECT_FALSE(response.ok());
    EXPECT_NE(errorOf(response), "");
}

TEST_F(HttpClientTest, HttpsWithTrustedCertificate) {
    const HttpResult response = httpGet(s_https->url("/hello.txt"), trusting());
    EXPECT_TRUE(isOk(response));
    EXPECT_EQ(bodyOf(response), "hello, world\n");
}

struct UntrustedCase {
    const char* name;
    bool withOtherCa;
    bool byHostName;
    const char* errorPart;
};

class HttpsRefusalTest : public HttpClientTest, public ::testing::WithParamInterface<UntrustedCase> {};

TEST_P(HttpsRefusalTest, IsRefused) {
    const UntrustedCase& c = GetParam();
    HttpOptions options;
    if (c.withOtherCa) {
        options.caFile = (*s_certs)->otherCaFile;
    }
    if (c.byHostName) {
        options = trusting();
    }
    std::string url = s_https->url("/hello.txt");
    if (c.byHostName) {
        // The certificate names 127.0.0.1 only; reached as "localhost" it does not match.
        url = "https://localhost:" + std::to_string(s_https->port()) + "/hello.txt";
    }
    const HttpResult response = httpGet(url, options);
    EXPECT_FALSE(response.ok());
    EXPECT_EQ(statusOf(response), 0);
    EXPECT_EQ(bodyOf(response), "");
    // The refusal must come from verification, not from some other failure on the way.
    EXPECT_NE(errorOf(response).find(c.errorPart), std::string::npos) << errorOf(response);
}

INSTANTIATE_TEST_SUITE_P(Certificates, HttpsRefusalTest,
                         ::testing::Values(UntrustedCase{"SystemStoreOnly", false, false, "certificate"},
                                           UntrustedCase{"UnrelatedAuthority", true, false, "certificate"},
                                           UntrustedCase{"WrongHostName", false, true, "'localhost'"}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

struct SizeCase {
    const char* name;
    int bytes;
    bool announced;
    bool fits;
};

class BodyCapTest : public HttpClientTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(BodyCapTest, HonoursTheCap) {
    const SizeCase& c = GetParam();
    HttpOptions options;
    options.maxBodyBytes = 1000;
    const std::string path = "/big?bytes=" + std::to_string(c.bytes) + (c.announced ? "" : "&length=0");
    const HttpResult response = httpGet(s_http->url(path), options);
    EXPECT_EQ(response.ok(), c.fits);
    EXPECT_EQ(bodyOf(response).size(), c.fits ? static_cast<std::size_t>(c.bytes) : 0u);
    if (!c.fits) {
        EXPECT_EQ(errorOf(response), "response body larger than the allowed size");
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, BodyCapTest,
                         ::testing::Values(SizeCase{"ExactlyTheCap", 1000, true, true},
                                           SizeCase{"AnnouncedOversize", 1001, true, false},
                                           SizeCase{"UnannouncedAtCap", 1000, false, true},
                                           SizeCase{"UnannouncedOversize", 5000, false, false}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(HttpClientTest, DownloadWritesTheFileAndReportsProgress) {
    TempFolder out;
    const std::string path = out.file("download.bin");
    std::int64_t lastReceived = -1;
    std::int64_t lastTotal = -1;
    bool monotonic = true;
    const HttpResult response = httpDownload(s_http->url("/drip?bytes=3000&chunk=1000&delay=20"), path,
                                             trusting(), [&](std::int64_t received, std::int64_t total) {
                                                 monotonic = monotonic && received >= lastReceived;
                                                 lastReceived = received;
                                                 lastTotal = total;
                                                 return true;
                                             });
    EXPECT_TRUE(isOk(response));
    EXPECT_EQ(bodyOf(response), "");
    EXPECT_EQ(test::readFile(path), std::string(3000, 'd'));
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(lastReceived, 3000);
    EXPECT_EQ(lastTotal, 3000);
}

// The download replaces a link of its name instead of writing through it to another file.
TEST_F(HttpClientTest, DownloadReplacesALinkInsteadOfFollowingIt) {
    TempFolder out;
    const std::string path = out.file("download.bin");
    ASSERT_TRUE(test::writeFile(out.file("elsewhere"), "precious"));
    std::filesystem::create_symlink(out.file("elsewhere"), path);
    EXPECT_TRUE(isOk(httpDownload(s_http->url("/hello.txt"), path, HttpOptions{})));
    EXPECT_FALSE(std::filesystem::is_symlink(path));
    EXPECT_EQ(test::readFile(path), "hello, world\n");
    EXPECT_EQ(test::readFile(out.file("elsewhere")), "precious");
}

TEST_F(HttpClientTest, DownloadOverHttps) {
    TempFolder out;
    const std::string path = out.file("download.bin");
    const HttpResult response = httpDownload(s_https->url("/hello.txt"), path, trusting());
    EXPECT_TRUE(isOk(response));
    EXPECT_EQ(test::readFile(path), "hello, world\n");
}

struct FailedDownloadCase {
    const char* name;
    const char* path;
    bool https;
    bool completed;
    long status;
};

class FailedDownloadTest : public HttpClientTest, public ::testing::WithParamInterface<FailedDownloadCase> {};

// Whatever went wrong, nothing that could pass for the file is left behind, not even an
// older file of the same name.
TEST_P(FailedDownloadTest, LeavesNoFile) {
    const FailedDownloadCase& c = GetParam();
    TempFolder out;
    const std::string path = out.file("download.bin");
    ASSERT_TRUE(test::writeFile(path, "an older file"));
    HttpOptions options; // no caFile: the HTTPS case is refused
    options.totalTimeoutMs = 0;
    options.lowSpeedBytesPerSecond = 100;
    options.lowSpeedSeconds = 1;
    options.maxBodyBytes = 1'500'000;
    const HttpResult response = httpDownload((c.https ? s_https : s_http)->url(c.path), path, options);
    EXPECT_FALSE(isOk(response));
    EXPECT_EQ(response.ok(), c.completed);
    EXPECT_EQ(statusOf(response), c.status);
    EXPECT_FALSE(std::filesystem::exists(path));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailedDownloadTest,
    ::testing::Values(FailedDownloadCase{"NotFound", "/status/404", false, true, 404},
                      FailedDownloadCase{"ServerError", "/status/500", false, true, 500},
                      FailedDownloadCase{"Stalled", "/stall?bytes=10", false, false, 0},
                      FailedDownloadCase{"Oversize", "/big?bytes=2000000&length=0", false, false, 0},
                      FailedDownloadCase{"UntrustedCertificate", "/hello.txt", true, false, 0}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(HttpClientTest, DownloadAbortedByProgressLeavesNoFile) {
    TempFolder out;
    const std::string path = out.file("download.bin");
    const HttpResult response =
        httpDownload(s_http->url("/drip?bytes=5000&chunk=500&delay=20"), path, HttpOptions{},
                     [](std::int64_t received, std::int64_t) { return received < 1000; });
    EXPECT_FALSE(response.ok());
    EXPECT_EQ(errorOf(response), "transfer cancelled");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(HttpClientTest, DownloadIntoMissingFolderFails) {
    TempFolder out;
    const HttpResult response =
        httpDownload(s_http->url("/hello.txt"), out.file("no/such/file"), HttpOptions{});
    EXPECT_FALSE(response.ok());
    EXPECT_EQ(errorOf(response), "cannot create the file " + out.file("no/such/file"));
}

} // namespace
} // namespace quenmar::support
