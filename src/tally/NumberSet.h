#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The numbers of a 快乐8 bet or draw, 1..80, as a bit mask: the hits of a bet are one AND and
// one popcount, so checking many calculations against many draws costs next to nothing beyond
// computing their picks.
namespace quenmar::tally {

inline constexpr int kHighestNumber = 80;

class NumberSet {
public:
    NumberSet() = default;

    /// Adds `number`; a number outside 1..80 is not a 快乐8 number and is left out.
    void add(int number) {
        if (number >= 1 && number <= kHighestNumber) {
            const auto bit = static_cast<unsigned>(number - 1);
            (bit < 64 ? m_low : m_high) |= std::uint64_t{1} << (bit % 64);
        }
    }
    bool contains(int number) const {
        if (number < 1 || number > kHighestNumber) {
            return false;
        }
        const auto bit = static_cast<unsigned>(number - 1);
        return (((bit < 64 ? m_low : m_high) >> (bit % 64)) & 1U) != 0;
    }
    int size() const { return std::popcount(m_low) + std::popcount(m_high); }
    bool empty() const { return m_low == 0 && m_high == 0; }

    NumberSet operator&(const NumberSet& other) const {
        return NumberSet(m_low & other.m_low, m_high & other.m_high);
    }
    /// How many numbers the two sets share.
    int sharedWith(const NumberSet& other) const {
        return std::popcount(m_low & other.m_low) + std::popcount(m_high & other.m_high);
    }

    /// The numbers in ascending order.
    std::vector<int> numbers() const;

    bool operator==(const NumberSet&) const = default;

private:
    NumberSet(std::uint64_t low, std::uint64_t high) : m_low(low), m_high(high) {}

    std::uint64_t m_low = 0;  // numbers 1..64
    std::uint64_t m_high = 0; // numbers 65..80
};

/// The numbers written in a text, in order: every run of ASCII digits is one number, anything
/// else separates them ("02,07,10" and "02 07 10" alike).
std::vector<int> numbersIn(std::string_view text);

/// The set of those numbers.
NumberSet numberSetOf(const std::vector<int>& numbers);

/// Two digits each, joined by `separator`: "02,07,10".
std::string twoDigitText(const std::vector<int>& numbers, std::string_view separator);

} // namespace quenmar::tally
