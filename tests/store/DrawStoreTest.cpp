#include "store/DrawStore.h"

#include "Files.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace quenmar::store {
namespace {

KeptDraw happy8(std::string issue, std::string date, std::string numbers) {
    return KeptDraw{100, std::move(issue), std::move(date),  std::move(numbers),
                    "",  45400.5,          "https://a.test/"};
}

const std::string kNumbers = "03 07 11 14 18 22 25 29 31 36 40 44 47 51 58 62 66 70 73 79";

std::filesystem::path dbFile(const test::TempFolder& root) {
    return root.path() / "src" / "data" / "wnx.db";
}

// The bytes of every page the calculation table occupies, in page order, and the text of its
// schema: what "unchanged" means for the table, down to the byte.
std::string tableBytes(const std::filesystem::path& file) {
    TableDb db;
    if (!db.openDatabase(file)) {
        return "<no file>";
    }
    Statement schema = db.prepare("SELECT sql FROM sqlite_master WHERE name='wnx_table';");
    std::string bytes = schema.step() == StepResult::Row ? schema.columnText(0) : "<no table>";
    Statement pageSize = db.prepare("PRAGMA page_size;");
    const int size = pageSize.step() == StepResult::Row ? pageSize.columnInt(0) : 0;
    Statement pages = db.prepare("SELECT pageno FROM dbstat WHERE name='wnx_table' ORDER BY pageno;");
    const std::string content = test::readFile(file).value_or("");
    while (pages.step() == StepResult::Row) {
        const auto offset = static_cast<std::size_t>(pages.columnInt(0) - 1) * static_cast<std::size_t>(size);
        bytes += content.substr(offset, static_cast<std::size_t>(size));
    }
    return bytes;
}

TEST(DrawStoreTest, AnOldDatabaseGainsTheDrawTableAndItsCalculationsStayByteForByte) {
    test::TempFolder root;
    std::filesystem::create_directories(dbFile(root).parent_path());
    std::filesystem::copy_file(test::testDataFolder() / "store" / "history-v1.db", dbFile(root));
    const std::string before = tableBytes(dbFile(root));
    ASSERT_GT(before.size(), 4096U); // the schema and at least one page

    {
        TableDb db(root.path());
        ASSERT_TRUE(ensureDrawTable(db));
        ASSERT_TRUE(keepDraw(db, happy8("2024123", "2024-05-01", kNumbers)));
        Statement schema = db.prepare("SELECT sql FROM sqlite_master WHERE name='draw_table';");
        ASSERT_EQ(schema.step(), StepResult::Row);
        EXPECT_EQ(
            schema.columnText(0),
            "CREATE TABLE draw_table (code INTEGER NOT NULL,issue TEXT NOT NULL,draw_date TEXT NOT NULL,"
            "main_numbers TEXT NOT NULL,extra_numbers TEXT NOT NULL DEFAULT '',obtained_at DOUBLE NOT "
            "NULL,source TEXT NOT NULL DEFAULT '',UNIQUE (code,issue))");
    }
    EXPECT_EQ(tableBytes(dbFile(root)), before);
    TableDb reopened(root.path());
    EXPECT_EQ(listDraws(reopened)->size(), 1U);
}

TEST(DrawStoreTest, OneRowPerLotteryAndIssueAndADifferentDrawNeverOverwritesIt) {
    test::TempFolder root;
    TableDb db(root.path());
    ASSERT_TRUE(ensureDrawTable(db));
    const KeptDraw first = happy8("2024123", "2024-05-01", kNumbers);
    KeptDraw again = first;
    again.obtainedAt = 45500.0;
    again.source = "file.csv";
    KeptDraw differing = first;
    differing.mainNumbers.replace(0, 2, "01");
    KeptDraw otherLottery = first;
    otherLottery.code = 101;
    otherLottery.mainNumbers = "01 02 03 04 05 06";
    otherLottery.extraNumbers = "16";

    struct Case {
        const KeptDraw& draw;
        KeepVerdict verdict;
    };
    for (const Case& c : {Case{first, KeepVerdict::Added}, Case{again, KeepVerdict::AlreadyKept},
                          Case{differing, KeepVerdict::Conflicts}, Case{otherLottery, KeepVerdict::Added}}) {
        const auto kept = keepDraw(db, c.draw);
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->verdict, c.verdict) << c.draw.mainNumbers;
        if (c.verdict != KeepVerdict::Added) {
            EXPECT_EQ(kept->kept, first); // the row as it was first kept, source and time included
        }
    }
    EXPECT_EQ(*listDraws(db), (std::vector<KeptDraw>{first, otherLottery}));
    EXPECT_EQ(*listDraws(db, 101), (std::vector<KeptDraw>{otherLottery}));
}

TEST(DrawStoreTest, ListsNewestFirstByDateThenIssue) {
    test::TempFolder root;
    TableDb db(root.path());
    ASSERT_TRUE(ensureDrawTable(db));
    // Issue 999 of a day sorts below issue 1000 of the same day, which text order would not do.
    const std::vector<KeptDraw> newestFirst{
        happy8("2024124", "2024-05-02", kNumbers), happy8("1000", "2024-05-01", kNumbers),
        happy8("999", "2024-05-01", kNumbers), happy8("2024100", "2024-04-08", kNumbers)};
    for (const std::size_t i : {2U, 0U, 3U, 1U}) {
        ASSERT_TRUE(keepDraw(db, newestFirst[i]));
    }
    EXPECT_EQ(*listDraws(db), newestFirst);
}

TEST(DrawStoreTest, AFailedTransactionKeepsNothingOfWhatItWrote) {
    test::TempFolder root;
    TableDb db(root.path());
    ASSERT_TRUE(ensureDrawTable(db));
    const auto failed = inDrawTransaction(db, [&db]() -> Result<void, StoreError> {
        (void)keepDraw(db, happy8("2024123", "2024-05-01", kNumbers));
        return Failure{StoreError::StatementFailed};
    });
    EXPECT_FALSE(failed);
    EXPECT_TRUE(listDraws(db)->empty());
}

} // namespace
} // namespace quenmar::store
