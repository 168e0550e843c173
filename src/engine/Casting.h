#pragma once

#include "engine/CastRequest.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The three casting methods: the number rules, the lines tossed by hand, and the
// completion of a request with the moment (and, for the millisecond method, the number).
namespace quenmar {

/// One reading of the local clock, taken by the caller: the engine never reads the time.
struct ClockReading {
    double moment = 0.0;         // local moment with milliseconds
    int standardBiasMinutes = 0; // UTC = local time + bias, without daylight saving
};

/// Trigrams and moving line of a number cast.
struct NumberCast {
    int upper = 0;
    int lower = 0;
    int movingLine = 0;

    bool operator==(const NumberCast&) const = default;
};

/// Trigrams and moving flags of a cast by hand.
struct HandCast {
    int upper = 0;
    int lower = 0;
    std::vector<int> movingFlags;
};

/// Line texts of a changed hexagram.
struct ChangedLines {
    std::string upperLines;
    std::string lowerLines;

    bool operator==(const ChangedLines&) const = default;
};

/// Completes `moment` and `numberText` of a request that has just arrived: by number the
/// moment becomes the clock reading; by milliseconds (fresh requests only) both the moment
/// and the number follow from the clock reading and the time choice; by hand, and for a
/// reopened millisecond calculation, the request's own moment and number stand.
void prepareRequest(CastRequest& request, int gameCode, const ClockReading& now);

/// The moment of the next draw of a lottery as seen from `now`, for the draw-time choice.
/// Codes without a schedule leave the moment unchanged.
double drawMoment(double now, int gameCode);

/// The number rules. Nothing is cast for an empty text.
std::optional<NumberCast> castByNumber(std::string_view numberText, int hourNumber);

/// Trigrams of the hand-entered line texts (any malformed text gives 坤) and their flags.
HandCast castByHand(std::string_view upperLines, std::string_view lowerLines,
                    const std::vector<int>& movingFlags);

/// Changed line texts for one moving line 1..6 (other values change nothing).
ChangedLines changedByMovingLine(std::string_view upperLines, std::string_view lowerLines, int movingLine);

/// Changed line texts for six moving flags: every line with a non-zero flag flips.
ChangedLines changedByFlags(std::string_view upperLines, std::string_view lowerLines,
                            const std::vector<int>& movingFlags);

/// The two hexagrams of a cast as trigram numbers, with what moves.
struct CastTrigrams {
    int upper = 0; // the primary hexagram
    int lower = 0;
    int changedUpper = 0;
    int changedLower = 0;
    int movingLine = 0;           // a number cast
    std::vector<int> movingFlags; // a cast by hand
};

/// The cast of a completed request: by hand from its lines and flags, otherwise by the number
/// rules at the hour of its moment. Trigrams 0 when the number rules cast nothing (an empty
/// text), which checkCast never lets through.
CastTrigrams castTrigrams(const CastRequest& request);

/// Sum of the decimal values of the characters; a character that is not an ASCII digit
/// counts 0.
long long digitSum(std::string_view text);

/// The decimal number formed by the ASCII digits of the text, in order (0 when none).
long long textValue(std::string_view text);

} // namespace quenmar
