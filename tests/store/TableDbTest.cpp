#include "store/TableDb.h"

#include "BrokenHistory.h"
#include "Files.h"
#include "ReadOnlyFolder.h"
#include "TempFolder.h"
#include "store/RecordStore.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>

namespace quenmar::store {
namespace {

using test::ReadOnlyFolder;
using test::TempFolder;

// What an open gave, comparable in an assertion: nothing when it failed.
std::optional<OpenedFile> opened(const Result<OpenedFile, StoreError>& result) {
    return result ? std::optional<OpenedFile>(*result) : std::nullopt;
}

// Why a store operation failed; nothing when it succeeded.
template <typename T>
std::optional<StoreError> errorOf(const Result<T, StoreError>& result) {
    return result ? std::nullopt : std::optional(result.error());
}

std::filesystem::path dbFile(const TempFolder& root) {
    return root.path() / "src" / "data" / "wnx.db";
}

std::string schemaOf(const TableDb& db, const std::string& table) {
    Statement statement =
        db.prepare("SELECT sql FROM sqlite_master WHERE type='table' AND name='" + table + "';");
    return statement.step() == StepResult::Row ? statement.columnText(0) : "<none>";
}

int rowCount(const TableDb& db) {
    Statement statement = db.prepare("SELECT count(*) FROM wnx_table;");
    return statement.step() == StepResult::Row ? statement.columnInt(0) : -1;
}

YsModel sample(const std::string& title) {
    YsModel model;
    model.ysname = title;
    model.ysindex = 1;
    model.ysnumber = "123";
    model.ysday = 45415.5;
    model.gzsxid = 5;
    model.dong = {0, 0, 1, 0, 0, 0};
    return model;
}

TEST(TableDbTest, FirstStartCreatesTheFolderTheFileAndTheExactTable) {
    TempFolder root;
    TableDb db(root.path());
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(db.dbPath(), dbFile(root));
    EXPECT_TRUE(std::filesystem::is_regular_file(dbFile(root)));
    // SQLite keeps the statement's own text, without the final ";".
    EXPECT_EQ(schemaOf(db, "wnx_table"),
              "CREATE TABLE wnx_table (_id integer primary key autoincrement,ysname VARCHAR(255) NOT NULL,"
              "ysindex INT(4) DEFAULT 0,ysnumber VARCHAR(32) NOT NULL,ysday DOUBLE DEFAULT 0,gzsxid INT(4) "
              "DEFAULT 0,"
              "upstr VARCHAR(3) DEFAULT null,downstr VARCHAR(3) DEFAULT null,dong VARHCAR(18) NOT NULL,"
              "rot INT(1) DEFAULT 0,uinfo TEXT DEFAULT null)");
    // Nothing else: the autoincrement bookkeeping table is SQLite's own.
    Statement names = db.prepare("SELECT group_concat(name, ',') FROM sqlite_master;");
    ASSERT_EQ(names.step(), StepResult::Row);
    EXPECT_EQ(names.columnText(0), "wnx_table,sqlite_sequence");
}

TEST(TableDbTest, OpenDatabaseTellsCreatedFromExistingAndFailed) {
    TempFolder root;
    TableDb db;
    EXPECT_EQ(opened(db.openDatabase(root.path() / "new.db")), OpenedFile::Created);
    EXPECT_EQ(opened(db.openDatabase(root.path() / "new.db")), OpenedFile::Existing);
    EXPECT_TRUE(db.isOpen());
    test::writeFile(root.path() / "plain", "x");
    EXPECT_EQ(opened(db.openDatabase(root.path() / "plain" / "below.db")), std::nullopt);
    // A failed open keeps the connection that was there.
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(opened(db.openDatabase(root.path() / "missing" / "below.db")), std::nullopt);
}

TEST(TableDbTest, SecondStartKeepsTheRowsAndDoesNotRepairADroppedTable) {
    TempFolder root;
    {
        TableDb db(root.path());
        ASSERT_TRUE(saveRecord(db, sample("kept")));
    }
    {
        TableDb db(root.path());
        EXPECT_EQ(rowCount(db), 1);
        EXPECT_EQ(db.prepare("DROP TABLE wnx_table;").step(), StepResult::Done);
    }
    TableDb db(root.path());
    EXPECT_EQ(schemaOf(db, "wnx_table"), "<none>");
    EXPECT_FALSE(saveRecord(db, sample("lost")));
    EXPECT_EQ(errorOf(listRecords(db)), StoreError::MissingTable);
    EXPECT_EQ(errorOf(loadRecord(db, 1)), StoreError::MissingTable);
    EXPECT_FALSE(deleteRecord(db, 1));
    EXPECT_EQ(schemaOf(db, "wnx_table"), "<none>");
}

TEST(TableDbTest, AnEmptyFileLeftByAnInterruptedFirstStartGetsTheTable) {
    TempFolder root;
    std::filesystem::create_directories(dbFile(root).parent_path());
    test::writeFile(dbFile(root), "");
    TableDb db(root.path());
    EXPECT_TRUE(saveRecord(db, sample("first")));
    EXPECT_EQ(listRecords(db)->size(), 1u);
}

TEST(TableDbTest, AFileThatIsNotADatabaseIsLeftAlone) {
    TempFolder root;
    std::filesystem::create_directories(dbFile(root).parent_path());
    const std::string garbage(8192, '\x5a');
    test::writeFile(dbFile(root), garbage);
    {
        TableDb db(root.path());
        EXPECT_FALSE(saveRecord(db, sample("t")));
        EXPECT_EQ(errorOf(listRecords(db)), StoreError::NotADatabase);
        EXPECT_EQ(errorOf(loadRecord(db, 1)), StoreError::NotADatabase);
        EXPECT_FALSE(deleteRecord(db, 1));
    }
    EXPECT_EQ(test::readFile(dbFile(root)), garbage);
}

TEST(TableDbTest, AFolderWhereTheFileShouldBeFailsEveryOperation) {
    TempFolder root;
    std::filesystem::create_directories(dbFile(root));
    TableDb db(root.path());
    EXPECT_FALSE(saveRecord(db, sample("t")));
    EXPECT_EQ(errorOf(listRecords(db)), StoreError::NotADatabase);
    EXPECT_TRUE(std::filesystem::is_empty(dbFile(root)));
}

TEST(TableDbTest, ADataFolderThatCannotBeMadeFailsEveryOperation) {
    TempFolder base;
    test::writeFile(base.path() / "src", "a file where the folder should be");
    TableDb db(base.path());
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(saveRecord(db, sample("t")));
    EXPECT_EQ(errorOf(listRecords(db)), StoreError::OpenFailed);
    EXPECT_EQ(errorOf(loadRecord(db, 1)), StoreError::OpenFailed);
    EXPECT_FALSE(deleteRecord(db, 1));
}

TEST(TableDbTest, AReadOnlyDataFolderRefusesSavesButStillLists) {
    TempFolder root;
    {
        TableDb db(root.path());
        ASSERT_TRUE(saveRecord(db, sample("kept")));
    }
    const std::string before = test::readFile(dbFile(root)).value_or("");
    ReadOnlyFolder readOnly(dbFile(root).parent_path());
    if (!readOnly.active()) {
        GTEST_SKIP() << "this file system lets the current user write to any folder";
    }
    {
        // Without a journal beside it SQLite will not change the file.
        TableDb db(root.path());
        EXPECT_FALSE(saveRecord(db, sample("refused")));
        YsModel changed = **loadRecord(db, 1);
        changed.uinfo = "changed";
        EXPECT_FALSE(saveRecord(db, changed));
        const auto rows = *listRecords(db);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].text, "kept");
    }
    EXPECT_EQ(test::readFile(dbFile(root)), before);

