#include "Files.h"
#include "JsonOutput.h"
#include "Programs.h"
#include "TempFolder.h"
#include "TestServer.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

// The kept draws through quenmar-cli as scripts use it: fetched pages, CSV files in and out,
// on a history of the test's own.
namespace quenmar::test {
namespace {

using Words = std::vector<std::string>;

const std::string kNumbers1 = "03 07 11 14 18 22 25 29 31 36 40 44 47 51 58 62 66 70 73 79";
const std::string kNumbers2 = "01 02 04 09 12 16 21 27 33 38 41 45 50 55 60 64 68 72 77 80";

// A daily-draw box as the results site writes it, numbers in one element each.
std::string box(const std::string& cls, const std::string& issue, const std::string& date,
                const std::string& numbers) {
    std::string balls;
    for (std::size_t i = 0; i + 1 < numbers.size(); i += 3) {
        balls += "<span class=ball>" + numbers.substr(i, 2) + "</span>";
    }
    return "<div class=\"" + cls + "\"><a href=\"/wnx/" + issue + "\"><span class=kaij-tit>" + issue +
           "期<em>" + date + "</em></span><div class=kaij-jg>" + balls + "</div></a></div>\n";
}

class KeptDrawsCliTest : public ::testing::Test {
protected:
    ProgramRun cli(const Words& args) { return runCli(args, {{"QUENMAR_HOME", m_home.path().string()}}); }

    // The kept draws as "code issue date numbers[+extra]" lines, newest first.
    std::string kept() {
        const ProgramRun exported = cli({"draws", "export"});
        EXPECT_EQ(exported.exitCode, 0) << exported.err;
        return exported.out;
    }

    TempFolder m_home;
    TempFolder m_files;
};

TEST_F(KeptDrawsCliTest, APageListingSeveralDrawsKeepsThemAllOnceAndNeverOverwritesOne) {
    const std::string page = "<html><head><meta charset=utf-8></head><body>" +
                             box("more-time-cont old", "2023001", "2023-01-01", kNumbers2) + // not a box
                             box("more-time-cont", "2024123", "2024-05-01", kNumbers1) +
                             box("more-time-cont", "2024122", "2024-04-30", kNumbers2) +
                             box("more-time-cont", "2024121", "2024-04-29", "") + // no numbers yet
                             "</body></html>";
    ASSERT_TRUE(writeFile(m_files.file("daily.html"), page));
    ASSERT_TRUE(
        writeFile(m_files.file("changed.html"),
                  "<meta charset=utf-8>" + box("more-time-cont", "2024123", "2024-05-01", kNumbers2)));
    const auto server = TestServer::start(m_files.path().string());
    ASSERT_NE(server, nullptr);

    for (int run = 0; run < 2; ++run) {
        const ProgramRun fetched = cli({"draws", "--url", server->url("/daily.html")});
        EXPECT_EQ(fetched.exitCode, 0) << fetched.err;
        EXPECT_EQ(fetched.out, "彩种: 快乐8 (100)\n期号: 2024123期\n日期: 2024-05-01\n开奖号码: "
                               "0307111418222529313640444751586266707379\n");
        EXPECT_EQ(fetched.err, "");
    }
    const std::string both = "code,issue,date,numbers\n100,2024123,2024-05-01," + kNumbers1 +
                             "\n100,2024122,2024-04-30," + kNumbers2 + "\n";
    EXPECT_EQ(kept(), both);
    const auto listed = parseJson(cli({"draws", "list", "--json"}).out);
    ASSERT_EQ(listed.size(), 2U);
    EXPECT_EQ(listed[0]["source"].asString(), server->url("/daily.html"));

    // The site now shows other numbers for 2024123: shown as fetched, said, and not kept.
    const ProgramRun changed = cli({"draws", "--url", server->url("/changed.html")});
    EXPECT_EQ(changed.exitCode, 0);
    EXPECT_NE(changed.out.find("0102040912"), std::string::npos);
    EXPECT_EQ(changed.err, "quenmar-cli: 第2024123期快乐8开奖与已保存的不同, 保留已保存的.\n");
    EXPECT_EQ(kept(), both);
}

TEST_F(KeptDrawsCliTest, ImportsAndExportsCsvAndABadRowKeepsNothingOfItsFile) {
    const std::string good = "\xEF\xBB\xBF"
                             "code,issue,date,numbers\r\n"
                             "101,2024050,2024-05-05,03 09 14 22 27 31 + 12\r\n"
                             "\r\n"
                             "100,2024123,2024-05-01," +
                             kNumbers1 + "\r\n";
    ASSERT_TRUE(writeFile(m_files.file("good.csv"), good));
    ProgramRun imported = cli({"draws", "import", m_files.file("good.csv")});
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.err, "已导入2期开奖\n");
    const std::string exported = "code,issue,date,numbers\n101,2024050,2024-05-05,03 09 14 22 27 31+12\n"
                                 "100,2024123,2024-05-01," +
                                 kNumbers1 + "\n";
    EXPECT_EQ(kept(), exported);
    EXPECT_EQ(cli({"draws", "export", "--code", "101"}).out,
              "code,issue,date,numbers\n101,2024050,2024-05-05,03 09 14 22 27 31+12\n");
    // What export wrote imports again as the same draws.
    ASSERT_TRUE(writeFile(m_files.file("again.csv"), exported));
    EXPECT_EQ(cli({"draws", "import", m_files.file("again.csv")}).err, "已导入0期开奖 (另有2期此前已保存)\n");

