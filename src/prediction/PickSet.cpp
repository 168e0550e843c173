#include "prediction/PickSet.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace quenmar {

namespace {

constexpr int kModes = 4;
constexpr std::size_t kSecondPassBelow = 30; // a short first pass gets a second post pass
constexpr double kUnitPostFactor = 0.99;     // a post factor of exactly 1.0 would change nothing
constexpr double kSecondPostFactor = 1.6;

// Every number the generator appends lies in 0..80 (0 only in the first pass), so the pick
// text holds the decimal text of a two-digit n exactly when n itself is there (no number has
// three digits, and commas split the rest), and of a one-digit n exactly when some number has
// that digit; n followed by "," occurs exactly when some number ends in n's text, which for
// two digits again means n itself. Every membership test of the rules is therefore one bit
// of a 128-bit set, numbered as below, and appending a number sets a fixed handful of them.
//   bit d, d = 0..9:       the digit d occurs in the text
//   bit n, n = 10..80:     the number n is in the text
//   bit 81 + d, d = 0..9:  some number ends in the digit d, so "d," occurs
using Bits = std::array<std::uint64_t, 2>;
using Test = std::uint8_t;     // a bit of the set: what one addition asks
constexpr int kEndsFirst = 81; // bits 81..90
constexpr int kTests = kEndsFirst + 10;
constexpr int kEndShift = kEndsFirst - 64; // the endings within the second word

constexpr void setBit(Bits& bits, int n) {
    bits[static_cast<std::size_t>(n) >> 6] |= std::uint64_t{1} << (n & 63);
}

constexpr bool hasBit(const Bits& bits, int n) {
    return (bits[static_cast<std::size_t>(n) >> 6] >> (n & 63) & 1u) != 0;
}

// The test of a value the rules add as it is (a candidate, a post-pass value up to 80: its text
// must not occur anywhere) and of a split value (its text followed by "," must not occur).
constexpr Test wholeTextTest(int n) {
    return static_cast<Test>(n);
}
constexpr Test commaTest(int n) {
    return static_cast<Test>(n >= 10 ? n : kEndsFirst + n);
}

// The number a test appends when it finds its text missing.
constexpr int valueOf(int test) {
    return test >= kEndsFirst ? test - kEndsFirst : test;
}

// The bits that appending the number of each test sets: its digits, its last digit as an
// ending, and the number itself when it has two digits.
constexpr auto Marks = [] {
    std::array<Bits, kTests> marks{};
    for (int test = 0; test < kTests; ++test) {
        const int n = valueOf(test);
        Bits& m = marks[static_cast<std::size_t>(test)];
        setBit(m, n % 10);
        setBit(m, kEndsFirst + n % 10);
        if (n >= 10) {
            setBit(m, n);
            setBit(m, n / 10);
        }
    }
    return marks;
}();

// The bits that are surely set once a test's bit is: a two-digit number brings all its marks,
// an ending brings its digit, while a digit may sit inside a number without ending it.
constexpr auto Implied = [] {
    std::array<Bits, kTests> implied{};
    for (int test = 0; test < kTests; ++test) {
        Bits& m = implied[static_cast<std::size_t>(test)];
        if (test >= 10 && test < kEndsFirst) {
            m = Marks[static_cast<std::size_t>(test)];
        } else {
            setBit(m, test);
            setBit(m, valueOf(test));
        }
    }
    return implied;
}();

// The tests of a run of additions in the rules' order (the candidates of one seed digit under
// one scale, or one post-pass value), and what they do to the set. A test that an earlier one
// of the run settles is left out: when the earlier one appends, its marks refuse the later;
// when it is refused, its bit was set already, and with it every bit that bit implies.
//
// What is left can be settled all at once. Each test is refused exactly when its bit was set
// before the run, with one exception: a comma test of the digit d behind the text test of d,
// which the text test refuses when it appends d. And a refused test's marks are set already,
// so the marks are set whatever the outcome, except the ending of a one-digit number: a
// digit refused as text may sit inside a longer number without ending one.
template <std::size_t Capacity>
struct TestList {
    Bits tests{};                   // the bit of each test
    Bits marks{};                   // what the run marks, whichever of its tests append
    std::uint16_t endsIfNew = 0;    // digits d of text tests: appending d makes "d," occur
    std::uint16_t refusedIfNew = 0; // digits d whose comma test follows the text test of d
    std::uint8_t count = 0;
    bool complete = true; // false when the run did not fit
    std::array<Test, Capacity> order{};

