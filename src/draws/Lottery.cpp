#include "draws/Lottery.h"

#include "base/Utf8.h"
#include "draws/DrawResult.h"

#include <algorithm>
#include <vector>

namespace quenmar::draws {

namespace {

std::string twoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

// "6 different numbers from 01 to 33", "one number from 01 to 16", "3 digits".
std::string zoneWords(const NumberZone& zone) {
    if (zone.width == 1) {
        return std::to_string(zone.count) + "个数字";
    }
    const bool padded = zone.width == 2;
    std::string range = padded ? twoDigits(zone.low) : std::to_string(zone.low);
    range += "至";
    range += padded ? twoDigits(zone.high) : std::to_string(zone.high);
    range += "之间的";
    if (zone.count == 1) {
        return range + "一个号码";
    }
    return range + std::to_string(zone.count) + (zone.distinct ? "个不同号码" : "个号码");
}

// True when the text is `zone.count` numbers of the zone's width, each within its range.
bool fitsZone(std::string_view text, const NumberZone& zone) {
    if (zone.count == 0) {
        return text.empty();
    }
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    const std::size_t width = zone.width == 0 ? text.size() : static_cast<std::size_t>(zone.width);
    if (width > 2 || text.size() != width * static_cast<std::size_t>(zone.count)) {
        return false;
    }
    std::vector<int> numbers;
    for (std::size_t i = 0; i < text.size(); i += width) {
        int value = 0;
        for (const char c : text.substr(i, width)) {
            value = value * 10 + (c - '0');
        }
        if (value < zone.low || value > zone.high) {
            return false;
        }
        numbers.push_back(value);
    }
    std::sort(numbers.begin(), numbers.end());
    return !zone.distinct || std::adjacent_find(numbers.begin(), numbers.end()) == numbers.end();
}

} // namespace

std::optional<Lottery> lotteryByCode(int code) {
    for (const Lottery& lottery : kLotteries) {
        if (lottery.code == code) {
            return lottery;
        }
    }
    return std::nullopt;
}

std::string displayNumbers(const Lottery& lottery, const DrawResult& draw) {
    return lottery.showsExtra ? draw.mainNumbers + draw.extraNumbers : draw.mainNumbers;
}

std::optional<std::string> implausibility(const Lottery& lottery, const DrawResult& draw) {
    if (utf8::length(draw.issue) > kMaxDrawTextLength) {
        return "期号超过" + std::to_string(kMaxDrawTextLength) + "个字符";
    }
    if (utf8::length(draw.date) > kMaxDrawTextLength) {
        return "日期超过" + std::to_string(kMaxDrawTextLength) + "个字符";
    }
    if (draw.mainNumbers.empty() && draw.extraNumbers.empty()) {
        return std::nullopt;
    }
    if (!fitsZone(draw.mainNumbers, lottery.mainZone)) {
        return "主号码不是" + zoneWords(lottery.mainZone);
    }
    if (!fitsZone(draw.extraNumbers, lottery.extraZone)) {
        return lottery.extraZone.count == 0 ? std::string("不应有附加号码")
                                            : "附加号码不是" + zoneWords(lottery.extraZone);
    }
    return std::nullopt;
}

} // namespace quenmar::draws