    // Nor can a new database be made in such a folder.
    TableDb fresh;
    EXPECT_EQ(opened(fresh.openDatabase(dbFile(root).parent_path() / "other.db")), std::nullopt);
}

// The file-size limit stands in for a full disk: writes past it fail as they would on one.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(TableDbTest, AFullDiskFailsTheSaveAndKeepsEveryRow) {
    TempFolder root;
    TableDb db(root.path());
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(saveRecord(db, sample("row" + std::to_string(i))));
    }
    const auto size = std::filesystem::file_size(dbFile(root));
    YsModel big = sample("big");
    big.uinfo.assign(256 * 1024, 'n');
    {
        FileSizeLimit limit(size);
        EXPECT_FALSE(saveRecord(db, big));
    }
    EXPECT_EQ(rowCount(db), 3);
    Statement check = db.prepare("PRAGMA integrity_check;");
    ASSERT_EQ(check.step(), StepResult::Row);
    EXPECT_EQ(check.columnText(0), "ok");
    check.finalize();
    // With room again the same save goes through.
    EXPECT_TRUE(saveRecord(db, big));
    EXPECT_EQ(rowCount(db), 4);
}

TEST(TableDbTest, StatementsWithoutAConnectionFailQuietly) {
    TableDb db;
    Statement statement = db.prepare("SELECT 1;");
    EXPECT_FALSE(statement.isPrepared());
    statement.bindInt(1, 1);
    EXPECT_EQ(statement.step(), StepResult::Error);
    EXPECT_EQ(statement.columnInt(0), 0);
    EXPECT_EQ(statement.columnText(0), "");
    EXPECT_FALSE(db.listRows("wnx_table", {"_id", "ysname"}));
}

