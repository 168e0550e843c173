#include "store/RecordStore.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace quenmar::store {
namespace {

using test::TempFolder;

class RecordStoreTest : public ::testing::Test {
protected:
    TempFolder m_root;
    TableDb m_db{m_root.path()};

    std::string columnText(const std::string& column, int id) {
        Statement statement =
            m_db.prepare("SELECT " + column + " FROM wnx_table WHERE _id=" + std::to_string(id) + ";");
        return statement.step() == StepResult::Row ? statement.columnText(0) : "<no row>";
    }

    bool exec(const std::string& sql) { return m_db.prepare(sql).step() == StepResult::Done; }

    int rowCount() {
        Statement statement = m_db.prepare("SELECT count(*) FROM wnx_table;");
        return statement.step() == StepResult::Row ? statement.columnInt(0) : -1;
    }
};

YsModel fullModel() {
    YsModel model;
    model.ysname = "标题(2024年5月3日14时5分30秒)";
    model.ysindex = 2;
    model.ysnumber = "";
    model.ysday = 45415.587152777777;
    model.gzsxid = 12;
    model.upstr = "101";
    model.downstr = "001";
    model.dong = {0, 0, 1, 0, -1, 0};
    model.rot = 1;
    model.uinfo = std::string("备注\n带一个") + std::string(1, '\0') + "字节";
    return model;
}

TEST_F(RecordStoreTest, SaveThenLoadGivesTheSameRecordWithItsId) {
    ASSERT_TRUE(saveRecord(m_db, fullModel()));
    YsModel expected = fullModel();
    expected._id = 1;
    EXPECT_EQ(*loadRecord(m_db, 1), expected);
    // The file holds the flags as comma text, exactly.
    EXPECT_EQ(columnText("dong", 1), "0,0,1,0,-1,0");
    EXPECT_EQ(columnText("typeof(ysday)", 1), "real");
    EXPECT_EQ(columnText("typeof(upstr)", 1), "text");
}

TEST_F(RecordStoreTest, EverySaveAddsARowAndTheListIsNewestFirst) {
    YsModel model = fullModel();
    model.ysname = "same";
    ASSERT_TRUE(saveRecord(m_db, model));
    ASSERT_TRUE(saveRecord(m_db, model));
    model.ysname = "other";
    ASSERT_TRUE(saveRecord(m_db, model));
    EXPECT_EQ(*listRecords(m_db), (std::vector<ListRow>{{3, "other"}, {2, "same"}, {1, "same"}}));
}

TEST_F(RecordStoreTest, AnEmptyRecordSavesBecauseEmptyTextIsNotNull) {
    EXPECT_TRUE(saveRecord(m_db, YsModel{}));
    EXPECT_EQ(columnText("quote(ysname) || quote(dong) || quote(upstr)", 1), "''''''");
}

TEST_F(RecordStoreTest, ARecordWithAnIdRewritesItsRow) {
    ASSERT_TRUE(saveRecord(m_db, fullModel()));
    YsModel changed = **loadRecord(m_db, 1);
    changed.uinfo = "new notes";
    changed.dong = {1, 1, 1, 1, 1, 1};
    ASSERT_TRUE(saveRecord(m_db, changed));
    EXPECT_EQ(*loadRecord(m_db, 1), changed);
    EXPECT_EQ(listRecords(m_db)->size(), 1u);
}

TEST_F(RecordStoreTest, RewritingARowThatIsGoneIsAFailure) {
    YsModel ghost = fullModel();
    ghost._id = 42;
    EXPECT_FALSE(saveRecord(m_db, ghost));
    EXPECT_TRUE(listRecords(m_db)->empty());
}

TEST_F(RecordStoreTest, DeleteOfAMissingIdSucceedsAndALoadOfADeletedIdFindsNothing) {
    ASSERT_TRUE(saveRecord(m_db, fullModel()));
    ASSERT_TRUE(saveRecord(m_db, fullModel()));
    EXPECT_TRUE(deleteRecord(m_db, 1));
    EXPECT_EQ(*loadRecord(m_db, 1), std::nullopt);
    EXPECT_TRUE(deleteRecord(m_db, 1));
    EXPECT_TRUE(deleteRecord(m_db, 99));
    EXPECT_EQ(listRecords(m_db)->size(), 1u);
    EXPECT_EQ((*loadRecord(m_db, 2))->_id, 2);
    // Ids are never reused, so a deleted record cannot come back under another's id.
    ASSERT_TRUE(saveRecord(m_db, fullModel()));
    EXPECT_EQ(listRecords(m_db)->front().id, 3);
}

TEST_F(RecordStoreTest, DeletingManyIdsIsOneTransactionAllOrNothing) {
    std::vector<int> ids;
    ASSERT_TRUE(m_db.inTransaction([&]() -> Result<void, StoreError> {
        for (int id = 1; id <= 1999; ++id) {
            ids.push_back(id);
            if (auto saved = saveRecord(m_db, fullModel()); !saved) {
                return saved;
            }
        }
        return {};
    }));
    // A row that will not go half way through (a trigger stands for a full disk or a crash)
    // keeps every row, the ones before it included.
    ASSERT_TRUE(exec("CREATE TRIGGER keep BEFORE DELETE ON wnx_table WHEN old._id = 1000 "
                     "BEGIN SELECT RAISE(ABORT, 'kept'); END;"));
    const auto refused = deleteRecords(m_db, ids);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error(), StoreError::StatementFailed);
    EXPECT_EQ(rowCount(), 1999);
    ASSERT_TRUE(exec("DROP TRIGGER keep;"));
    // Ids without a row are passed over, and the ids that had one are told.
    const auto deleted = deleteRecords(m_db, {5000, 7, 3, 7});
    ASSERT_TRUE(deleted);
    EXPECT_EQ(*deleted, (std::vector<int>{7, 3}));
    EXPECT_EQ(listRecords(m_db)->size(), ids.size() - 2);
    EXPECT_TRUE(deleteRecords(m_db, ids));
    EXPECT_EQ(rowCount(), 0);
}

