#pragma once

#include <string>
#include <vector>

namespace quenmar {

/// How the primary hexagram is cast. The input panel's request also holds the two states
/// before a method is chosen; a value read from a saved record may lie beyond them all.
enum class CastMethod : int {
    Cleared = -1,       // after "重设"
    None = 0,           // the prompt entry of the method picker
    ByNumber = 1,       // 数字起卦
    ByHand = 2,         // 自己装卦
    ByMilliseconds = 3, // 超时空起卦
};

/// Time choice of the millisecond method.
enum class TimeChoice : int {
    None = 0,
    Current = 1, // 当前时间
    Draw = 2,    // 开奖时间
};

/// The inputs of one calculation as the input panel hands them to the engine.
struct CastRequest {
    bool invalid = false; // carries only a validation message; never cast
    int recordId = 0;     // row id of a reopened saved calculation, else 0
    CastMethod method = CastMethod::None;
    std::string upperLines;                   // by hand: lines 4-6, bottom first, "1" yang "0" yin
    std::string lowerLines;                   // by hand: lines 1-3
    std::vector<int> movingFlags;             // by hand: per line, line 1 first: 1, -1 or 0
    std::string numberText;                   // by number: the typed number; by milliseconds: filled
    int zodiac = 0;                           // 1..12, 子鼠 first; 0 none chosen, -1 after "重设"
    double moment = 0.0;                      // days since 1899-12-30 00:00 local time
    TimeChoice timeChoice = TimeChoice::None; // by milliseconds only

    bool operator==(const CastRequest&) const = default;
};

/// Lottery codes with a draw schedule; the codes of every lottery are the draws layer's.
inline constexpr int kGameHappy8 = 100;      // 快乐8, daily at 21:30
inline constexpr int kGameDoubleColor = 101; // 双色球, Tue Thu Sun at 21:15
inline constexpr int kGameSevenStar = 106;   // 七星彩, Tue Fri Sun at 21:25

} // namespace quenmar
