#include "BrokenHistory.h"
#include "Files.h"
#include "Programs.h"
#include "ReadOnlyFolder.h"
#include "TempFolder.h"
#include "base/Utf8.h"

#include <gtest/gtest.h>

// quenmar-cli's history as scripts use it: the built program against a data folder of the
// test's own, with the file read back by the independent sqlite3 client.
namespace quenmar::test {
namespace {

using Words = std::vector<std::string>;

const Words kNumberCast{"cast",     "--method", "number",   "--number",           "123",
                        "--zodiac", "5",        "--moment", "2024-05-03 14:00:00"};
const Words kMsCast{
    "cast", "--time", "current", "--method", "ms", "--zodiac", "3", "--moment", "2024-05-03 14:05:30.123"};

const char* const kSchema =
    "CREATE TABLE wnx_table (_id integer primary key autoincrement,ysname VARCHAR(255) NOT NULL,"
    "ysindex INT(4) DEFAULT 0,ysnumber VARCHAR(32) NOT NULL,ysday DOUBLE DEFAULT 0,gzsxid INT(4) DEFAULT 0,"
    "upstr VARCHAR(3) DEFAULT null,downstr VARCHAR(3) DEFAULT null,dong VARHCAR(18) NOT NULL,"
    "rot INT(1) DEFAULT 0,uinfo TEXT DEFAULT null)";

Words operator+(Words a, const Words& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

ProgramRun runProgramAt(const std::filesystem::path& program, const Words& args,
                        const Environment& environment = {}) {
    return runProgram(Words{program.string()} + args, environment);
}

class HistoryCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(cliPath())) << "QUENMAR_BIN_DIR must name the build";
    }

    static std::filesystem::path cliPath() { return binFolder() / "quenmar-cli"; }

    ProgramRun cli(const Words& args) {
        return runProgramAt(cliPath(), args, {{"QUENMAR_HOME", m_home.path().string()}});
    }

    std::filesystem::path dataFolder() const { return m_home.path() / "src" / "data"; }
    std::filesystem::path dbFile() const { return dataFolder() / "wnx.db"; }

    // The sqlite3 command-line client on the same file: what any other reader sees.
    std::string sqlite(const std::string& sql) {
        const ProgramRun result = runProgram({"sqlite3", "-batch", dbFile().string(), sql});
        EXPECT_EQ(result.exitCode, 0)
            << "the sqlite3 client is one of the Debian packages the build needs; " << result.err;
        return result.out;
    }

    TempFolder m_home;
};

