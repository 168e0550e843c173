#include "support/Process.h"

#include "Files.h"
#include "TempFolder.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace quenmar::support {
namespace {

using test::TempFolder;

bool waitForFile(const std::string& path) {
    for (int i = 0; i < 200 && !std::filesystem::exists(path); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::filesystem::exists(path);
}

TEST(ProcessTest, StartsAProgramWithItsArgumentsAndNoShell) {
    TempFolder dir;
    const std::string script = dir.file("prog");
    // The argument holds shell syntax: it must arrive as one plain word.
    ASSERT_TRUE(test::writeFile(script, "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/out\"\n"));
    EXPECT_TRUE(makeExecutable(script));
    EXPECT_TRUE(startProcess(script, {"a b; $(rm -rf x)"}, 500));
    ASSERT_TRUE(waitForFile(dir.file("out")));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(test::readFile(dir.file("out")), "a b; $(rm -rf x)");
}

TEST(ProcessTest, RefusesWhatCannotRun) {
    TempFolder dir;
    EXPECT_FALSE(startProcess(dir.file("missing"), {}, 0));
    const std::string plain = dir.file("plain");
    ASSERT_TRUE(test::writeFile(plain, "#!/bin/sh\nexit 0\n"));
    EXPECT_FALSE(startProcess(plain, {}, 0)); // not executable
    const std::string garbage = dir.file("garbage");
    ASSERT_TRUE(test::writeFile(garbage, std::string("\x01\x02\x03 not a program")));
    ASSERT_TRUE(makeExecutable(garbage));
    EXPECT_FALSE(startProcess(garbage, {}, 0)); // never handed to a shell instead
}

TEST(ProcessTest, MakeExecutableNeedsAFile) {
    TempFolder dir;
    EXPECT_FALSE(makeExecutable(dir.file("missing")));
}

} // namespace
} // namespace quenmar::support
