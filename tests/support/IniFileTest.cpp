#include "support/IniFile.h"

#include "Files.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace quenmar::support {
namespace {

using test::readFile;
using test::TempFolder;
using test::writeFile;

TEST(IniFileTest, MissingFileReadsEmpty) {
    TempFolder dir;
    EXPECT_EQ(readIniValue(dir.file("config.ini"), "sys", "update_day"), "");
}

TEST(IniFileTest, FirstWriteCreatesTheFile) {
    TempFolder dir;
    const std::string file = dir.file("config.ini");
    ASSERT_TRUE(writeIniValue(file, "sys", "update_day", "2024年1月2日"));
    EXPECT_EQ(readFile(file), "[sys]\nupdate_day=2024年1月2日\n");
    EXPECT_EQ(readIniValue(file, "sys", "update_day"), "2024年1月2日");
}

// A key written into an existing file joins its section right after the last entry and
// touches no other line: comments, other sections and blank lines stay as they were.
TEST(IniFileTest, WriteKeepsEveryOtherLine) {
    TempFolder dir;
    const std::string file = dir.file("config.ini");
    ASSERT_TRUE(writeFile(file, "; settings\n[sys]\nupdate_file=old.exe\n\n[other]\nupdate_day=keep\n"));
    ASSERT_TRUE(writeIniValue(file, "sys", "update_day", "2024年1月2日"));
    ASSERT_TRUE(writeIniValue(file, "sys", "update_file", "NEW"));
    EXPECT_EQ(readFile(file),
              "; settings\n[sys]\nupdate_file=NEW\nupdate_day=2024年1月2日\n\n[other]\nupdate_day=keep\n");
    EXPECT_EQ(readIniValue(file, "other", "update_day"), "keep");
}

TEST(IniFileTest, NewSectionGoesAtTheEnd) {
    TempFolder dir;
    const std::string file = dir.file("config.ini");
    ASSERT_TRUE(writeFile(file, "[other]\na=1"));
    ASSERT_TRUE(writeIniValue(file, "sys", "update_day", "x"));
    EXPECT_EQ(readFile(file), "[other]\na=1\n[sys]\nupdate_day=x\n");
}

// A file written on Windows: names in another case, blanks, quotes and CRLF line ends.
TEST(IniFileTest, ReadsAndKeepsAWindowsFile) {
    TempFolder dir;
    const std::string file = dir.file("config.ini");
    ASSERT_TRUE(
        writeFile(file, "\xEF\xBB\xBF[SYS]\r\n  Update_Day = \"2024年1月2日\" \r\nupdate_file=A.exe\r\n"));
    EXPECT_EQ(readIniValue(file, "sys", "update_day"), "2024年1月2日");
    ASSERT_TRUE(writeIniValue(file, "sys", "UPDATE_FILE", "B.exe"));
    EXPECT_EQ(readFile(file),
              "\xEF\xBB\xBF[SYS]\r\n  Update_Day = \"2024年1月2日\" \r\nUPDATE_FILE=B.exe\r\n");
}

TEST(IniFileTest, FirstOfRepeatedKeysWins) {
    TempFolder dir;
    const std::string file = dir.file("config.ini");
    ASSERT_TRUE(writeFile(file, "[sys]\nk=first\nk=second\n[sys]\nk=third\n"));
    EXPECT_EQ(readIniValue(file, "sys", "k"), "first");
    EXPECT_EQ(readIniValue(file, "sys", "missing"), "");
    EXPECT_EQ(readIniValue(file, "nosection", "k"), "");
}

TEST(IniFileTest, RefusesTextThatWouldBreakTheFile) {
    TempFolder dir;
    const std::string file = dir.file("config.ini");
    EXPECT_FALSE(writeIniValue(file, "sys", "k", "two\nlines"));
    EXPECT_FALSE(writeIniValue(file, "sys", "k=v", "x"));
    EXPECT_FALSE(writeIniValue(file, "s]", "k", "x"));
    EXPECT_FALSE(writeIniValue(file, "sys", "", "x"));
    EXPECT_FALSE(readFile(file).has_value());
}

TEST(IniFileTest, UnwritableFolderFailsWithoutDamage) {
    TempFolder dir;
    EXPECT_FALSE(writeIniValue(dir.file("no/such/folder/config.ini"), "sys", "k", "v"));
}

} // namespace
} // namespace quenmar::support