    // Each file starts with a good new row; its bad row must take that one down with it.
    const std::string header = "code,issue,date,numbers\n";
    const std::string fresh = "100,2024124,2024-05-02," + kNumbers2 + "\n";
    struct Case {
        std::string rows;
        std::string message;
    };
    const std::vector<Case> cases{
        {"code;issue;date;numbers\n", "第1行: 第一行应为 code,issue,date,numbers"},
        {header + fresh + "107,2024125,2024-05-03," + kNumbers1, "第3行: 彩种代码应为100到106之间的整数"},
        {header + fresh + "100,2024x,2024-05-03," + kNumbers1, "第3行: 期号应为数字 (至多32位)"},
        {header + fresh + "100,2024125,2024-02-30," + kNumbers1, "第3行: 日期应为 YYYY-MM-DD"},
        {header + fresh + "100,2024125,2024-05-03,3 7 11",
         "第3行: 号码应为以空格分隔的两位数字, 附加号码在 \"+\" 之后"},
        {header + fresh + "100,2024125,2024-05-03", "第3行: 应有4列 (code,issue,date,numbers)"},
        {header + fresh + "100,2024125,2024-05-03," + kNumbers1.substr(3),
         "第3行: 不是一期快乐8开奖 (主号码不是01至80之间的20个不同号码)"},
        {header + fresh + "101,2024001,2024-01-02,01 02 03 04 05 06+17",
         "第3行: 不是一期双色球开奖 (附加号码不是01至16之间的一个号码)"},
        {header + fresh + "100,2024123,2024-05-01," + kNumbers2,
         "第3行: 第2024123期与已有的同期开奖不同 (100,2024123,2024-05-01," + kNumbers1 + "), 不会覆盖"},
        {header + fresh + "100,2024124,2024-05-02," + kNumbers1,
         "第3行: 第2024124期与已有的同期开奖不同 (100,2024124,2024-05-02," + kNumbers2 + "), 不会覆盖"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(writeFile(m_files.file("bad.csv"), c.rows));
        const ProgramRun refused = cli({"draws", "import", m_files.file("bad.csv")});
        EXPECT_EQ(refused.exitCode, 1) << c.message;
        EXPECT_EQ(refused.err, "quenmar-cli: " + c.message + ", 文件中的开奖均未保存\n");
        EXPECT_EQ(kept(), exported) << c.message;
    }
}

std::string twoDigit(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

// The text form says what the JSON form holds: here a record whose first bet hits all ten (the
// draw is made from it), one saved after 22:00 the day before nothing is kept, and the summary.
TEST_F(KeptDrawsCliTest, HistoryCheckWritesEachBetsHitsAndPrizeThenTheSummary) {
    const auto cast = [](const char* moment, const char* title) {
        return Words{"cast", "--method", "number",   "--number", "38",     "--zodiac",
                     "1",    "--json",   "--moment", moment,     "--save", title};
    };
    const auto saved = parseJson(cli(cast("2024-05-01 10:00:00", "早")).out)["picks"];
    ASSERT_EQ(cli(cast("2024-05-01 22:00:00", "晚")).exitCode, 0);
    const std::string numbers = saved[0].asString();
    std::vector<int> draw;
    for (std::size_t i = 0; i < numbers.size(); i += 3) {
        draw.push_back(std::stoi(numbers.substr(i, 2)));
    }
    for (int n = 1; draw.size() < 20; ++n) {
        if (std::find(draw.begin(), draw.end(), n) == draw.end()) {
            draw.push_back(n);
        }
    }
    std::string line = "100,2024122,2024-05-01,";
    for (std::size_t i = 0; i < draw.size(); ++i) {
        line.append(i == 0 ? "" : " ").append(twoDigit(draw[i]));
    }
    ASSERT_TRUE(writeFile(m_files.file("one.csv"), "code,issue,date,numbers\n" + line + "\n"));
    ASSERT_EQ(cli({"draws", "import", m_files.file("one.csv")}).exitCode, 0);

    const ProgramRun text = cli({"history", "check"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    const auto json = parseJson(cli({"history", "check", "--json"}).out);
    const char* const labels[] = {"一注", "二注", "三注", "四注", "五注",
                                  "六注", "七注", "八注", "九注", "十注"};
    std::string expected = "记录 2: 晚(2024年5月1日22时)\n开奖期号: 未开奖\n\n记录 1: 早(2024年5月1日10时)\n"
                           "开奖期号: 2024122 (2024-05-01)\n";
    const auto twoDigits = [](const Json::Value& list) {
        std::string out;
        for (const auto& n : list) {
            out.append(out.empty() ? "" : ",").append(twoDigit(n.asInt()));
        }
        return out;
    };
    for (Json::ArrayIndex bet = 0; bet < 10; ++bet) {
        const Json::Value& b = json["records"][1]["bets"][bet];
        EXPECT_EQ(twoDigits(b["numbers"]), saved[bet].asString());
        expected += std::string(labels[bet]) + ": " + twoDigits(b["numbers"]) + "  中" +
                    std::to_string(b["hitCount"].asInt()) + "个" +
                    (b["hits"].empty() ? "" : ": " + twoDigits(b["hits"])) + "  奖金: " +
                    (b["floating"].asBool() ? "浮动" : std::to_string(b["prize"].asInt()) + "元") + "\n";
    }
    EXPECT_EQ(json["records"][1]["bets"][0]["hitCount"].asInt(), 10);
    expected +=
        "预选20码: 中" + std::to_string(json["records"][1]["preselection"]["hitCount"].asInt()) + "个\n\n";
    expected += "汇总: 10注 (1条记录已开奖, 1条未开奖)\n中奖个数\t注数\t随机期望\n";
    ASSERT_EQ(text.out.substr(0, expected.size()), expected);
    EXPECT_NE(text.out.find("\n10个\t1\t0.00\n投注: 20元  奖金: "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find(" (另有1注浮动奖金)\n推演号码仅供娱乐: 开奖号码是随机的, 任何推算都不能预知.\n"),
              std::string::npos);
}

} // namespace
} // namespace quenmar::test
