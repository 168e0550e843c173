#pragma once

#include "prediction/NumberBasis.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The pick generator: for one pick number and a number basis, a seed of distinct digits, its
// expansion into candidate numbers under three scale factors, and two post passes under a
// fourth. The text helpers below are the rules as stated, on the pick text itself; the
// generator runs the same rules on a compact set of numbers and gives identical results.
namespace quenmar {

inline constexpr int kPickCount = 11;     // ten bets and the pre-selection
inline constexpr int kHighestNumber = 80; // the draw takes 20 of 1..80

/// The numbers of one raw pick in generation order: distinct, each 1..80.
class PickNumbers {
public:
    std::span<const int> values() const { return {m_values.data(), m_count}; }
    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }

    /// Appends a number; the generator guarantees it is new and in 1..80.
    void push(int n) {
        if (m_count < kMostNumbers) {
            m_values[m_count++] = n;
        }
    }

    /// Writes n after the last number and keeps it only when `keep`: how the generator appends
    /// without a branch on whether a number is new. Needs size() below 81.
    void appendIf(int n, bool keep) {
        m_values[m_count] = n;
        m_count += keep ? 1 : 0;
    }

    /// The pick text: every number followed by ",", e.g. "12,5,80,"; empty for no number.
    std::string text() const;

    bool operator==(const PickNumbers& other) const;

private:
    static constexpr std::size_t kMostNumbers = kHighestNumber + 1; // 0..80 in a first pass
    std::array<int, kMostNumbers + 1> m_values{};                   // one spare place for appendIf
    std::size_t m_count = 0;
};

/// The seed and factors of one pick.
struct PickPlan {
    std::string seed; // distinct digit characters in order of first insertion
    double u = 0.0;
    double v = 0.0;
    double t = 0.0;
    double d = 0.0; // the post factor, from u, v and t

    bool operator==(const PickPlan&) const = default;
};

/// Seed and factors of pick 1..11 under the chart factor x; an empty plan for any other pick.
PickPlan planPick(const NumberBasis& basis, int pick, double x);

/// The raw pick text of pick 1..11 (x is the basis's chart factor); empty for any other pick.
std::string generatePick(const NumberBasis& basis, int pick, double x);

/// The numbers of generatePick without building the text.
PickNumbers generatePickNumbers(const NumberBasis& basis, int pick, double x);

/// First pass over the seed under the scales x, u, v, then the post passes under d. Characters
/// of the seed that are not ASCII digits are passed over.
std::string expandSeed(std::string_view seed, double x, double u, double v, double d);
PickNumbers expandSeedNumbers(std::string_view seed, double x, double u, double v, double d);

/// Code 0..90 of two digits (row a, column b); 0 when either is outside 0..9.
int pairCode(int a, int b);

/// The candidate of a seed digit under scale s in mode 0..3 (the digit 0 counts as 10); 0 for
/// any other mode.
int candidate(int digit, double s, int mode);

/// Quotient value / divisor when it lies in 1..80, then the remainder when it is not 0.
/// Nothing for a divisor of 0.
std::vector<int> splitLarge(int value, int divisor);

/// The values addValue tries for n above 80: splitLarge under 80, 2, 3, ..., 9 in turn.
std::vector<int> splitValues(int n);

/// Truncation toward zero, snapped away from zero when the fraction is within 0.000001 of a
/// whole unit. Not-finite values give 0; values beyond the int range saturate.
int snapTrunc(double r);

/// Appends the decimal text of n to the seed unless that text already occurs in it.
void addDigit(std::string& seed, int n);

/// Adds pairCode(a, b) to the seed: as one digit below 10, else its first and last characters.
void addPairCode(std::string& seed, int a, int b);

/// Adds n to a pick text. Up to 80 it is appended with "," unless its text occurs anywhere in
/// the pick text (or it is not positive and dropNonPositive is set); above 80 its split values
/// under the divisors 80, 2..9 are appended, each unless it occurs followed by ",".
void addValue(std::string& text, int n, bool dropNonPositive);

} // namespace quenmar
