#include "draws/DrawFetch.h"

#include "DrawsTestSupport.h"
#include "EnvironmentVariable.h"
#include "TempFolder.h"
#include "TestServer.h"
#include "cli/CommandLine.h"

#include <gtest/gtest.h>
#include <sstream>

namespace quenmar::draws {
namespace {

// One loopback server for the whole suite, serving the fixture pages and a few made here.
class DrawsServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new test::TempFolder;
        // The draws command keeps what it fetched: in a history of the suite's own.
        s_home = new test::EnvironmentVariable("QUENMAR_HOME", s_dir->file("home").c_str());
        for (const char* name : {"daily_gb2312.html", "results_gb18030.html"}) {
            ASSERT_TRUE(test::writeFile(s_dir->file(name), test::fixtureBytes(name)));
        }
        ASSERT_TRUE(test::writeFile(s_dir->file("empty.html"), ""));
        ASSERT_TRUE(test::writeFile(s_dir->file("nodraw.html"), "<div class=more-time-cont>暂无</div>"));
        // A page that moved to UTF-8 and says so.
        ASSERT_TRUE(test::writeFile(
            s_dir->file("utf8.html"),
            "<html><head><meta charset=\"UTF-8\"></head><body><div class=more-time-cont><a>"
            "<span class=kaij-tit>2024124期<b>2024-05-02</b></span></a></div></body></html>"));
        // A GB page that wrongly claims UTF-8: its bytes are no UTF-8, so they are read as GB.
        ASSERT_TRUE(test::writeFile(
            s_dir->file("liar.html"),
            "<meta http-equiv=Content-Type content='text/html; charset=utf-8'><p>\xBF\xEC</p>"));
        // A daily-draw page showing one ball "99", and a results table whose 双色球 row lost its
        // blue ball: pages, but no draws.
        ASSERT_TRUE(test::writeFile(s_dir->file("ball99.html"),
                                    "<div class=more-time-cont><a><span class=kaij-tit>2024123期<b>2024-05-01"
                                    "</b></span><span class=kaij-jg><i>99</i></span></a></div>"));
        ASSERT_TRUE(test::writeFile(
            s_dir->file("noblue.html"),
            "<table "
            "class=kjtable><tbody><tr></tr><tr></tr><tr><td>双色球</td><td></td><td>1期</td><td>d</td><td>"
            "<span class=red>01</span><span class=red>02</span><span class=red>03</span><span class=red>04"
            "</span><span class=red>05</span><span class=red>06</span></td></tr></tbody></table>"));
        // A page whose issue and date try to work the terminal.
        ASSERT_TRUE(test::writeFile(
            s_dir->file("escape.html"),
            "<div class=more-time-cont><a><span class=kaij-tit>1\x1b[2J期<b>\x07"
            "d\xff</b></span>"
            "<span class=kaij-jg><i>01</i><i>02</i><i>03</i><i>04</i><i>05</i><i>06</i><i>07</i>"
            "<i>08</i><i>09</i><i>10</i><i>11</i><i>12</i><i>13</i><i>14</i><i>15</i><i>16</i>"
            "<i>17</i><i>18</i><i>19</i><i>20</i></span></a></div>"));
        // A UTF-8 page with one damaged byte, which only its Content-Type header calls UTF-8.
        ASSERT_TRUE(test::writeFile(s_dir->file("damaged.html"), "<p>\xE5\xBF\xAB\xFF\xE4\xB9\x90</p>"));
        s_server = test::TestServer::start(s_dir->path()).release();
        ASSERT_NE(s_server, nullptr);
    }
    static void TearDownTestSuite() {
        delete s_server;
        s_server = nullptr;
        delete s_home;
        s_home = nullptr;
        delete s_dir;
        s_dir = nullptr;
    }

    static std::string url(const std::string& path) { return s_server->url(path); }

    static DrawSources sources(const std::string& daily, const std::string& table) {
        DrawSources result = defaultDrawSources();
        result.dailyDrawUrl = url(daily);
        result.resultsTableUrl = url(table);
        return result;
    }

    static test::TempFolder* s_dir;
    static test::EnvironmentVariable* s_home;
    static test::TestServer* s_server;
};

