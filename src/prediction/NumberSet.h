#pragma once

#include "prediction/PickGenerator.h"

#include <bit>
#include <cstdint>
#include <vector>

namespace quenmar {

/// Numbers of 1..80 (a 快乐8 bet, a pick or a draw) as a bit mask: the hits of a bet are one
/// AND and one popcount, so checking many calculations against many draws costs next to
/// nothing beyond computing their picks.
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

    /// Calls `visit` with each number, ascending.
    template <typename Visit>
    void forEach(Visit visit) const {
        for (std::uint64_t bits = m_low; bits != 0; bits &= bits - 1) {
            visit(1 + std::countr_zero(bits));
        }
        for (std::uint64_t bits = m_high; bits != 0; bits &= bits - 1) {
            visit(65 + std::countr_zero(bits));
        }
    }
    /// The numbers in ascending order.
    std::vector<int> numbers() const {
        std::vector<int> out;
        out.reserve(static_cast<std::size_t>(size()));
        forEach([&out](int number) { out.push_back(number); });
        return out;
    }

    bool operator==(const NumberSet&) const = default;

private:
    NumberSet(std::uint64_t low, std::uint64_t high) : m_low(low), m_high(high) {}

    std::uint64_t m_low = 0;  // numbers 1..64
    std::uint64_t m_high = 0; // numbers 65..80
};

} // namespace quenmar