TEST_F(RecordStoreTest, NullColumnsReadAsEmptyTextAndZero) {
    ASSERT_TRUE(exec("INSERT INTO wnx_table (ysname,ysnumber,dong,ysindex,ysday,upstr,uinfo,rot) "
                     "VALUES ('n','','',NULL,NULL,NULL,NULL,NULL);"));
    YsModel expected;
    expected._id = 1;
    expected.ysname = "n";
    EXPECT_EQ(*loadRecord(m_db, 1), expected);
}

TEST_F(RecordStoreTest, HandEditedRowsLoadAsWellAsTheyCan) {
    ASSERT_TRUE(exec(
        "INSERT INTO wnx_table (_id,ysname,ysnumber,dong,ysday) VALUES (7,'e','5',' 1, -1 ,x,,','45000');"));
    const YsModel model = **loadRecord(m_db, 7);
    EXPECT_EQ(model.dong, (std::vector<int>{1, -1, 0}));
    EXPECT_EQ(model.ysday, 45000.0);
}

TEST_F(RecordStoreTest, RowsWhoseIdDoesNotFitAnIntAreNotListed) {
    // Listed under a cut-down id, such a row would let a delete hit another record.
    ASSERT_TRUE(exec("INSERT INTO wnx_table (_id,ysname,ysnumber,dong) VALUES (4294967297,'far','','');"));
    ASSERT_TRUE(exec("INSERT INTO wnx_table (_id,ysname,ysnumber,dong) VALUES (1,'near','','');"));
    EXPECT_EQ(*listRecords(m_db), (std::vector<ListRow>{{1, "near"}}));
    EXPECT_EQ((*loadRecord(m_db, 1))->ysname, "near");
}

} // namespace
} // namespace quenmar::store
