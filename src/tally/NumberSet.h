#pragma once

#include "prediction/NumberSet.h"

#include <string>
#include <string_view>
#include <vector>

// Numbers in texts and texts of numbers, for bets, picks and draws.
namespace quenmar::tally {

using quenmar::kHighestNumber;
using quenmar::NumberSet;

/// The numbers written in a text, in order: every run of ASCII digits is one number, anything
/// else separates them ("02,07,10" and "02 07 10" alike).
std::vector<int> numbersIn(std::string_view text);

/// The set of those numbers.
NumberSet numberSetOf(const std::vector<int>& numbers);

/// Two digits each, joined by `separator`: "02,07,10".
std::string twoDigitText(const std::vector<int>& numbers, std::string_view separator);
/// The same of a set's numbers, ascending.
std::string twoDigitText(const NumberSet& numbers, std::string_view separator);

} // namespace quenmar::tally
