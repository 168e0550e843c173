#include "draws/LatestDrawRefresh.h"

#include <gtest/gtest.h>
#include <vector>

namespace quenmar::draws {
namespace {

DrawResult sampleDraw() {
    DrawResult draw;
    draw.name = "双色球";
    draw.issue = "2024050期";
    draw.date = "2024-05-05";
    draw.mainNumbers = "030914222731";
    draw.extraNumbers = "12";
    return draw;
}

FetchedDraw failedDraw(DrawFailure failure) {
    return Failure{
        DrawError{failure, failure == DrawFailure::PageRefused ? "body error" : "HTTP status 404"}};
}

// Services whose answers the test scripts; records the codes it was asked to fetch.
struct ScriptedServices {
    bool online = true;
    FetchedDraw draw = sampleDraw();
    int onlineChecks = 0;
    std::vector<int> fetched;

    RefreshServices services() {
        return {[this] {
                    ++onlineChecks;
                    return online;
                },
                [this](int code) {
                    fetched.push_back(code);
                    return draw;
                }};
    }
};

TEST(RefreshLatestDraw, OfflineSaysSoAndTouchesNothingElse) {
    ScriptedServices script;
    script.online = false;
    const RefreshOutcome outcome = refreshLatestDraw(100, script.services());
    EXPECT_TRUE(outcome.ran);
    EXPECT_EQ(outcome.statusText, "未连网");
    EXPECT_FALSE(outcome.stopTimer);
    EXPECT_FALSE(outcome.showDraw);
    EXPECT_TRUE(script.fetched.empty());
}

TEST(RefreshLatestDraw, ADrawShowsWithTheNoticeAndStopsTheTimer) {
    ScriptedServices script;
    const RefreshOutcome outcome = refreshLatestDraw(101, script.services());
    EXPECT_EQ(
        outcome.statusText,
        "开奖数据已更新，与实时开奖数据存在相差两小时左右的误差,此不会影响推演数据，本软件不参照历史数据.");
    EXPECT_TRUE(outcome.stopTimer);
    EXPECT_TRUE(outcome.showDraw);
    EXPECT_EQ(outcome.kind, 1);
    EXPECT_EQ(outcome.numbersText, "03091422273112");
    EXPECT_EQ(outcome.draw, sampleDraw());
    EXPECT_EQ(script.fetched, std::vector<int>{101});
}

TEST(RefreshLatestDraw, APageWithoutADrawStillCountsAsUpdated) {
    // The parser accepted the page but found no draw in it: the fields stay empty, and as the
    // site answered, retrying every 3 seconds would not help.
    ScriptedServices script;
    script.draw = DrawResult{};
    const RefreshOutcome outcome = refreshLatestDraw(100, script.services());
    EXPECT_TRUE(outcome.stopTimer);
    EXPECT_TRUE(outcome.showDraw);
    EXPECT_EQ(outcome.numbersText, "");
}

TEST(RefreshLatestDraw, NoUsablePageKeepsTheTimerAndTheDrawOnScreen) {
    for (const DrawFailure failure : {DrawFailure::NoPage, DrawFailure::PageRefused}) {
        ScriptedServices script;
        script.draw = failedDraw(failure);
        const RefreshOutcome outcome = refreshLatestDraw(100, script.services());
        const int which = static_cast<int>(failure);
        EXPECT_EQ(outcome.statusText, "开奖数据获取失败") << which;
        EXPECT_FALSE(outcome.stopTimer) << which;
        EXPECT_FALSE(outcome.showDraw) << which;
    }
}

TEST(RefreshLatestDraw, ACodeOutsideTheTableDoesNothing) {
    for (const int code : {99, 107, 0, -100}) {
        ScriptedServices script;
        const RefreshOutcome outcome = refreshLatestDraw(code, script.services());
        EXPECT_FALSE(outcome.ran) << code;
        EXPECT_EQ(outcome.statusText, "") << code;
        EXPECT_EQ(script.onlineChecks, 0) << code;
    }
}

struct NumbersCase {
    int code;
    const char* numbersText;
};

class RefreshNumbers : public ::testing::TestWithParam<NumbersCase> {};

TEST_P(RefreshNumbers, HandsTheDisplayMainAndExtraNumbersPerLottery) {
    ScriptedServices script;
    script.draw->mainNumbers = "MAIN";
    script.draw->extraNumbers = "EXTRA";
    const RefreshOutcome outcome = refreshLatestDraw(GetParam().code, script.services());
    EXPECT_EQ(outcome.kind, GetParam().code - 100);
    EXPECT_EQ(outcome.numbersText, GetParam().numbersText);
}

// 大乐透 (104) shows two blue numbers after its five main ones, so it gets both zones.
INSTANTIATE_TEST_SUITE_P(Codes, RefreshNumbers,
                         ::testing::Values(NumbersCase{100, "MAIN"}, NumbersCase{101, "MAINEXTRA"},
                                           NumbersCase{102, "MAINEXTRA"}, NumbersCase{103, "MAIN"},
                                           NumbersCase{104, "MAINEXTRA"}, NumbersCase{105, "MAIN"},
                                           NumbersCase{106, "MAINEXTRA"}),
                         [](const auto& caseInfo) { return std::to_string(caseInfo.param.code); });

TEST(RefreshTimer, OfflineAtStartRetriesUntilTheFirstDrawThenStops) {
    ScriptedServices script;
    script.online = false;
    RefreshTimer timer;
    std::vector<std::string> statusTexts;
    for (int tick = 0; tick < 6 && timer.running(); ++tick) {
        EXPECT_EQ(timer.intervalMs, 3000);
        script.online = tick >= 3; // the network returns before the fourth tick
        const RefreshOutcome outcome = refreshLatestDraw(100, script.services());
        statusTexts.push_back(outcome.statusText);
        timer.apply(outcome.stopTimer);
    }
    EXPECT_FALSE(timer.running());
    ASSERT_EQ(statusTexts.size(), 4u);
    EXPECT_EQ(statusTexts[0], "未连网");
    EXPECT_EQ(statusTexts[2], "未连网");
    EXPECT_EQ(statusTexts[3], std::string(kUpdatedNotice));
}

TEST(RefreshTimer, FailedFetchesKeepItRunning) {
    RefreshTimer timer;
    RefreshOutcome failed;
    failed.ran = true;
    failed.statusText = kFetchFailedText;
    timer.apply(failed.stopTimer);
    EXPECT_TRUE(timer.running());
}

TEST(RefreshGate, OneRefreshInFlightAtATime) {
    RefreshGate gate;
    EXPECT_TRUE(gate.tryBegin());
    EXPECT_TRUE(gate.busy());
    EXPECT_FALSE(gate.tryBegin()); // a tick while the first refresh runs
    EXPECT_FALSE(gate.tryBegin()); // a click too
    gate.finish();
    EXPECT_FALSE(gate.busy());
    EXPECT_TRUE(gate.tryBegin());
}

} // namespace
} // namespace quenmar::draws
