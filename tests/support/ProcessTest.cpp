#include "support/Process.h"

#include "Files.h"
#include "TempFolder.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
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

struct RunCase {
    const char* name;
    std::vector<std::string> argv;
    int timeLimitMs;
    std::optional<int> exitStatus;         // when it ends by itself with one
    std::optional<SupportFailure> failure; // otherwise
};

class RunProcessTest : public ::testing::TestWithParam<RunCase> {};

// The exit status comes back as it is; a program that is not there, that runs too long or that
// dies of a signal is a failure of its own kind, never a status the caller could misread.
TEST_P(RunProcessTest, GivesTheExitStatusOrWhyThereIsNone) {
    const RunCase& c = GetParam();
    const auto status = runProcess(c.argv.front(), {c.argv.begin() + 1, c.argv.end()}, c.timeLimitMs);
    EXPECT_EQ(status ? std::optional(*status) : std::nullopt, c.exitStatus);
    EXPECT_EQ(status ? std::nullopt : std::optional(status.error().failure), c.failure);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, RunProcessTest,
    ::testing::Values(
        RunCase{"ExitStatus", {"sh", "-c", "exit 3"}, 5000, 3, std::nullopt},
        RunCase{
            "Missing", {"quenmar-no-such-program"}, 5000, std::nullopt, SupportFailure::ProgramNotStarted},
        RunCase{"TooLong", {"sleep", "30"}, 100, std::nullopt, SupportFailure::ProgramTimedOut},
        RunCase{"Signal", {"sh", "-c", "kill -9 $$"}, 5000, std::nullopt, SupportFailure::ProgramCrashed}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ProcessTest, MakeExecutableNeedsAFile) {
    TempFolder dir;
    EXPECT_FALSE(makeExecutable(dir.file("missing")));
}

} // namespace
} // namespace quenmar::support