TEST(TableDbTest, AFailedBindStopsTheStatementFromRunning) {
    TempFolder root;
    TableDb db(root.path());
    Statement statement = db.prepare("INSERT INTO wnx_table (ysname,dong,ysnumber,uinfo) VALUES (?,?,?,?);");
    statement.bindText(1, "t");
    statement.bindText(2, "");
    statement.bindText(3, "1");
    statement.bindText(7, "no such parameter");
    EXPECT_EQ(statement.step(), StepResult::Error);
    EXPECT_EQ(rowCount(db), 0);
}

TEST(TableDbTest, ClosingAndReopeningKeepsWorking) {
    TempFolder root;
    TableDb db(root.path());
    ASSERT_TRUE(saveRecord(db, sample("a")));
    db.close();
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(saveRecord(db, sample("b")));
    EXPECT_EQ(opened(db.openDatabase(dbFile(root))), OpenedFile::Existing);
    EXPECT_TRUE(saveRecord(db, sample("c")));
    EXPECT_EQ(rowCount(db), 2);
}

struct DamageCase {
    const char* name;
    test::HistoryDamage damage;
    StoreError error;
    const char* message;
};

class UnreadableHistoryTest : public ::testing::TestWithParam<DamageCase> {};

// A history that cannot be read must never pass for an empty one: the list, the load and the
// delete say why, a save fails, and the file stays as it was.
TEST_P(UnreadableHistoryTest, IsAnErrorRatherThanAnEmptyHistory) {
    TempFolder root;
    test::writeBrokenHistory(root.path(), GetParam().damage);
    const auto before = test::readFile(dbFile(root));
    {
        TableDb db(root.path());
        EXPECT_EQ(errorOf(listRecords(db)), GetParam().error);
        EXPECT_EQ(errorOf(loadRecord(db, 1)), GetParam().error);
        EXPECT_EQ(errorOf(deleteRecords(db, {1, 2})), GetParam().error);
        EXPECT_EQ(saveMessage(saveRecord(db, sample("t"))), "保存失败");
        EXPECT_EQ(readErrorMessage(GetParam().error), GetParam().message);
    }
    EXPECT_EQ(test::readFile(dbFile(root)), before);
}

INSTANTIATE_TEST_SUITE_P(
    Damages, UnreadableHistoryTest,
    ::testing::Values(DamageCase{"Garbage", test::HistoryDamage::Garbage, StoreError::NotADatabase,
                                 "历史记录无法读取: 文件不是数据库或已损坏"},
                      DamageCase{"Truncated", test::HistoryDamage::Truncated, StoreError::NotADatabase,
                                 "历史记录无法读取: 文件不是数据库或已损坏"},
                      DamageCase{"Folder", test::HistoryDamage::Folder, StoreError::NotADatabase,
                                 "历史记录无法读取: 文件不是数据库或已损坏"},
                      DamageCase{"MissingColumn", test::HistoryDamage::MissingColumn,
                                 StoreError::MissingColumn, "历史记录无法读取: wnx_table 表缺少列"},
                      DamageCase{"MissingTable", test::HistoryDamage::MissingTable, StoreError::MissingTable,
                                 "历史记录无法读取: 数据库中没有 wnx_table 表"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(UnreadableHistory, ALockIsWaitedForUpToTheBusyWaitThenReportedAsBusy) {
    TempFolder root;
    test::writeHistory(root.path());
    test::HistoryLock lock(root.path());
    ASSERT_TRUE(lock.held());
    TableDb db(root.path());
    EXPECT_EQ(errorOf(listRecords(db)), StoreError::Busy);
    EXPECT_EQ(readErrorMessage(StoreError::Busy), "历史记录无法读取: 数据库文件被另一个程序锁定");
    // A writer that finishes within the wait is waited for.
    std::thread writer([&lock] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        lock.release();
    });
    const auto rows = listRecords(db);
    writer.join();
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->size(), 3u);
}

} // namespace
} // namespace quenmar::store
