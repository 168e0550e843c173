#include "engine/Casting.h"

#include "base/Utf8.h"
#include "engine/Calendar.h"
#include "engine/Moment.h"
#include "engine/Tables.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quenmar {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int mod8(long long x) {
    const long long r = x % 8;
    return r == 0 ? 8 : static_cast<int>(r);
}

int mod6(long long x) {
    const long long r = x % 6;
    return r == 0 ? 6 : static_cast<int>(r);
}

long long floorMod(long long value, long long modulus) {
    const long long r = value % modulus;
    return r < 0 ? r + modulus : r;
}

// Flip character `index` (0-based) of a line text: "0" becomes "1", anything else "0".
std::string flipAt(std::string_view lines, int index) {
    std::string result;
    result.reserve(lines.size());
    int i = 0;
    for (std::size_t pos = 0; pos < lines.size(); ++i) {
        const std::size_t len = utf8::charLength(lines, pos);
        if (i == index) {
            result += (len == 1 && lines[pos] == '0') ? '1' : '0';
        } else {
            result.append(lines.substr(pos, len));
        }
        pos += len;
    }
    return result;
}

int flagAt(const std::vector<int>& flags, std::size_t index) {
    return index < flags.size() ? flags[index] : 0;
}

} // namespace

long long digitSum(std::string_view text) {
    long long sum = 0;
    for (const char c : text) {
        if (isDigit(c)) {
            sum += c - '0';
        }
    }
    return sum;
}

long long textValue(std::string_view text) {
    long long value = 0;
    for (const char c : text) {
        if (isDigit(c)) {
            value = value * 10 + (c - '0');
        }
    }
    return value;
}

std::optional<NumberCast> castByNumber(std::string_view numberText, int hourNumber) {
    // Every rule names three values: the upper trigram's, the lower's and the moving line's.
    const auto cast = [](long long upper, long long lower, long long moving) {
        return NumberCast{mod8(upper), mod8(lower), mod6(moving)};
    };
    const auto digit = [numberText](std::size_t index) {
        return textValue(utf8::charAt(numberText, index));
    };
    const std::size_t length = utf8::length(numberText);
    switch (length) {
    case 0:
        return std::nullopt;
    case 1: {
        // The moving line counts the two trigrams' numbers, not the raw values.
        const int upper = mod8(textValue(numberText));
        const int lower = mod8(hourNumber);
        return cast(upper, lower, upper + lower);
    }
    case 2:
        return cast(digit(0), digit(1), digit(0) + digit(1));
    case 3: {
        const int zero = utf8::find(numberText, "0");
        if (zero < 0) {
            return cast(digit(0), digit(1), digit(2));
        }
        if (zero == 1) {
            // A zero in the middle makes the first two characters one value (10 .. 90):
            // both trigrams are the same, so the hexagram is always a pure one.
            const long long t = textValue(utf8::first(numberText, 2));
            return cast(t, t, digit(2));
        }
        const long long r = textValue(utf8::last(numberText, 2));
        return cast(digit(0), r, digit(0) + r);
    }
    default: {
        const std::size_t k = length / 2;
        const long long upperSum = digitSum(utf8::first(numberText, k));
        if (length % 2 == 0) {
            return cast(upperSum, digitSum(utf8::last(numberText, k)), digitSum(numberText));
        }
        // An odd length gives the middle character to the lower part, and the moving line
        // then comes from the lower part alone.
        const long long lowerSum = digitSum(utf8::last(numberText, k + 1));
        return cast(upperSum, lowerSum, lowerSum);
    }
    }
}

HandCast castByHand(std::string_view upperLines, std::string_view lowerLines,
                    const std::vector<int>& movingFlags) {
    return HandCast{trigramNumber(upperLines), trigramNumber(lowerLines), movingFlags};
}

ChangedLines changedByMovingLine(std::string_view upperLines, std::string_view lowerLines, int movingLine) {
    ChangedLines changed{std::string(upperLines), std::string(lowerLines)};
    if (movingLine >= 1 && movingLine <= 3) {
        changed.lowerLines = flipAt(lowerLines, movingLine - 1);
    } else if (movingLine >= 4 && movingLine <= 6) {
        changed.upperLines = flipAt(upperLines, movingLine - 4);
    }
    return changed;
}

