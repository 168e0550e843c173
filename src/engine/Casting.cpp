#include "engine/Casting.h"

#include "engine/Moment.h"
#include "engine/Tables.h"
#include "base/Utf8.h"

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
    const std::size_t length = utf8::length(numberText);
    NumberCast cast;
    switch (length) {
    case 0:
        return std::nullopt;
    case 1: {
        cast.upper = mod8(textValue(numberText));
        cast.lower = mod8(hourNumber);
        cast.movingLine = mod6(cast.upper + cast.lower);
        return cast;
    }
    case 2: {
        const long long a = textValue(utf8::charAt(numberText, 0));
        const long long b = textValue(utf8::charAt(numberText, 1));
        cast.upper = mod8(a);
        cast.lower = mod8(b);
        cast.movingLine = mod6(a + b);
        return cast;
    }
    case 3: {
        const int zero = utf8::find(numberText, "0");
        const std::string_view third = utf8::charAt(numberText, 2);
        if (zero < 0) {
            cast.upper = mod8(textValue(utf8::charAt(numberText, 0)));
            cast.lower = mod8(textValue(utf8::charAt(numberText, 1)));
            cast.movingLine = mod6(textValue(third));
        } else if (zero == 1) {
            // A zero in the middle makes the first two characters one value (10 .. 90):
            // both trigrams are the same, so the hexagram is always a pure one.
            const long long t = textValue(utf8::first(numberText, 2));
            cast.upper = mod8(t);
            cast.lower = cast.upper;
            cast.movingLine = mod6(textValue(third));
        } else {
            const long long a = textValue(utf8::charAt(numberText, 0));
            const long long r = textValue(utf8::last(numberText, 2));
            cast.upper = mod8(a);
            cast.lower = mod8(r);
            cast.movingLine = mod6(a + r);
        }
        return cast;
    }
    default: {
        const std::size_t k = length / 2;
        cast.upper = mod8(digitSum(utf8::first(numberText, k)));
        if (length % 2 == 0) {
            cast.lower = mod8(digitSum(utf8::last(numberText, k)));
            cast.movingLine = mod6(digitSum(numberText));
        } else {
            // An odd length gives the middle character to the lower part, and the moving
            // line then comes from the lower part alone.
            const long long lowerSum = digitSum(utf8::last(numberText, k + 1));
            cast.lower = mod8(lowerSum);
            cast.movingLine = mod6(lowerSum);
        }
        return cast;
    }
    }
}

HandCast castByHand(std::string_view upperLines, std::string_view lowerLines, const std::vector<int>& movingFlags) {
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

double drawMoment(double now, int gameCode) {
    const auto t = dateTimeFromMoment(now);
    if (!t || (gameCode != kGameHappy8 && gameCode != kGameDoubleColor && gameCode != kGameSevenStar)) {
        return now;
    }
    const int w = weekday(*t); // Sunday 1 ... Saturday 7
    const bool late = t->hour >= 22;
    int addDays = 0;
    int hour = 21;
    int minute = 30;
    switch (gameCode) {
    case kGameHappy8:
        // Daily: the same day's draw, even when it is already past.
        break;
    case kGameDoubleColor:
        minute = 15;
        if (w == 1 || w == 3) {
            addDays = late ? 2 : 0;
        } else if (w == 5) {
            addDays = late ? 3 : 0;
        } else if (w == 6) {
            addDays = 2;
        } else {
            addDays = 1;
        }
        break;
    case kGameSevenStar:
        minute = 25;
        if (w == 1 || w == 6) {
            addDays = late ? 2 : 0;
        } else if (w == 3) {
            addDays = late ? 3 : 0;
        } else if (w == 4) {
            addDays = 2;
        } else {
            addDays = 1;
        }
        break;
    default:
        break;
    }
    const std::int64_t day = dayNumberOfDate(t->year, t->month, t->day) + addDays;
    const std::int64_t msOfDay = ((static_cast<std::int64_t>(hour) * 60 + minute) * 60 + t->second) * 1000;
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

} // namespace quenmar
