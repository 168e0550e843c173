#include "tally/NumberSet.h"

#include <algorithm>

namespace quenmar::tally {

std::vector<int> numbersIn(std::string_view text) {
    std::vector<int> numbers;
    constexpr int kTooLarge = 1'000'000; // no number of any lottery comes near; saturate there
    bool inNumber = false;
    int value = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            value = inNumber ? std::min(value * 10 + (c - '0'), kTooLarge) : c - '0';
            inNumber = true;
        } else if (inNumber) {
            numbers.push_back(value);
            inNumber = false;
        }
    }
    if (inNumber) {
        numbers.push_back(value);
    }
    return numbers;
}

NumberSet numberSetOf(const std::vector<int>& numbers) {
    NumberSet set;
    for (const int number : numbers) {
        set.add(number);
    }
    return set;
}

std::string twoDigitText(const std::vector<int>& numbers, std::string_view separator) {
    std::string text;
    for (const int number : numbers) {
        if (!text.empty()) {
            text += separator;
        }
        if (number >= 0 && number < 10) {
            text += '0';
        }
        text += std::to_string(number);
    }
    return text;
}

std::string twoDigitText(const NumberSet& numbers, std::string_view separator) {
    return twoDigitText(numbers.numbers(), separator);
}

} // namespace quenmar::tally