ChangedLines changedByFlags(std::string_view upperLines, std::string_view lowerLines,
                            const std::vector<int>& movingFlags) {
    ChangedLines changed{std::string(upperLines), std::string(lowerLines)};
    for (int i = 0; i < 3; ++i) {
        if (flagAt(movingFlags, static_cast<std::size_t>(i)) != 0) {
            changed.lowerLines = flipAt(changed.lowerLines, i);
        }
        if (flagAt(movingFlags, static_cast<std::size_t>(i + 3)) != 0) {
            changed.upperLines = flipAt(changed.upperLines, i);
        }
    }
    return changed;
}

namespace {

// The lotteries with a draw schedule: the draw's minute past 21:00 and its weekdays, Sunday
// first. A moment from 22:00 on has missed the day's draw and takes the next one, except for
// 快乐8, whose missed draw is still the day's.
struct DrawSchedule {
    int gameCode;
    int minute;
    std::string_view weekdays;
    bool lateTakesNext;
};

constexpr std::array<DrawSchedule, 3> kDrawSchedules{{
    {kGameHappy8, 30, "1111111", false},
    {kGameDoubleColor, 15, "1010100", true}, // Sunday, Tuesday, Thursday
    {kGameSevenStar, 25, "1010010", true},   // Sunday, Tuesday, Friday
}};

constexpr int kDrawHour = 21;
constexpr int kLateHour = 22;

} // namespace

double drawMoment(double now, int gameCode) {
    const auto t = dateTimeFromMoment(now);
    const auto schedule = std::find_if(kDrawSchedules.begin(), kDrawSchedules.end(),
                                       [gameCode](const DrawSchedule& s) { return s.gameCode == gameCode; });
    if (!t || schedule == kDrawSchedules.end()) {
        return now;
    }
    const int today = weekday(*t) - 1; // Sunday 0 ... Saturday 6
    int addDays = t->hour >= kLateHour && schedule->lateTakesNext ? 1 : 0;
    while (schedule->weekdays[static_cast<std::size_t>((today + addDays) % 7)] != '1') {
        ++addDays;
    }
    const std::int64_t day = dayNumberOfDate(t->year, t->month, t->day) + addDays;
    const std::int64_t msOfDay =
        ((static_cast<std::int64_t>(kDrawHour) * 60 + schedule->minute) * 60 + t->second) * 1000;
    return momentFromDay(day, msOfDay);
}

void prepareRequest(CastRequest& request, int gameCode, const ClockReading& now) {
    switch (request.method) {
    case CastMethod::ByNumber:
        if (!request.numberText.empty()) {
            request.moment = now.moment;
        }
        break;
    case CastMethod::ByMilliseconds:
        if (request.recordId == 0) {
            const std::int64_t n = epochMs(now.moment, now.standardBiasMinutes);
            if (request.timeChoice == TimeChoice::Draw) {
                request.moment = drawMoment(now.moment, gameCode);
                // The draw moment has no milliseconds of its own; the clock's are added so
                // that two casts in the same second still differ.
                request.numberText =
                    std::to_string(epochMs(request.moment, now.standardBiasMinutes) + floorMod(n, 1000));
            } else {
                request.moment = now.moment;
                request.numberText = std::to_string(n);
            }
        }
        break;
    default:
        break;
    }
}

CastTrigrams castTrigrams(const CastRequest& request) {
    CastTrigrams cast;
    ChangedLines changed;
    if (request.method == CastMethod::ByHand) {
        HandCast hand = castByHand(request.upperLines, request.lowerLines, request.movingFlags);
        cast.upper = hand.upper;
        cast.lower = hand.lower;
        cast.movingFlags = std::move(hand.movingFlags);
        changed = changedByFlags(trigramLines(cast.upper), trigramLines(cast.lower), cast.movingFlags);
    } else {
        const std::optional<NumberCast> byNumber =
            castByNumber(request.numberText, hourNumber(request.moment));
        if (!byNumber) {
            return cast;
        }
        cast.upper = byNumber->upper;
        cast.lower = byNumber->lower;
        cast.movingLine = byNumber->movingLine;
        changed = changedByMovingLine(trigramLines(cast.upper), trigramLines(cast.lower), cast.movingLine);
    }
    cast.changedUpper = trigramNumber(changed.upperLines);
    cast.changedLower = trigramNumber(changed.lowerLines);
    return cast;
}

} // namespace quenmar