    void add(Test test) {
        for (std::size_t i = 0; i < count; ++i) {
            if (hasBit(Implied[order[i]], test)) {
                return;
            }
        }
        if (count == Capacity) {
            complete = false;
            return;
        }
        order[count++] = test;
        setBit(tests, test);
        if (test < 10) {
            setBit(marks, test);
            endsIfNew = static_cast<std::uint16_t>(endsIfNew | 1u << test);
            return;
        }
        if (test >= kEndsFirst && (endsIfNew >> (test - kEndsFirst) & 1u) != 0) {
            refusedIfNew = static_cast<std::uint16_t>(refusedIfNew | 1u << (test - kEndsFirst));
        }
        marks[0] |= Marks[test][0];
        marks[1] |= Marks[test][1];
    }

    // The additions of value n in the first pass (0 is added) or a post pass (0 is dropped).
    void addValue(int n, bool dropNonPositive) {
        if (n > kHighestNumber) {
            for (const int part : splitValues(n)) {
                add(commaTest(part));
            }
        } else if (!(dropNonPositive && n <= 0)) {
            add(wholeTextTest(n));
        }
    }
};

// A post-pass value: nothing, itself, or its split values (at most 18). 56 bytes.
using ValueTests = TestList<18>;
// The four candidates of one seed digit under one scale, as a table holds them (80 bytes), and
// as they are made on the spot, where the 91 tests there are always fit.
using CandidateTests = TestList<42>;
using AnyCandidateTests = TestList<kTests>;

template <typename List>
List candidateTestsOf(int digit, double s) {
    List list;
    for (int mode = 0; mode < kModes; ++mode) {
        list.addValue(candidate(digit, s, mode), false);
    }
    return list;
}

ValueTests valueTestsOf(int n) {
    ValueTests list;
    list.addValue(n, true);
    return list;
}

// One number of a post pass under the factor d.
int postScaled(int n, double d) {
    return d < 1.0 ? snapTrunc(static_cast<double>(n) / d) : snapTrunc(static_cast<double>(n) * d);
}

// A chart's factors are whole tenths: the scales x, u and v lie in 0.1..20.0 and the post
// factor in 0.0..8.0 (or is 0.99 or 1.6). The candidates' tests, the post-pass values and the
// tests of the values they give are therefore made once and looked up; any other input is
// worked out on the spot.
constexpr int kScaleTenths = 200;
constexpr int kPostTenths = 80;
constexpr int kUnitPostRow = kPostTenths + 1;
constexpr int kValueTable = 1024; // post passes stay below 80 / 0.1 = 800

struct Tables {
    std::array<std::array<CandidateTests, 10>, kScaleTenths + 1> candidates;
    bool candidatesFit = true; // every run of every tenth fits its list (they have 32 tests at most)
    std::array<std::array<std::int16_t, kHighestNumber + 1>, kUnitPostRow + 1> post;
    std::array<ValueTests, kValueTable> values;
};

const Tables& tables() {
    static const Tables built = [] {
        Tables t{};
        for (std::size_t k = 0; k <= kScaleTenths; ++k) {
            for (int digit = 0; digit <= 9; ++digit) {
                auto& list = t.candidates[k][static_cast<std::size_t>(digit)];
                list = candidateTestsOf<CandidateTests>(digit, static_cast<double>(k) / 10.0);
                t.candidatesFit = t.candidatesFit && list.complete;
            }
        }
        for (int row = 0; row <= kUnitPostRow; ++row) {
            const double d = row == kUnitPostRow ? kUnitPostFactor : row / 10.0;
            for (int n = 0; n <= kHighestNumber; ++n) {
                t.post[static_cast<std::size_t>(row)][static_cast<std::size_t>(n)] =
                    static_cast<std::int16_t>(postScaled(n, d));
            }
        }
        for (int n = 0; n < kValueTable; ++n) {
            t.values[static_cast<std::size_t>(n)] = valueTestsOf(n);
        }
        return t;
    }();
    return built;
}

// k when s is exactly k / 10 for 0 <= k <= limit, else -1.
int tenthsIndex(double s, int limit) {
    if (!(s >= 0.0 && s <= limit / 10.0)) {
        return -1;
    }
    const int k = static_cast<int>(s * 10.0 + 0.5);
    return k / 10.0 == s ? k : -1;
}

// Post factor d as a row of the post table, or nothing.
const std::array<std::int16_t, kHighestNumber + 1>* postRow(double d) {
    const int row = d == kUnitPostFactor ? kUnitPostRow : tenthsIndex(d, kPostTenths);
    return row < 0 ? nullptr : &tables().post[static_cast<std::size_t>(row)];
}

// The runs of a pass whose outcomes are settled, waiting to have their new numbers written in
// order, and the bits of the tests that append. Gathering all of a pass first leaves one loop
// to write them all, with no branch on where a run ends. A run is copied whole (the unused
// tail is overwritten by the next) and counted only when it appends something, so gathering
// takes no branch either. A test appends in at most one run of a pass (its bit is set from
// then on), and no earlier run of the pass holds it (it would have been set before), so a test
// appends exactly where it is first met among the new bits.
class Gathering {
public:
    // A pass gathers at most 201 values (120 first-pass candidates and 81 split values) of at
    // most 18 tests each, or ten seed digits' three runs of at most 91 tests.
    using Room = std::array<Test, 201 * 18 + kTests>;

