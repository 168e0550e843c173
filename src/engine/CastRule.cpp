#include "engine/CastRule.h"

#include "base/Utf8.h"
#include "engine/Moment.h"

#include <array>

namespace quenmar {

namespace {

constexpr int kNoMethodCode = -1;
constexpr int kNoNumberCode = -2;
constexpr int kLowestZodiac = 1;
constexpr int kHighestZodiac = 12;

bool linesSet(const CastRequest& r) {
    return utf8::length(r.upperLines) == 3 && utf8::length(r.lowerLines) == 3 && r.movingFlags.size() == 6;
}

bool zodiacChosen(const CastRequest& r) {
    return r.zodiac >= kLowestZodiac && r.zodiac <= kHighestZodiac;
}

bool momentCovered(double moment) {
    return moment >= kMinTextMoment && moment < kMaxTextMoment; // false for NaN too
}

// What the status bar says of a request that can be cast, by method.
constexpr std::array<std::string_view, 3> AcceptTexts{
    "按卦主生肖与数字测算",
    "按卦主生肖与自己装载线下卦测算",
    "按卦主生肖与超时空毫秒数测算",
};

// The text of each refusal, in the order of CastRefusal.
constexpr std::array<std::string_view, 7> RefusalTexts{
    "未选择推算条件", // no method
    "未选择推算条件", // a method beyond the three
    "未输入推算数字", "未装好线下卦", "未选择推演时间", "未选择卦主生肖", "记录的时间无效",
};
static_assert(RefusalTexts.size() == static_cast<std::size_t>(CastRefusal::MomentOutOfRange) + 1);

bool methodKnown(CastMethod method) {
    return method == CastMethod::ByNumber || method == CastMethod::ByHand ||
           method == CastMethod::ByMilliseconds;
}

// The compute button's code of a refusal: after its first check, each method refuses with one
// code of its own (-3, -4, -5), except that a missing number is always -2.
int refusalCode(CastMethod method, CastRefusal refusal) {
    switch (refusal) {
    case CastRefusal::NoMethod:
        return kNoMethodCode;
    case CastRefusal::UnknownMethod:
        return 0;
    case CastRefusal::NoNumber:
        return kNoNumberCode;
    default:
        return -2 - static_cast<int>(method);
    }
}

std::optional<CastRefusal> methodRefusal(const CastRequest& r) {
    if (r.invalid || static_cast<int>(r.method) <= 0) {
        return CastRefusal::NoMethod;
    }
    if (!methodKnown(r.method)) {
        return CastRefusal::UnknownMethod;
    }
    return std::nullopt;
}

std::optional<CastRefusal> choicesRefusal(const CastRequest& r) {
    if (auto refusal = methodRefusal(r)) {
        return refusal;
    }
    if (r.method == CastMethod::ByNumber && r.numberText.empty()) {
        return CastRefusal::NoNumber;
    }
    if (r.method == CastMethod::ByHand && !linesSet(r)) {
        return CastRefusal::LinesNotSet;
    }
    if (r.method == CastMethod::ByMilliseconds && r.timeChoice == TimeChoice::None) {
        return CastRefusal::NoTimeChoice;
    }
    if (!zodiacChosen(r)) {
        return CastRefusal::NoZodiac;
    }
    return std::nullopt;
}

// What the cast reads of a completed request: the time choice has been used up by then, and
// the zodiac only names the querent.
std::optional<CastRefusal> completedRefusal(const CastRequest& r) {
    if (auto refusal = methodRefusal(r)) {
        return refusal;
    }
    if (r.method != CastMethod::ByHand && r.numberText.empty()) {
        return CastRefusal::NoNumber;
    }
    if (r.method == CastMethod::ByHand && !linesSet(r)) {
        return CastRefusal::LinesNotSet;
    }
    if (!momentCovered(r.moment)) {
        return CastRefusal::MomentOutOfRange;
    }
    return std::nullopt;
}

} // namespace

CastVerdict checkCast(const CastRequest& request, CastStage stage) {
    CastVerdict verdict;
    verdict.refusal = stage == CastStage::Choices ? choicesRefusal(request) : completedRefusal(request);
    if (verdict.refusal) {
        verdict.code = refusalCode(request.method, *verdict.refusal);
        verdict.message = refusalText(*verdict.refusal);
    } else {
        verdict.code = static_cast<int>(request.method);
        verdict.message = AcceptTexts[static_cast<std::size_t>(request.method) - 1];
    }
    return verdict;
}

std::string_view refusalText(CastRefusal refusal) {
    return RefusalTexts[static_cast<std::size_t>(refusal)];
}

} // namespace quenmar
