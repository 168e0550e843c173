#include "store/SqlBuilder.h"

#include "store/TableDb.h"

#include <gtest/gtest.h>

namespace quenmar::store {
namespace {

struct BuildCase {
    std::string kind;
    std::optional<ColumnList> columns;
    std::string where;
    std::string orderBy;
    std::string expected;
};

class BuildStatementTest : public ::testing::TestWithParam<BuildCase> {};

TEST_P(BuildStatementTest, WritesTheExactText) {
    const BuildCase& c = GetParam();
    EXPECT_EQ(buildStatement(c.kind, "T", c.columns, c.where, c.orderBy), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BuildStatementTest,
    ::testing::Values(
        BuildCase{"select", ColumnList{"a", "b"}, "", "a DESC", "SELECT a,b From T ORDER BY a DESC;"},
        BuildCase{"SELECT", std::nullopt, "x=1", "", "SELECT * From T WHERE x=1;"},
        // A present but empty column list is not the absent one: it selects nothing by name.
        BuildCase{"Select", ColumnList{}, "", "", "SELECT  From T;"},
        BuildCase{"", ColumnList{"a", "b"}, "", "", "INSERT OR IGNORE INTO T(a,b) VALUES (?,?);"},
        BuildCase{"insert", ColumnList{"a"}, "", "", "INSERT INTO T(a) VALUES (?);"},
        BuildCase{"update", ColumnList{"a", "b"}, "id=?", "", "UPDATE T SET a=?,b=? WHERE id=?;"},
        BuildCase{"DeLeTe", std::nullopt, "_id=?", "", "DELETE FROM T WHERE _id=?;"},
        BuildCase{"delete", ColumnList{"ignored"}, "", "", "DELETE FROM T;"},
        // A word that is none of the five leaves only the tail clauses.
        BuildCase{"upsert", ColumnList{"a"}, "x=1", "a", " WHERE x=1 ORDER BY a;"},
        BuildCase{"select ", ColumnList{"a"}, "", "", ";"}));

TEST(ColumnDefinitionTest, AddsTheDefaultOnlyWhenGiven) {
    EXPECT_EQ(columnDefinition("x", "INT(4)", ""), "x INT(4)");
    EXPECT_EQ(columnDefinition("x", "INT(4)", "0"), "x INT(4) DEFAULT 0");
    EXPECT_EQ(columnDefinition("u", "TEXT", "null"), "u TEXT DEFAULT null");
}

TEST(CreateTableStatementTest, TellsAnAbsentUniqueListFromAnEmptyOne) {
    const ColumnList columns{"a INT", "b TEXT"};
    EXPECT_EQ(createTableStatement("T", columns, std::nullopt), "CREATE TABLE T (a INT,b TEXT);");
    EXPECT_EQ(createTableStatement("T", columns, ColumnList{}), "CREATE TABLE T (a INT,b TEXT,UNIQUE ());");
    EXPECT_EQ(createTableStatement("T", columns, ColumnList{"a", "b"}),
              "CREATE TABLE T (a INT,b TEXT,UNIQUE (a,b));");
    EXPECT_EQ(createTableStatement("T", {}, std::nullopt), "CREATE TABLE T ;");
    EXPECT_EQ(createTableStatement("T", {}, ColumnList{"a"}), "CREATE TABLE T ,UNIQUE (a));");
}

TEST(CreateTableStatementTest, BuildsTheCalculationTableWordForWord) {
    // "VARHCAR(18)" is what every existing file carries in its schema.
    EXPECT_EQ(TableDb::calculationTableStatement(),
              "CREATE TABLE wnx_table (_id integer primary key autoincrement,ysname VARCHAR(255) NOT NULL,"
              "ysindex INT(4) DEFAULT 0,ysnumber VARCHAR(32) NOT NULL,ysday DOUBLE DEFAULT 0,gzsxid INT(4) "
              "DEFAULT 0,"
              "upstr VARCHAR(3) DEFAULT null,downstr VARCHAR(3) DEFAULT null,dong VARHCAR(18) NOT NULL,"
              "rot INT(1) DEFAULT 0,uinfo TEXT DEFAULT null);");
}

} // namespace
} // namespace quenmar::store
