#pragma once

#include "engine/CastRequest.h"

#include <optional>
#include <string_view>

// Whether a request can be cast, and why not: the one rule that the input panel's compute
// button, the run of a calculation and the command line all ask.
namespace quenmar {

/// Why a request cannot be cast.
enum class CastRefusal {
    NoMethod,         // no method chosen, or a request that only carries a refusal
    UnknownMethod,    // a method beyond the three, read from a saved record
    NoNumber,         // the number method without a number; a reopened millisecond cast without one
    LinesNotSet,      // not three upper and three lower lines with six moving flags
    NoTimeChoice,     // the millisecond method without a time choice
    NoZodiac,         // no zodiac animal among the twelve
    MomentOutOfRange, // a kept moment that no date-time text can be written for
};

/// When the rule is asked: of the user's choices, before prepareRequest completes the request
/// (the compute button's table); or of a completed request, right before it is cast, when
/// only what the cast itself reads counts (the number, the lines, the moment).
enum class CastStage { Choices, Completed };

/// The rule's answer, with the compute button's result code and status-bar text for it.
struct CastVerdict {
    std::optional<CastRefusal> refusal; // nothing when the request can be cast
    int code = 0;                       // the method when it can be cast, negative when not; 0 for a method
                                        // beyond the three, for which the compute button does nothing
    std::string_view message;           // e.g. "按卦主生肖与数字测算" or "未选择卦主生肖"

    bool castable() const { return !refusal.has_value(); }
};

/// The one rule. Of the choices, first match wins: no method gives "未选择推算条件"; by number,
/// no number "未输入推算数字"; by hand, lines not set "未装好线下卦"; by milliseconds, no time
/// choice "未选择推演时间"; then, for each of the three, no zodiac "未选择卦主生肖". A request
/// that passes gets its method's text ("按卦主生肖与数字测算" ...). Of a completed request: the
/// method, the number of both number methods, the lines, and a moment of years 100 to 9999.
CastVerdict checkCast(const CastRequest& request, CastStage stage = CastStage::Choices);

/// The text of a refusal, as the status bar and the command line show it.
std::string_view refusalText(CastRefusal refusal);

} // namespace quenmar