test::TempFolder* DrawsServer::s_dir = nullptr;
test::EnvironmentVariable* DrawsServer::s_home = nullptr;
test::TestServer* DrawsServer::s_server = nullptr;

TEST_F(DrawsServer, FetchPageDecodesAGb2312PageWithGbkCharacters) {
    const auto page = fetchPage(url("/daily_gb2312.html"), PageCharset::Gb2312, defaultDrawSources().http);
    ASSERT_TRUE(page) << test::detailOf(page);
    EXPECT_NE(page->find("<title>快乐8开奖结果</title>"), std::string::npos);
    EXPECT_NE(page->find("朱镕基路"), std::string::npos);
}

TEST_F(DrawsServer, FetchPageDecodesAGb18030Page) {
    const auto page =
        fetchPage(url("/results_gb18030.html"), PageCharset::Gb18030, defaultDrawSources().http);
    ASSERT_TRUE(page) << test::detailOf(page);
    EXPECT_NE(page->find("彩票开奖公告 \xF0\xA0\x80\x80"), std::string::npos);
}

TEST_F(DrawsServer, FetchPageFollowsARedirect) {
    const auto page =
        fetchPage(url("/redirect?to=/daily_gb2312.html"), PageCharset::Gb2312, defaultDrawSources().http);
    ASSERT_TRUE(page) << test::detailOf(page);
    EXPECT_NE(page->find("2024123期"), std::string::npos);
}

TEST_F(DrawsServer, FetchPageGivesNothingButTheReasonForOtherStatuses) {
    for (const char* path : {"/missing.html", "/status/404", "/status/500"}) {
        const auto page = fetchPage(url(path), PageCharset::Gb2312, defaultDrawSources().http);
        EXPECT_FALSE(page.ok()) << path;
        EXPECT_EQ(page.ok() ? *page : std::string(), "") << path;
    }
    EXPECT_EQ(test::detailOf(fetchPage(url("/status/500"), PageCharset::Gb2312, defaultDrawSources().http)),
              "HTTP status 500");
}

TEST_F(DrawsServer, AStalledSiteIsGivenUpAtTheTimeLimit) {
    support::HttpOptions options = defaultDrawSources().http;
    options.totalTimeoutMs = 800;
    const auto page = fetchPage(url("/stall?bytes=10"), PageCharset::Gb2312, options);
    EXPECT_FALSE(page.ok());
    EXPECT_FALSE(test::detailOf(page).empty());
}

TEST_F(DrawsServer, APageDeclaringUtf8IsTakenAsUtf8WhenItIsSo) {
    const auto http = defaultDrawSources().http;
    const auto utf8 = fetchPage(url("/utf8.html"), PageCharset::Gb2312, http);
    ASSERT_TRUE(utf8.ok());
    EXPECT_NE(utf8->find("2024124期"), std::string::npos);
    const auto liar = fetchPage(url("/liar.html"), PageCharset::Gb2312, http);
    ASSERT_TRUE(liar.ok());
    EXPECT_NE(liar->find("<p>快</p>"), std::string::npos);
}

TEST_F(DrawsServer, TheContentTypeHeaderCanDeclareUtf8) {
    const auto http = defaultDrawSources().http;
    const auto declared =
        fetchPage(url("/damaged.html?type=text/html;%20charset=UTF-8"), PageCharset::Gb2312, http);
    ASSERT_TRUE(declared.ok());
    EXPECT_EQ(*declared, "<p>快\xEF\xBF\xBD乐</p>");
}

struct PageTextCase {
    const char* name;
    std::string bytes;
    std::string contentType;
    std::string text;
};

class PageTextTest : public ::testing::TestWithParam<PageTextCase> {};