TEST_F(HistoryCliTest, SavesListsShowsReviewsAndDeletesOnOneFile) {
    const ProgramRun plain = cli(kNumberCast);
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    const ProgramRun saved = cli(kNumberCast + Words{"--save", "abc", "--notes", "第一条"});
    EXPECT_EQ(saved.exitCode, 0);
    EXPECT_EQ(saved.err, "保存成功\n");
    EXPECT_EQ(saved.out, plain.out);
    const ProgramRun ms = cli(kMsCast + Words{"--save", "毫秒"});
    ASSERT_EQ(ms.exitCode, 0) << ms.err;

    EXPECT_EQ(sqlite("SELECT sql FROM sqlite_master WHERE name='wnx_table';"), std::string(kSchema) + "\n");
    EXPECT_EQ(
        sqlite("SELECT _id,ysname,ysindex,ysnumber,printf('%.6f',ysday),gzsxid,quote(upstr),quote(downstr),"
               "dong,rot,quote(uinfo),typeof(ysday) FROM wnx_table ORDER BY _id;"),
        "1|abc(2024年5月3日14时)|1|123|45415.583333|5|''|''|0,0,-1,0,0,0|0|'第一条'|real\n"
        "2|毫秒(2024年5月3日14时5分30秒)|3|1714716330123|45415.587154|3|''|''|0,0,0,0,0,1|1|''|real\n");

    ProgramRun list = cli({"history", "list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "2\t毫秒(2024年5月3日14时5分30秒)\n1\tabc(2024年5月3日14时)\n");
    list = cli({"history", "list", "--json"});
    EXPECT_EQ(list.out, "[{\"_id\":2,\"ysname\":\"毫秒(2024年5月3日14时5分30秒)\"},"
                        "{\"_id\":1,\"ysname\":\"abc(2024年5月3日14时)\"}]\n");

    ProgramRun show = cli({"history", "show", "1"});
    EXPECT_EQ(show.exitCode, 0);
    EXPECT_EQ(show.out,
              "_id: 1\nysname: abc(2024年5月3日14时)\nysindex: 1\nysnumber: 123\n"
              "ysday: 45415.583333333336\ngzsxid: 5\nupstr: \ndownstr: \ndong: 0,0,-1,0,0,0\nrot: 0\n"
              "uinfo: 第一条\n");
    show = cli({"history", "show", "2", "--json"});
    EXPECT_EQ(show.out,
              "{\"_id\":2,\"ysname\":\"毫秒(2024年5月3日14时5分30秒)\",\"ysindex\":3,"
              "\"ysnumber\":\"1714716330123\",\"ysday\":45415.58715420139,\"gzsxid\":3,\"upstr\":\"\","
              "\"downstr\":\"\",\"dong\":\"0,0,0,0,0,1\",\"rot\":1,\"uinfo\":\"\"}\n");

    // By number a review takes the moment it runs at; by milliseconds the stored one.
    const Words later{"--moment", "2025-01-01 12:00:00"};
    const ProgramRun reviewNumber = cli(Words{"history", "review", "1"} + later);
    EXPECT_EQ(reviewNumber.exitCode, 0) << reviewNumber.err;
    EXPECT_EQ(reviewNumber.out, cli(Words(kNumberCast.begin(), kNumberCast.end() - 2) + later).out);
    const ProgramRun reviewMs = cli(Words{"history", "review", "2", "--json"} + later);
    EXPECT_EQ(reviewMs.exitCode, 0) << reviewMs.err;
    EXPECT_EQ(reviewMs.out, cli(kMsCast + Words{"--json"}).out);
    EXPECT_EQ(cli({"history", "review", "2"}).out, ms.out);

    const ProgramRun removed = cli({"history", "delete", "1", "99"});
    EXPECT_EQ(removed.exitCode, 1);
    EXPECT_EQ(removed.err, "quenmar-cli: 未找到记录 99\n");
    EXPECT_EQ(sqlite("SELECT group_concat(_id) FROM wnx_table;"), "2\n");
    for (const char* command : {"show", "review"}) {
        const ProgramRun gone = cli({"history", command, "1"});
        EXPECT_EQ(gone.exitCode, 1) << command;
        EXPECT_EQ(gone.err, "quenmar-cli: 未找到记录 1\n") << command;
        EXPECT_EQ(gone.out, "") << command;
    }
    EXPECT_EQ(cli({"history", "delete", "2", "2"}).exitCode, 0);
    EXPECT_EQ(cli({"history", "list", "--json"}).out, "[]\n");
}

struct BadInput {
    Words args;
    std::string err;
};

TEST_F(HistoryCliTest, RefusesBadInputBeforeTouchingTheDatabase) {
    const std::vector<BadInput> cases{
        {{"history"}, "缺少 history 子命令 (list、show、review、delete 或 check)"},
        {{"history", "purge"}, "未知的 history 子命令: purge (应为 list、show、review、delete 或 check)"},
        {{"history", "list", "extra"}, "多余的参数: extra"},
        {{"history", "list", "--moment", "x"}, "未知选项: --moment"},
        {{"history", "show"}, "缺少记录编号"},
        {{"history", "show", "1", "2"}, "多余的参数: 2"},
        {{"history", "review", "1", "--moment", "2024-13-01 00:00:00"},
         "时间格式应为 \"YYYY-MM-DD HH:MM:SS[.mmm]\""},
        {{"history", "review", "1", "--json=1"}, "未知选项: --json"},
        {{"history", "delete"}, "缺少记录编号"},
        {kNumberCast + Words{"--notes", "n"}, "--notes 只能与 --save 一起使用"},
        {kNumberCast + Words{"--save", " \t"}, "请输入保存的标题,标题将自动加上日期"},
        {Words{"cast", "--method", "number", "--zodiac", "5", "--save", "t"}, "未输入推算数字"},
    };
    for (const BadInput& c : cases) {
        const ProgramRun result = cli(c.args);
        EXPECT_EQ(result.exitCode, 2) << c.err;
        EXPECT_EQ(result.err, "quenmar-cli: " + c.err + "\n");
        EXPECT_EQ(result.out, "") << c.err;
    }
    EXPECT_FALSE(std::filesystem::exists(m_home.path() / "src"));
}

TEST_F(HistoryCliTest, AFileThatIsNotADatabaseFailsTheSaveAndStaysAsItWas) {
    std::filesystem::create_directories(dataFolder());
    const std::string garbage = "not a database\n" + std::string(5000, '#');
    writeFile(dbFile(), garbage);

    const ProgramRun saved = cli(kNumberCast + Words{"--save", "abc"});
    EXPECT_EQ(saved.exitCode, 1);
    EXPECT_EQ(saved.err, "保存失败\n");
    EXPECT_EQ(saved.out, cli(kNumberCast).out); // the chart is still shown
    const ProgramRun list = cli({"history", "list"});
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_EQ(list.out, "");
    EXPECT_EQ(cli({"history", "show", "1"}).err, "quenmar-cli: 历史记录无法读取: 文件不是数据库或已损坏\n");
    EXPECT_EQ(cli({"history", "delete", "1"}).exitCode, 1);
    EXPECT_EQ(readFile(dbFile()), garbage);
}

TEST_F(HistoryCliTest, AReadOnlyDataFolderFailsSavesAndDeletesButStillLists) {
    ASSERT_EQ(cli(kNumberCast + Words{"--save", "abc"}).exitCode, 0);
    const std::string before = readFile(dbFile()).value_or("");
    {
        ReadOnlyFolder readOnly(dataFolder());
        if (!readOnly.active()) {
            GTEST_SKIP() << "this file system lets the current user write to any folder";
        }
        const ProgramRun saved = cli(kNumberCast + Words{"--save", "more"});
        EXPECT_EQ(saved.exitCode, 1);
        EXPECT_EQ(saved.err, "保存失败\n");
        const ProgramRun removed = cli({"history", "delete", "1"});
        EXPECT_EQ(removed.exitCode, 1);
        EXPECT_EQ(removed.err, "quenmar-cli: 删除失败: 记录 1\n");
        EXPECT_EQ(cli({"history", "list"}).out, "1\tabc(2024年5月3日14时)\n");
        EXPECT_EQ(cli({"history", "review", "1"}).exitCode, 0);
    }
    EXPECT_EQ(readFile(dbFile()), before);
}

TEST_F(HistoryCliTest, HandEditedRecordsAreRefusedOrRepairedAsTheInputPanelWould) {
    ASSERT_EQ(cli({"history", "list"}).exitCode, 0); // creates the file as a first start does
    sqlite("INSERT INTO wnx_table (_id,ysname,ysindex,ysnumber,ysday,gzsxid,upstr,downstr,dong,rot) VALUES "
           "(1,'a',2,'',45000,1,'1','000','0,0,0,0,0,0',0),"
           "(2,'b',1,'',45000,1,'','','',0),"
           "(3,'c',1,'5',45000,13,'','','',0),"
           "(4,'d',3,'123',45000,1,'','','',0),"
           "(5,'e',2,'',1e300,1,'111','000','0,0,0,0,0,0',0),"
           "(6,'f',9,'5',45000,1,'','','',0),"
           "(7,'g',3,'',45000,1,'','','',1),"
           "(8,CAST(X'41FF42' AS TEXT),2,'',45000,4,'111','100','1, -1',0);");
    const std::vector<std::pair<std::string, std::string>> refused{
        {"1", "未装好线下卦"},   {"2", "未输入推算数字"}, {"3", "未选择卦主生肖"}, {"4", "未选择推演时间"},
        {"5", "记录的时间无效"}, {"6", "未选择推算条件"}, {"7", "未输入推算数字"},
    };
    for (const auto& [id, message] : refused) {
        const ProgramRun result = cli({"history", "review", id});
        EXPECT_EQ(result.exitCode, 1) << id;
        EXPECT_EQ(result.err, "quenmar-cli: 记录 " + id + " 无法复盘: " + message + "\n");
        EXPECT_EQ(result.out, "") << id;
    }
    // Two flags stand for six, the missing ones still; the result is the same as typing them.
    const ProgramRun padded = cli({"history", "review", "8"});
    EXPECT_EQ(padded.exitCode, 0) << padded.err;
    EXPECT_EQ(padded.out, cli({"cast", "--method", "hand", "--lines", "968777", "--zodiac", "4", "--moment",
                               "2023-03-15 00:00:00"})
                              .out);
    // A title that is not UTF-8 still gives valid JSON.
    EXPECT_NE(cli({"history", "show", "8", "--json"})
                  .out.find("\"ysname\":\"A\xEF\xBF\xBD"
                            "B\","),
              std::string::npos);
}

TEST_F(HistoryCliTest, ReadsTheFileAnEarlierVersionWrote) {
    std::filesystem::create_directories(dataFolder());
    std::filesystem::copy_file(testDataFolder() / "store" / "history-v1.db", dbFile());
    EXPECT_EQ(cli({"history", "list"}).out, "5\t开奖(2024年5月3日21时30分)\n3\t自己装卦(2024年5月3日)\n"
                                            "2\t毫秒(2024年5月3日14时5分30秒)\n1\tabc(2024年5月3日14时)\n");
    EXPECT_EQ(cli({"history", "review", "2"}).out, cli(kMsCast).out);
    EXPECT_EQ(cli({"history", "review", "3"}).out, cli({"cast", "--method", "hand", "--lines", "978687",
                                                        "--zodiac", "12", "--moment", "2024-05-03 00:00:00"})
                                                       .out);
    EXPECT_EQ(cli({"history", "show", "3"}).out,
              "_id: 3\nysname: 自己装卦(2024年5月3日)\nysindex: 2\nysnumber: \n"
              "ysday: 45415\ngzsxid: 12\nupstr: 001\ndownstr: 110\n"
              "dong: 1,0,0,-1,0,0\nrot: 0\nuinfo: 两行\\n备注\n");
    ASSERT_EQ(cli(kNumberCast + Words{"--save", "new"}).exitCode, 0);
    EXPECT_EQ(cli({"history", "list"}).out.substr(0, 2), "6\t");
}

struct DamageCase {
    const char* name;
    HistoryDamage damage;
    const char* reason;
};

class UnreadableHistoryCliTest : public HistoryCliTest, public ::testing::WithParamInterface<DamageCase> {};

// Every command that reads the history says in one line that it cannot, exits 1 and leaves
// the file as it was; a save says only that it failed.
TEST_P(UnreadableHistoryCliTest, SaysSoInOneLineAndExitsOne) {
    writeBrokenHistory(m_home.path(), GetParam().damage);
    const auto before = readFile(dbFile());
    const std::string message = "quenmar-cli: 历史记录无法读取: " + std::string(GetParam().reason) + "\n";
    for (const Words& command :
         {Words{"history", "list"}, Words{"history", "list", "--json"}, Words{"history", "show", "1"},
          Words{"history", "review", "1"}, Words{"history", "delete", "1", "2"}, Words{"history", "check"},
          Words{"history", "check", "1", "--json"}}) {
        const ProgramRun result = cli(command);
        EXPECT_EQ(result.exitCode, 1) << command[1];
        EXPECT_EQ(result.err, message) << command[1];
        EXPECT_EQ(result.out, "") << command[1];
    }
    EXPECT_EQ(cli(kNumberCast + Words{"--save", "t"}).err, "保存失败\n");
    EXPECT_EQ(readFile(dbFile()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Damages, UnreadableHistoryCliTest,
    ::testing::Values(DamageCase{"Garbage", HistoryDamage::Garbage, "文件不是数据库或已损坏"},
                      DamageCase{"Truncated", HistoryDamage::Truncated, "文件不是数据库或已损坏"},
                      DamageCase{"Folder", HistoryDamage::Folder, "文件不是数据库或已损坏"},
                      DamageCase{"MissingColumn", HistoryDamage::MissingColumn, "wnx_table 表缺少列"},
                      DamageCase{"MissingTable", HistoryDamage::MissingTable, "数据库中没有 wnx_table 表"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(HistoryCliTest, ALockHeldByAnotherProgramIsSaidAfterTheBusyWait) {
    writeHistory(m_home.path());
    {
        HistoryLock lock(m_home.path());
        ASSERT_TRUE(lock.held());
        for (const Words& command : {Words{"history", "list"}, Words{"history", "delete", "1"}}) {
            const ProgramRun result = cli(command);
            EXPECT_EQ(result.exitCode, 1) << command[1];
            EXPECT_EQ(result.err, "quenmar-cli: 历史记录无法读取: 数据库文件被另一个程序锁定\n")
                << command[1];
        }
    }
    EXPECT_EQ(sqlite("SELECT count(*) FROM wnx_table;"), "3\n");
}

// No record has an id below 1 or one that is no number: such an id is not found, like any
// other that is not there.
TEST_F(HistoryCliTest, IdsThatNoRecordCanHaveAreNotFound) {
    writeHistory(m_home.path());
    const std::vector<std::pair<Words, std::string>> cases{
        {{"history", "show", "0"}, "未找到记录 0\n"},
        {{"history", "show", "-1"}, "未找到记录 -1\n"},
        {{"history", "show", "1x"}, "未找到记录 1x\n"},
        {{"history", "show", "--json", "0"}, "未找到记录 0\n"},
        {{"history", "review", "0"}, "未找到记录 0\n"},
        {{"history", "check", "0"}, "未找到记录 0\n"},
        {{"history", "check", "1", "x"}, "未找到记录 x\n"},
        {{"history", "review", "99999999999"}, "未找到记录 99999999999\n"},
        {{"history", "delete", "0", "-", "+2"},
         "未找到记录 0\nquenmar-cli: 未找到记录 -\nquenmar-cli: 未找到记录 +2\n"},
    };
    for (const auto& [command, err] : cases) {
        const ProgramRun result = cli(command);
        EXPECT_EQ(result.exitCode, 1) << command.back();
        EXPECT_EQ(result.err, "quenmar-cli: " + err) << command.back();
        EXPECT_EQ(result.out, "") << command.back();
    }
    // The other ids of a delete still go.
    const ProgramRun mixed = cli({"history", "delete", "1", "1x", "1"});
    EXPECT_EQ(mixed.exitCode, 1);
    EXPECT_EQ(mixed.err, "quenmar-cli: 未找到记录 1x\n");
    EXPECT_EQ(sqlite("SELECT group_concat(_id) FROM wnx_table;"), "2,3\n");
}

TEST_F(HistoryCliTest, DeletingManyIdsIsOneTransaction) {
    writeHistory(m_home.path(), 1999);
    Words command{"history", "delete"};
    for (int id = 1; id <= 1999; ++id) {
        command.push_back(std::to_string(id));
    }
    // A row that will not go (a trigger stands for a full disk) keeps every row.
    sqlite("CREATE TRIGGER keep BEFORE DELETE ON wnx_table WHEN old._id = 3 BEGIN SELECT RAISE(ABORT, 'k'); "
           "END;");
    const ProgramRun refused = cli({"history", "delete", "1", "3", "5"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "quenmar-cli: 删除失败: 记录 1 3 5\n");
    EXPECT_EQ(sqlite("SELECT count(*) FROM wnx_table;"), "1999\n");
    sqlite("DROP TRIGGER keep;");
    const ProgramRun removed = cli(command + Words{"5000"});
    EXPECT_EQ(removed.exitCode, 1);
    EXPECT_EQ(removed.err, "quenmar-cli: 未找到记录 5000\n");
    EXPECT_EQ(sqlite("SELECT count(*) FROM wnx_table;"), "0\n");
}

// What an editor or another program put into the file reaches the terminal as text only,
// and JSON as valid UTF-8.
TEST_F(HistoryCliTest, StoredTextIsShownEscapedAndJsonStaysUtf8) {
    ASSERT_EQ(cli({"history", "list"}).exitCode, 0);
    sqlite("INSERT INTO wnx_table (_id,ysname,ysindex,ysnumber,ysday,gzsxid,upstr,downstr,dong,rot,uinfo) "
           "VALUES "
           "(1,'a' || char(27) || '[2J' || char(13) || char(10) || '2' || char(9) || 'forged',1,"
           "CAST(X'3132FF' AS TEXT),45000,1,'','','',0,char(7) || CAST(X'FE' AS TEXT)),"
           "(2,'b',1,'5',45000,1,'','','',0,'');");
    EXPECT_EQ(cli({"history", "list"}).out, "2\tb\n1\ta\\x1b[2J\\r\\n2\\tforged\n");
    const std::string shown = cli({"history", "show", "1"}).out;
    EXPECT_NE(shown.find("ysname: a\\x1b[2J\\r\\n2\\tforged\nysindex: 1\nysnumber: 12\\xff\n"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("uinfo: \\x07\\xfe\n"), std::string::npos) << shown;
    // The number text of the record is cast as the number method reads it (the stray byte
    // counts 0); the title that shows it is escaped, and the JSON holds U+FFFD in its place.
    const ProgramRun review = cli({"history", "review", "1"});
    EXPECT_EQ(review.exitCode, 0) << review.err;
    EXPECT_EQ(review.out.find('\xff'), std::string::npos);
    for (const Words& json :
         {Words{"history", "review", "1", "--json"}, Words{"history", "show", "1", "--json"}}) {
        const ProgramRun result = cli(json);
        EXPECT_TRUE(utf8::isValid(result.out)) << json[1];
        EXPECT_NE(result.out.find("12\xEF\xBF\xBD"), std::string::npos) << json[1];
    }
    EXPECT_NE(cli({"history", "list", "--json"}).out.find(R"("a\u001b[2J\r\n2\tforged")"), std::string::npos);
    // An echoed argument cannot clear the screen either, and the message keeps one line.
    EXPECT_EQ(
        cli({"history", "purge\x1b[2J\n"}).err,
        "quenmar-cli: 未知的 history 子命令: purge\\x1b[2J\\n (应为 list、show、review、delete 或 check)\n");
}

// Without QUENMAR_HOME the files lie beside the program, or beneath the user's data folder
// when the program's folder cannot be written.
TEST(HistoryCliLocationTest, TheDatabaseLiesBesideTheProgramOrWithTheUser) {
    TempFolder base;
    const auto program = base.path() / "program";
    const auto xdg = base.path() / "xdg";
    std::filesystem::create_directories(program);
    std::filesystem::copy_file(binFolder() / "quenmar-cli", program / "quenmar-cli");
    const Environment env{{"QUENMAR_HOME", ""}, {"XDG_DATA_HOME", xdg.string()}};

    ProgramRun saved = runProgramAt(program / "quenmar-cli", kNumberCast + Words{"--save", "beside"}, env);
    EXPECT_EQ(saved.err, "保存成功\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(program / "src" / "data" / "wnx.db"));
    EXPECT_FALSE(std::filesystem::exists(xdg));

    ReadOnlyFolder readOnly(program);
    if (!readOnly.active()) {
        GTEST_SKIP() << "this file system lets the current user write to any folder";
    }
    saved = runProgramAt(program / "quenmar-cli", kNumberCast + Words{"--save", "user"}, env);
    EXPECT_EQ(saved.err, "保存成功\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(xdg / "Quenmar" / "src" / "data" / "wnx.db"));
    EXPECT_EQ(runProgramAt(program / "quenmar-cli", {"history", "list"}, env).out,
              "1\tuser(2024年5月3日14时)\n");
}

} // namespace
} // namespace quenmar::test
