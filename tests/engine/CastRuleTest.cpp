#include "engine/CastRule.h"

#include "engine/Moment.h"

#include <cctype>
#include <gtest/gtest.h>
#include <limits>

namespace quenmar {

namespace {

struct RuleCase {
    const char* name;
    CastRequest request;
    CastStage stage;
    int code;
    const char* message;
};

CastRequest request(CastMethod method, int zodiac, const char* number = "",
                    TimeChoice time = TimeChoice::None) {
    CastRequest r;
    r.method = method;
    r.zodiac = zodiac;
    r.numberText = number;
    r.timeChoice = time;
    r.moment = 44872.5;
    return r;
}

CastRequest byHand(int zodiac, const char* upper = "101", std::vector<int> flags = {0, 0, 1, 0, 0, 0}) {
    CastRequest r = request(CastMethod::ByHand, zodiac);
    r.upperLines = upper;
    r.lowerLines = "000";
    r.movingFlags = std::move(flags);
    return r;
}

template <typename Change>
CastRequest with(CastRequest r, Change change) {
    change(r);
    return r;
}

std::ostream& operator<<(std::ostream& out, const RuleCase& c) {
    return out << c.name;
}

class CastRuleTable : public ::testing::TestWithParam<RuleCase> {};

TEST_P(CastRuleTable, GivesTheComputeButtonsCodeAndMessage) {
    const RuleCase& c = GetParam();
    const CastVerdict verdict = checkCast(c.request, c.stage);
    EXPECT_EQ(verdict.code, c.code);
    EXPECT_EQ(verdict.message, c.message);
    EXPECT_EQ(verdict.castable(), c.code > 0);
}

constexpr auto kChoices = CastStage::Choices;
constexpr auto kCompleted = CastStage::Completed;

INSTANTIATE_TEST_SUITE_P(
    Rows, CastRuleTable,
    ::testing::Values(
        RuleCase{"no method", request(CastMethod::None, 1, "38"), kChoices, -1, "未选择推算条件"},
        RuleCase{"after reset", request(CastMethod::Cleared, -1), kChoices, -1, "未选择推算条件"},
        RuleCase{"refusal carrier",
                 with(request(CastMethod::ByNumber, 1, "38"), [](CastRequest& r) { r.invalid = true; }),
                 kChoices, -1, "未选择推算条件"},
        // A record edited by hand may name a fourth method: the button then does nothing.
        RuleCase{"unknown method", request(static_cast<CastMethod>(9), 1, "38"), kChoices, 0,
                 "未选择推算条件"},
        RuleCase{"number before zodiac", request(CastMethod::ByNumber, 0), kChoices, -2, "未输入推算数字"},
        RuleCase{"number without zodiac", request(CastMethod::ByNumber, 0, "38"), kChoices, -3,
                 "未选择卦主生肖"},
        RuleCase{"zodiac beyond the twelve", request(CastMethod::ByNumber, 13, "38"), kChoices, -3,
                 "未选择卦主生肖"},
        RuleCase{"by number", request(CastMethod::ByNumber, 12, "38"), kChoices, 1, "按卦主生肖与数字测算"},
        RuleCase{"lines before zodiac", byHand(0, "10"), kChoices, -4, "未装好线下卦"},
        RuleCase{"five flags", byHand(3, "101", {0, 0, 1, 0, 0}), kChoices, -4, "未装好线下卦"},
        RuleCase{"lines without zodiac", byHand(0), kChoices, -4, "未选择卦主生肖"},
        RuleCase{"by hand", byHand(3), kChoices, 2, "按卦主生肖与自己装载线下卦测算"},
        RuleCase{"time before zodiac", request(CastMethod::ByMilliseconds, 0), kChoices, -5,
                 "未选择推演时间"},
        RuleCase{"milliseconds without zodiac", request(CastMethod::ByMilliseconds, 0, "", TimeChoice::Draw),
                 kChoices, -5, "未选择卦主生肖"},
        // The number of a fresh millisecond cast comes from the clock, after the check.
        RuleCase{"by milliseconds", request(CastMethod::ByMilliseconds, 4, "", TimeChoice::Current), kChoices,
                 3, "按卦主生肖与超时空毫秒数测算"},
        // Once completed, only what the cast reads counts: the time choice and the zodiac are spent.
        RuleCase{"completed without number", request(CastMethod::ByMilliseconds, 4, "", TimeChoice::Draw),
                 kCompleted, -2, "未输入推算数字"},
        RuleCase{"completed milliseconds", request(CastMethod::ByMilliseconds, 0, "1733542541123"),
                 kCompleted, 3, "按卦主生肖与超时空毫秒数测算"},
        RuleCase{"completed lines", byHand(0, "1"), kCompleted, -4, "未装好线下卦"},
        RuleCase{"moment out of range", with(byHand(3), [](CastRequest& r) { r.moment = 1e300; }), kCompleted,
                 -4, "记录的时间无效"},
        RuleCase{
            "moment at the end of year 9999",
            with(request(CastMethod::ByNumber, 1, "5"), [](CastRequest& r) { r.moment = kMaxTextMoment; }),
            kCompleted, -3, "记录的时间无效"},
        RuleCase{"moment not a number",
                 with(request(CastMethod::ByNumber, 1, "5"),
                      [](CastRequest& r) { r.moment = std::numeric_limits<double>::quiet_NaN(); }),
                 kCompleted, -3, "记录的时间无效"}),
    [](const ::testing::TestParamInfo<RuleCase>& row) {
        std::string name = row.param.name;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST(CastRule, NamesTheRefusalTheInputPanelActsOn) {
    // The input panel moves the focus to the number box for a missing number alone.
    EXPECT_EQ(checkCast(request(CastMethod::ByNumber, 0)).refusal, CastRefusal::NoNumber);
    EXPECT_EQ(checkCast(request(CastMethod::ByNumber, 0, "7")).refusal, CastRefusal::NoZodiac);
    EXPECT_EQ(checkCast(request(CastMethod::ByNumber, 5, "7")).refusal, std::nullopt);
}

} // namespace

} // namespace quenmar