    // The room is kept apart from the count and the bits, which the copies into it would
    // otherwise force out of registers.
    explicit Gathering(Room& room) : m_room(room) {}

    template <std::size_t Capacity>
    void add(const TestList<Capacity>& list, const Bits& fresh) {
        static_assert(Capacity <= kTests);
        std::memcpy(m_room.data() + m_length, list.order.data(), Capacity);
        // A product, not a choice: the compiler would make a choice a branch.
        m_length += list.count * static_cast<std::size_t>((fresh[0] | fresh[1]) != 0);
        m_new[0] |= fresh[0];
        m_new[1] |= fresh[1];
    }

    std::span<const Test> tests() const { return {m_room.data(), m_length}; }
    const Bits& newBits() const { return m_new; }

private:
    Room& m_room; // only the first m_length are read
    std::size_t m_length = 0;
    Bits m_new{};
};

// Eight bits as eight bytes of 0 or 1, the lowest bit in the first byte.
constexpr auto ByteSpread = [] {
    std::array<std::array<std::uint8_t, 8>, 256> spread{};
    for (std::size_t bits = 0; bits < spread.size(); ++bits) {
        for (std::size_t i = 0; i < 8; ++i) {
            spread[bits][i] = static_cast<std::uint8_t>(bits >> i & 1u);
        }
    }
    return spread;
}();

// The number each test appends.
constexpr auto TestValues = [] {
    std::array<std::uint8_t, kTests> values{};
    for (int test = 0; test < kTests; ++test) {
        values[static_cast<std::size_t>(test)] = static_cast<std::uint8_t>(valueOf(test));
    }
    return values;
}();

// The pick text as the set of test bits above, with its numbers in order.
class PickSet {
public:
    const PickNumbers& numbers() const { return m_numbers; }

    // Settles a run against the set, and returns the bits of its tests that append.
    template <std::size_t Capacity>
    Bits settle(const TestList<Capacity>& list) {
        Bits fresh{list.tests[0] & ~m_bits[0], list.tests[1] & ~m_bits[1]};
        const std::uint64_t newDigits = fresh[0] & list.endsIfNew;
        fresh[1] &= ~((newDigits & list.refusedIfNew) << kEndShift);
        m_bits[0] |= list.marks[0];
        m_bits[1] |= list.marks[1] | newDigits << kEndShift;
        return fresh;
    }

    template <std::size_t Capacity>
    void add(const TestList<Capacity>& list, Gathering& gathering) {
        gathering.add(list, settle(list));
    }