TEST_P(PageTextTest, ReadsUtf8WhenThePageIsOrSaysSoAndGbOtherwise) {
    EXPECT_EQ(pageText(GetParam().bytes, GetParam().contentType), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageTextTest,
    ::testing::Values(
        // A site that moved to UTF-8 without saying so.
        PageTextCase{"ValidUtf8", "<p>快乐8</p>", "", "<p>快乐8</p>"},
        PageTextCase{"ValidUtf8LabelledGb", "<p>快乐8</p>", "text/html; charset=gb2312", "<p>快乐8</p>"},
        // Damaged UTF-8 that says it is UTF-8 loses one character per bad byte, not the page.
        PageTextCase{"DamagedHeader", "<p>\xE5\xBF\xAB\xFF</p>", "text/html; charset=\"UTF-8\"",
                     "<p>快\xEF\xBF\xBD</p>"},
        PageTextCase{"DamagedMeta", "<meta charset=utf8><p>\xE5\xBF\xAB\xFF</p>", "",
                     "<meta charset=utf8><p>快\xEF\xBF\xBD</p>"},
        // GB pages: unlabelled, labelled GB, and labelled UTF-8 wrongly.
        PageTextCase{"Gb", "<p>\xBF\xEC</p>", "", "<p>快</p>"},
        PageTextCase{"GbLabelled", "<p>\xBF\xEC</p>", "text/html;charset=GBK", "<p>快</p>"},
        PageTextCase{"GbLabelledUtf8", "<p>\xBF\xEC</p>", "text/html; charset=utf-8", "<p>快</p>"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(FetchPage, RefusesAnythingButHttpAndHttps) {
    for (const char* address : {"file:///etc/passwd", "ftp://127.0.0.1/", "gopher://x", "http://",
                                "https:///x", "http://127.0.0.1/a b", "", "127.0.0.1/page"}) {
        const auto page = fetchPage(address, PageCharset::Gb2312, defaultDrawSources().http);
        EXPECT_FALSE(page.ok()) << address;
        EXPECT_FALSE(isWebAddress(address)) << address;
    }
    EXPECT_TRUE(isWebAddress("HTTPS://127.0.0.1:8443/x?y=1"));
}

TEST_F(DrawsServer, ParsersReadTheDrawsThroughTheServer) {
    const DrawSources src = sources("/daily_gb2312.html", "/results_gb18030.html");
    const DrawResult daily = test::drawOf(parseDailyDraw(src));
    EXPECT_EQ(daily.issue, "2024123期");
    EXPECT_EQ(daily.mainNumbers, "0307111418222529313640444751586266707379");
    const DrawResult seven = test::drawOf(fetchLatestDraw(*lotteryByCode(106), src));
    EXPECT_EQ(seven.name, "七星彩");
    EXPECT_EQ(seven.mainNumbers + seven.extraNumbers, "1638029");
    EXPECT_EQ(test::drawOf(parseResultsRow(src, 1, 3, "red", "双色球")).extraNumbers, "12");
}

TEST_F(DrawsServer, NoPageIsAFetchErrorAndAnEmptyPageABodyError) {
    const FetchedDraw missing = parseDailyDraw(sources("/status/404", "/status/404"));
    EXPECT_EQ(test::failureOf(missing), DrawFailure::NoPage);
    EXPECT_EQ(test::detailOf(missing), "HTTP status 404");
    EXPECT_EQ(test::failureOf(parseResultsRow(sources("/x", "/status/503"), 1, 3, "red", "双色球")),
              DrawFailure::NoPage);
    const FetchedDraw empty = parseDailyDraw(sources("/empty.html", "/empty.html"));
    EXPECT_EQ(test::failureOf(empty), DrawFailure::PageRefused);
    EXPECT_EQ(test::detailOf(empty), "body error");
}

TEST(FetchPageTls, AnUntrustedCertificateGivesNoPage) {
    test::TempFolder dir;
    const auto certs = test::makeTestCertificates(dir.path());
    ASSERT_TRUE(certs.has_value());
    ASSERT_TRUE(test::writeFile(dir.file("daily_gb2312.html"), test::fixtureBytes("daily_gb2312.html")));
    const auto server = test::TestServer::start(dir.path(), &*certs);
    ASSERT_NE(server, nullptr);
    support::HttpOptions options = defaultDrawSources().http;
    const auto refused = fetchPage(server->url("/daily_gb2312.html"), PageCharset::Gb2312, options);
    EXPECT_FALSE(refused.ok());
    EXPECT_FALSE(test::detailOf(refused).empty());
    // The same server with its authority trusted: the refusal above was about trust alone.
    options.caFile = certs->caFile;
    EXPECT_TRUE(fetchPage(server->url("/daily_gb2312.html"), PageCharset::Gb2312, options).ok());
}

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun runDraws(const std::vector<std::string>& words) {
    std::ostringstream out;
    std::ostringstream err;
    std::vector<std::string> line{"draws"};
    line.insert(line.end(), words.begin(), words.end());
    const int status = cli::runCommandLine(line, out, err);
    return {status, out.str(), err.str()};
}

TEST_F(DrawsServer, CliPrintsTheDailyDraw) {
    const CliRun run = runDraws({"--url", url("/daily_gb2312.html")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "彩种: 快乐8 (100)\n"
                       "期号: 2024123期\n"
                       "日期: 2024-05-01\n"
                       "开奖号码: 0307111418222529313640444751586266707379\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(DrawsServer, CliPrintsAResultsRowAsJson) {
    const CliRun run = runDraws({"--code", "101", "--url", url("/results_gb18030.html"), "--json"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"code\":101,\"name\":\"双色球\",\"issue\":\"2024050期\",\"date\":\"2024-05-05\","
              "\"mainNumbers\":\"030914222731\",\"extraNumbers\":\"12\",\"numbersText\":\"03091422273112\","
              "\"status\":200}\n");
    const CliRun text = runDraws({"--code=104", "--url", url("/results_gb18030.html")});
    EXPECT_EQ(text.out,
              "彩种: 大乐透 (104)\n期号: 24049期\n日期: 2024-05-06\n开奖号码: 0513212833\n附加号码: 0411\n");
}

TEST_F(DrawsServer, CliFailsWithStatus1OnPagesWithoutADraw) {
    struct Case {
        std::string path;
        std::string message;
    };
    const std::vector<Case> cases{
        {"/status/404", "quenmar-cli: 无法获取开奖页面: HTTP status 404\n"},
        {"/empty.html", "quenmar-cli: 无法解析开奖页面 (body error)\n"},
        {"/nodraw.html", "quenmar-cli: 页面中没有找到快乐8的开奖号码\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = runDraws({"--url", url(c.path)});
        EXPECT_EQ(run.status, 1) << c.path;
        EXPECT_EQ(run.out, "") << c.path;
        EXPECT_EQ(run.err, c.message) << c.path;
    }
}

TEST_F(DrawsServer, ADrawThatBreaksItsLotterysRulesIsAFailedFetch) {
    const FetchedDraw ball = fetchLatestDraw(*lotteryByCode(100), sources("/ball99.html", "/x"));
    EXPECT_EQ(test::failureOf(ball), DrawFailure::NotADraw);
    const CliRun run = runDraws({"--code", "101", "--url", url("/noblue.html"), "--json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "quenmar-cli: 开奖页面上的数据不是一期开奖 (附加号码不是01至16之间的一个号码)\n");
}

TEST_F(DrawsServer, CliShowsThePagesTextEscaped) {
    // The page is read as UTF-8 with its header saying so; the stray byte becomes U+FFFD.
    const CliRun run = runDraws({"--url", url("/escape.html?type=text/html;charset=utf-8")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "彩种: 快乐8 (100)\n期号: 1\\x1b[2J期\n日期: \\x07d\xEF\xBF\xBD\n"
                       "开奖号码: 0102030405060708091011121314151617181920\n");
}

TEST(DrawsCli, BadOptionsExitWithStatus2) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--code", "107"}, "quenmar-cli: 彩种代码应为100到106之间的整数\n"},
        {{"--code", "10a"}, "quenmar-cli: 彩种代码应为100到106之间的整数\n"},
        {{"--code"}, "quenmar-cli: 选项 --code 缺少取值\n"},
        {{"--url", "file:///etc/passwd"}, "quenmar-cli: --url 应为 http:// 或 https:// 开头的网址\n"},
        {{"--verbose"}, "quenmar-cli: 未知选项: --verbose\n"},
        {{"extra"}, "quenmar-cli: 多余的参数: extra\n"},
    };
    for (const auto& [words, message] : cases) {
        const CliRun run = runDraws(words);
        EXPECT_EQ(run.status, 2) << words.front();
        EXPECT_EQ(run.err, message) << words.front();
        EXPECT_EQ(run.out, "");
    }
}

} // namespace
} // namespace quenmar::draws
