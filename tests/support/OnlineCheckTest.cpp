#include "support/OnlineCheck.h"

#include <chrono>
#include <gtest/gtest.h>

namespace quenmar::support {
namespace {

TEST(OnlineCheck, PingsOnceWithAShortWaitAndNoShell) {
    const OnlineCheckCommand command = pingCommand("www.example.org");
    EXPECT_EQ(command.program, "ping");
    EXPECT_EQ(command.args, (std::vector<std::string>{"-n", "-c", "1", "-W", "2", "--", "www.example.org"}));
    EXPECT_GT(command.timeLimitMs, 2000);
}

TEST(OnlineCheck, OnlyAZeroExitStatusCounts) {
    EXPECT_TRUE(runOnlineCheck({"true", {}, 5000}));
    EXPECT_FALSE(runOnlineCheck({"false", {}, 5000}));
    EXPECT_FALSE(runOnlineCheck({"sh", {"-c", "exit 2"}, 5000}));
    EXPECT_FALSE(runOnlineCheck({"sh", {"-c", "kill -9 $$"}, 5000}));
}

TEST(OnlineCheck, ArgumentsReachTheProgramUnsplitAndUninterpreted) {
    // No shell stands between: a blank or a ";" inside an argument stays part of it.
    EXPECT_TRUE(runOnlineCheck({"sh", {"-c", "test \"$1\" = 'a b; false'", "sh", "a b; false"}, 5000}));
}

TEST(OnlineCheck, AMissingProgramIsOffline) {
    EXPECT_FALSE(runOnlineCheck({"/nonexistent/quenmar-ping", {}, 5000}));
    EXPECT_FALSE(runOnlineCheck({"quenmar-no-such-program", {}, 5000}));
    EXPECT_FALSE(runOnlineCheck({"", {}, 5000}));
}

TEST(OnlineCheck, AHangingCheckIsKilledAtItsTimeLimit) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(runOnlineCheck({"sleep", {"30"}, 200}));
    // Not a speed target: had the child not been killed, this would wait the full 30 s.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(OnlineCheck, TheChildHasNoTerminal) {
    // Standard input, output and error are /dev/null: nothing shows, nothing waits for input.
    EXPECT_TRUE(runOnlineCheck(
        {"sh",
         {"-c", "for fd in 0 1 2; do test \"$(readlink /proc/$$/fd/$fd)\" = /dev/null || exit 1; done"},
         5000}));
}

} // namespace
} // namespace quenmar::support