    // The new numbers of the gathered runs, in order. Every number is written and only the
    // new ones are counted: no branch on whether a number is new, which no predictor guesses.
    // Takes the gathering's parts, not the gathering: one whose address is handed on cannot
    // keep its count and bits in registers while it gathers.
    void write(std::span<const Test> tests, const Bits newBits) {
        // The new bits one byte a test, each cleared where its test is first met.
        std::array<std::uint8_t, 128> isNew;
        for (std::size_t byte = 0; byte < 16; ++byte) {
            const std::uint64_t bits = newBits[byte / 8] >> (byte % 8 * 8) & 0xFF;
            std::memcpy(isNew.data() + 8 * byte, ByteSpread[bits].data(), 8);
        }
        for (const Test test : tests) {
            const bool fresh = isNew[test] != 0;
            isNew[test] = 0;
            m_numbers.appendIf(TestValues[test], fresh); // distinct numbers of 0..80
        }
    }

private:
    PickNumbers m_numbers;
    Bits m_bits{};
};

// Steps 5 and 6: the first-pass numbers rescaled by d, then, after a short first pass, the
// result rescaled once more and appended.
PickNumbers postPasses(std::span<const int> firstPass, double d) {
    if (d == 1.0) {
        d = kUnitPostFactor;
    }
    const auto& valueTests = tables().values;
    const auto* row = postRow(d);
    PickSet pick;
    const auto add = [&](int n, Gathering& gathering) {
        const int m = row != nullptr && n >= 0 && n <= kHighestNumber ? (*row)[static_cast<std::size_t>(n)]
                                                                      : postScaled(n, d);
        if (m >= 0 && m < kValueTable) {
            pick.add(valueTests[static_cast<std::size_t>(m)], gathering);
        } else {
            pick.add(valueTestsOf(m), gathering);
        }
    };
    Gathering::Room room;
    {
        Gathering first(room);
        for (const int n : firstPass) {
            add(n, first);
        }
        pick.write(first.tests(), first.newBits());
    }
    if (firstPass.size() < kSecondPassBelow) {
        if (d == kUnitPostFactor) {
            d = kSecondPostFactor;
            row = postRow(d);
        }
        Gathering second(room);
        // The numbers as the pass begins: the new ones are written only when it ends.
        for (const int n : pick.numbers().values()) {
            add(n, second);
        }
        pick.write(second.tests(), second.newBits());
    }
    return pick.numbers();
}

// The candidate tests of one scale for each seed digit: from the table when the scale is a
// whole number of tenths up to 20.0 (whose runs all fit the table's lists), else made on the
// spot.
class ScaleTests {
public:
    explicit ScaleTests(double s) : m_scale(s) {
        if (const int k = tenthsIndex(s, kScaleTenths); k >= 0 && tables().candidatesFit) {
            m_row = &tables().candidates[static_cast<std::size_t>(k)];
        }
    }

    void addTo(PickSet& pick, Gathering& gathering, int digit) const {
        if (m_row != nullptr) {
            pick.add((*m_row)[static_cast<std::size_t>(digit)], gathering);
        } else {
            pick.add(candidateTestsOf<AnyCandidateTests>(digit, m_scale), gathering);
        }
    }

private:
    double m_scale;
    const std::array<CandidateTests, 10>* m_row = nullptr;
};

} // namespace

PickNumbers expandSeedOnSets(std::string_view seed, double x, double u, double v, double d) {
    // A scale equal to an earlier one repeats that scale's candidates right behind them (or
    // behind the x candidates), and every one of them would be refused.
    const std::array<ScaleTests, 3> all{ScaleTests(x), ScaleTests(u), ScaleTests(v)};
    std::array<const ScaleTests*, 3> scales{&all[0]};
    std::size_t scaleCount = 1;
    if (u != x) {
        scales[scaleCount++] = &all[1];
    }
    if (v != x && v != u) {
        scales[scaleCount++] = &all[2];
    }
    // A digit met again repeats its candidates, and each would find its text there already.
    unsigned seen = 0;
    Gathering::Room room;
    Gathering gathering(room);
    PickSet firstPass;
    for (const char c : seed) {
        const int digit = c - '0';
        if (digit < 0 || digit > 9 || (seen >> digit & 1u) != 0) {
            continue;
        }
        seen |= 1u << digit;
        for (std::size_t k = 0; k < scaleCount; ++k) {
            scales[k]->addTo(firstPass, gathering, digit);
        }
    }
    firstPass.write(gathering.tests(), gathering.newBits());
    return postPasses(firstPass.numbers().values(), d);
}

PickNumbers postPassesOnSets(std::span<const int> firstPass, double d) {
    return postPasses(firstPass, d);
}

} // namespace quenmar
