#include "base/Result.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace quenmar {

namespace {
enum class Why { Locked, Missing };

Result<std::string, Why> lookUp(int key) {
    if (key == 0) {
        return Failure{Why::Missing};
    }
    return std::string(static_cast<std::size_t>(key), 'x');
}
} // namespace

TEST(Result, HoldsEitherTheValueOrTheError) {
    const auto found = lookUp(3);
    ASSERT_TRUE(found.ok());
    EXPECT_EQ(*found, "xxx");
    EXPECT_EQ(found->size(), 3u);

    const auto missing = lookUp(0);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), Why::Missing);
}

TEST(Result, MovesOutValuesThatCannotBeCopied) {
    Result<std::unique_ptr<int>, Why> owned(std::make_unique<int>(7));
    const std::unique_ptr<int> taken = std::move(owned).value();
    EXPECT_EQ(*taken, 7);
}

TEST(Result, VoidStepsReportOnlyTheirFailure) {
    const Result<void, Why> done;
    EXPECT_TRUE(done.ok());
    const Result<void, Why> refused = Failure{Why::Locked};
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error(), Why::Locked);
}

} // namespace quenmar
