#include "support/ProgramPaths.h"

#include "EnvironmentVariable.h"
#include "Files.h"
#include "ReadOnlyFolder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace quenmar::support {
namespace {

using test::EnvironmentVariable;
using test::TempFolder;

TEST(ProgramPathsTest, TheProgramFolderHoldsTheRunningTest) {
    const auto folder = programFolder();
    ASSERT_TRUE(folder);
    EXPECT_TRUE(std::filesystem::exists(*folder / "support_tests"));
}

TEST(ProgramPathsTest, FilesLieBeneathTheDataRoot) {
    const std::filesystem::path root = "/r";
    EXPECT_EQ(databasePath(root), std::filesystem::path("/r/src/data/wnx.db"));
    EXPECT_EQ(dataFolder(root), std::filesystem::path("/r/src/data"));
    EXPECT_EQ(configPath(root), std::filesystem::path("/r/config.ini"));
}

TEST(ProgramPathsTest, AWritableProgramFolderIsTheDataRoot) {
    TempFolder program;
    EXPECT_EQ(chooseDataRoot(program.path(), std::filesystem::path("/home/u/.local/share")), program.path());
}

TEST(ProgramPathsTest, AnUnwritableProgramFolderMovesTheDataToTheUser) {
    TempFolder program;
    const std::filesystem::path user = "/home/u/.local/share";
    {
        test::ReadOnlyFolder readOnly(program.path());
        if (!readOnly.active()) {
            GTEST_SKIP() << "this file system lets the current user write to any folder";
        }
        EXPECT_FALSE(isWritableFolder(program.path()));
        EXPECT_EQ(chooseDataRoot(program.path(), user), user / "Quenmar");
    }
    EXPECT_TRUE(isWritableFolder(program.path()));
}

// A program beneath /usr is the package manager's, even for a user who may write there (root):
// every user's files go to their own data folder, and none is left behind in /usr.
TEST(ProgramPathsTest, AProgramFolderBeneathUsrIsNeverTheDataRoot) {
    TempFolder program;
    const std::filesystem::path user = "/home/u/.local/share";
    EXPECT_TRUE(isUserProgramFolder(program.path()));
    for (const char* folder : {"/usr", "/usr/", "/usr/lib/quenmar", "/usr/local/lib/../bin", "/usr/local"}) {
        EXPECT_FALSE(isUserProgramFolder(folder)) << folder;
        EXPECT_EQ(chooseDataRoot(std::filesystem::path(folder), user), user / "Quenmar") << folder;
    }
    EXPECT_FALSE(isUserProgramFolder("/usrlocal")); // absent, so not writable, but not /usr either
}

TEST(ProgramPathsTest, MissingFoldersAreNotWritable) {
    TempFolder base;
    test::writeFile(base.path() / "file", "x");
    EXPECT_FALSE(isWritableFolder(base.path() / "absent"));
    EXPECT_FALSE(isWritableFolder(base.path() / "file"));
    EXPECT_EQ(chooseDataRoot(base.path() / "absent", std::nullopt), std::nullopt);
    EXPECT_EQ(chooseDataRoot(std::nullopt, std::filesystem::path("/u")), std::filesystem::path("/u/Quenmar"));
}

TEST(ProgramPathsTest, UserDataFolderFollowsXdgThenHome) {
    EnvironmentVariable home("HOME", "/home/someone");
    {
        EnvironmentVariable xdg("XDG_DATA_HOME", "/data/xdg");
        EXPECT_EQ(userDataFolder(), std::filesystem::path("/data/xdg"));
    }
    {
        // Relative values are invalid by the XDG rules.
        EnvironmentVariable xdg("XDG_DATA_HOME", "relative/xdg");
        EXPECT_EQ(userDataFolder(), std::filesystem::path("/home/someone/.local/share"));
    }
    EnvironmentVariable xdg("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(userDataFolder(), std::filesystem::path("/home/someone/.local/share"));
}

TEST(ProgramPathsTest, QuenmarHomeOverridesEveryLocation) {
    EnvironmentVariable xdg("XDG_DATA_HOME", "/data/xdg");
    {
        EnvironmentVariable home(kHomeVariable, "/opt/q-home");
        EXPECT_EQ(dataRoot(), std::filesystem::path("/opt/q-home"));
        EXPECT_EQ(lockFilePath(), std::filesystem::path("/opt/q-home/Quenmar/wnx.zj"));
    }
    {
        EnvironmentVariable home(kHomeVariable, "");
        EXPECT_EQ(lockFilePath(), std::filesystem::path("/data/xdg/Quenmar/wnx.zj"));
        EXPECT_EQ(dataRoot(), chooseDataRoot(programFolder(), std::filesystem::path("/data/xdg")));
    }
}

} // namespace
} // namespace quenmar::support
