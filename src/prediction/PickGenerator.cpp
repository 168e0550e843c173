#include "prediction/PickGenerator.h"

#include "prediction/BaseNumbers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

namespace quenmar {

namespace {

// Row a, column b.
constexpr std::array<std::array<int, 10>, 10> PairCodes{{
    {23, 4, 7, 8, 7, 27, 9, 8, 9, 4},
    {5, 0, 6, 4, 9, 8, 49, 8, 4, 4},
    {3, 4, 36, 6, 5, 0, 9, 38, 3, 0},
    {8, 6, 6, 0, 6, 2, 1, 6, 16, 2},
    {3, 6, 1, 6, 57, 2, 5, 2, 1, 50},
    {27, 0, 7, 4, 7, 0, 0, 6, 2, 2},
    {3, 49, 3, 8, 7, 0, 90, 8, 4, 0},
    {8, 4, 38, 4, 2, 8, 8, 0, 3, 0},
    {7, 4, 6, 16, 5, 2, 5, 2, 14, 4},
    {5, 0, 0, 6, 50, 8, 0, 8, 4, 0},
}};

// A value above 80 is broken down under each of these in turn.
constexpr std::array<int, 9> SplitDivisors{80, 2, 3, 4, 5, 6, 7, 8, 9};

constexpr int kModes = 4;
constexpr double kSnapFraction = 0.999999;
constexpr std::size_t kSecondPassBelow = 30; // a short first pass gets a second post pass
constexpr double kUnitPostFactor = 0.99;     // a post factor of exactly 1.0 would change nothing
constexpr double kSecondPostFactor = 1.6;

int saturated(long long value) {
    return static_cast<int>(std::clamp<long long>(value, -INT_MAX, INT_MAX));
}

std::string decimal(long long n) {
    std::array<char, 24> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), n).ptr;
    return std::string(buffer.data(), end);
}

// The seed is a handful of digit characters. A mask of the digit characters it holds answers
// the one-digit membership tests; a text of several characters (only from a basis filled by
// hand with values outside 0..9) is looked up in the seed itself.
class SeedBuilder {
public:
    void addText(std::string_view text) {
        if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') {
            addChar(text[0]);
            return;
        }
        if (m_seed.find(text) == std::string::npos) {
            for (const char c : text) {
                mark(c);
            }
            m_seed += text;
        }
    }

    void addChar(char c) {
        if (c >= '0' && c <= '9') {
            if ((m_digits >> (c - '0') & 1u) == 0) {
                mark(c);
                m_seed += c;
            }
        } else if (m_seed.find(c) == std::string::npos) {
            m_seed += c;
        }
    }

    void addDigit(long long n) {
        if (n >= 0 && n <= 9) {
            addChar(static_cast<char>('0' + n));
        } else {
            addText(decimal(n));
        }
    }

    void addPairCode(int a, int b) {
        const int p = pairCode(a, b);
        if (p < 10) {
            addDigit(p);
            return;
        }
        const std::string text = decimal(p);
        addChar(text.front());
        addChar(text.back());
    }

    std::string take() { return std::move(m_seed); }

private:
    void mark(char c) {
        if (c >= '0' && c <= '9') {
            m_digits |= 1u << (c - '0');
        }
    }

    std::string m_seed;
    unsigned m_digits = 0;
};

// The pick text as a set. Every number the generator appends lies in 0..80 (0 only in the
// first pass), so a text holds the decimal text of a one-digit n exactly when some number has
// that digit, and of a two-digit n exactly when n itself is there (no number has three
// digits, and commas split the rest); n followed by "," occurs exactly when some number ends
// in n's text, which for two digits again means n itself. Bits of the numbers present, of the
// digits used and of the last digits therefore answer every membership test of the text.
class PickSet {
public:
    std::size_t size() const { return m_count; }
    int operator[](std::size_t i) const { return m_values[i]; }
    std::span<const int> values() const { return {m_values.data(), m_count}; }

    // Adds n under the rules of addValue. The first pass may only hand in n >= 0.
    void add(int n, bool dropNonPositive) {
        if (n <= kHighestNumber) {
            if (n < 0 || (n == 0 && dropNonPositive)) {
                return;
            }
            if (!holdsText(n)) {
                append(n);
            }
            return;
        }
        for (const int divisor : SplitDivisors) {
            const int quotient = n / divisor;
            if (quotient >= 1 && quotient <= kHighestNumber && !holdsWithComma(quotient)) {
                append(quotient);
            }
            const int remainder = n % divisor;
            if (remainder != 0 && !holdsWithComma(remainder)) {
                append(remainder);
            }
        }
    }

    PickNumbers numbers() const {
        PickNumbers out;
        for (std::size_t i = 0; i < m_count; ++i) {
            out.push(m_values[i]);
        }
        return out;
    }

private:
    bool holds(int n) const { return (m_present[static_cast<unsigned>(n) >> 6] >> (n & 63) & 1u) != 0; }
    bool holdsText(int n) const { return n < 10 ? (m_digits >> n & 1u) != 0 : holds(n); }
    bool holdsWithComma(int n) const { return n < 10 ? (m_lastDigits >> n & 1u) != 0 : holds(n); }

    void append(int n) {
        if (m_count == m_values.size()) {
            return; // cannot happen: the numbers are distinct and 0..80
        }
        m_values[m_count++] = n;
        m_present[static_cast<unsigned>(n) >> 6] |= std::uint64_t{1} << (n & 63);
        m_digits |= 1u << (n % 10);
        m_lastDigits |= 1u << (n % 10);
        if (n >= 10) {
            m_digits |= 1u << (n / 10);
        }
    }

    std::array<int, kHighestNumber + 1> m_values{};
    std::size_t m_count = 0;
    std::array<std::uint64_t, 2> m_present{};
    unsigned m_digits = 0;
    unsigned m_lastDigits = 0;
};

int postScaled(int n, double d) {
    return d < 1.0 ? snapTrunc(static_cast<double>(n) / d) : snapTrunc(static_cast<double>(n) * d);
}

// Steps 5 and 6: the first-pass numbers rescaled by d, then, after a short first pass, the
// result rescaled once more and appended.
PickNumbers postPasses(std::span<const int> firstPass, double d) {
    PickSet pick;
    if (d == 1.0) {
        d = kUnitPostFactor;
    }
    for (const int n : firstPass) {
        pick.add(postScaled(n, d), true);
    }
    if (firstPass.size() < kSecondPassBelow) {
        if (d == kUnitPostFactor) {
            d = kSecondPostFactor;
        }
        const std::size_t count = pick.size();
        for (std::size_t i = 0; i < count; ++i) {
            pick.add(postScaled(pick[i], d), true);
        }
    }
    return pick.numbers();
}

// The first pass on the pick text itself, for scales below zero: their candidates can be
// negative, and a "-" in the text is beyond what the set answers.
std::vector<int> firstPassAsText(std::string_view seed, const std::array<double, 3>& scales) {
    std::string text;
    for (const char c : seed) {
        if (c < '0' || c > '9') {
            continue;
        }
        for (const double s : scales) {
            for (int mode = 0; mode < kModes; ++mode) {
                addValue(text, candidate(c - '0', s, mode), false);
            }
        }
    }
    std::vector<int> items;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t comma = text.find(',', pos);
        int n = 0;
        std::from_chars(text.data() + pos, text.data() + comma, n);
        items.push_back(n);
        pos = comma + 1;
    }
    return items;
}

} // namespace

std::string PickNumbers::text() const {
    std::string out;
    out.reserve(m_count * 3);
    for (const int n : values()) {
        std::array<char, 12> buffer{};
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), n).ptr;
        out.append(buffer.data(), end);
        out += ',';
    }
    return out;
}

bool PickNumbers::operator==(const PickNumbers& other) const {
    return std::ranges::equal(values(), other.values());
}

int pairCode(int a, int b) {
    if (a < 0 || a > 9 || b < 0 || b > 9) {
        return 0;
    }
    return PairCodes[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)];
}

int snapTrunc(double r) {
    if (!std::isfinite(r)) {
        return 0;
    }
    if (r >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (r <= -static_cast<double>(INT_MAX)) {
        return -INT_MAX;
    }
    const double i = std::trunc(r);
    auto result = static_cast<long long>(i);
    // Snapped by the sign of r: −0.9999999 truncates to 0 yet lies next to −1.
    if (std::fabs(r - i) >= kSnapFraction) {
        result += r < 0.0 ? -1 : 1;
    }
    return saturated(result);
}

int candidate(int digit, double s, int mode) {
    const long long n = digit == 0 ? 10 : digit;
    const auto nonZeroMagnitude = [](long long r) {
        return saturated(r == 0 ? 10 : (r < 0 ? -r : r));
    };
    switch (mode) {
    case 0:
        return snapTrunc(static_cast<double>(n) * s);
    case 1:
        return saturated(n + snapTrunc(static_cast<double>(n) * s));
    case 2:
        return nonZeroMagnitude(n - snapTrunc(static_cast<double>(n) * s));
    case 3:
        return nonZeroMagnitude(snapTrunc(static_cast<double>(n) / s));
    default:
        return 0;
    }
}

std::vector<int> splitLarge(int value, int divisor) {
    std::vector<int> parts;
    if (divisor == 0) {
        return parts;
    }
    const long long quotient = static_cast<long long>(value) / divisor;
    if (quotient >= 1 && quotient <= kHighestNumber) {
        parts.push_back(static_cast<int>(quotient));
    }
    const long long remainder = static_cast<long long>(value) % divisor;
    if (remainder != 0) {
        parts.push_back(static_cast<int>(remainder));
    }
    return parts;
}

void addDigit(std::string& seed, int n) {
    const std::string text = decimal(n);
    if (seed.find(text) == std::string::npos) {
        seed += text;
    }
}

void addPairCode(std::string& seed, int a, int b) {
    const int p = pairCode(a, b);
    if (p < 10) {
        addDigit(seed, p);
        return;
    }
    const std::string text = decimal(p);
    for (const char c : {text.front(), text.back()}) {
        if (seed.find(c) == std::string::npos) {
            seed += c;
        }
    }
}

void addValue(std::string& text, int n, bool dropNonPositive) {
    if (n <= kHighestNumber) {
        if (dropNonPositive && n <= 0) {
            return;
        }
        const std::string number = decimal(n);
        if (text.find(number) == std::string::npos) {
            text += number;
            text += ',';
        }
        return;
    }
    for (const int divisor : SplitDivisors) {
        for (const int part : splitLarge(n, divisor)) {
            const std::string entry = decimal(part) + ",";
            if (text.find(entry) == std::string::npos) {
                text += entry;
            }
        }
    }
}

PickNumbers expandSeedNumbers(std::string_view seed, double x, double u, double v, double d) {
    const std::array<double, 3> scales{x, u, v};
    if (std::ranges::any_of(scales, [](double s) { return s < 0.0; })) {
        const std::vector<int> firstPass = firstPassAsText(seed, scales);
        return postPasses(firstPass, d);
    }
    // With no scale below zero every candidate is 0 or more, which the set handles.
    PickSet firstPass;
    for (const char c : seed) {
        if (c < '0' || c > '9') {
            continue;
        }
        for (const double s : scales) {
            for (int mode = 0; mode < kModes; ++mode) {
                firstPass.add(candidate(c - '0', s, mode), false);
            }
        }
    }
    return postPasses(firstPass.values(), d);
}

std::string expandSeed(std::string_view seed, double x, double u, double v, double d) {
    return expandSeedNumbers(seed, x, u, v, d).text();
}

PickPlan planPick(const NumberBasis& b, int pick, double x) {
    PickPlan plan;
    if (pick < 1 || pick > kPickCount) {
        return plan;
    }
    const auto line = [](std::int32_t index) {
        return index >= 0 && index < 6 ? index + 1 : 0;
    };
    const auto& qr = b.querentRelations;
    const auto at = [](const std::array<std::int32_t, 6>& digits, int lineNumber) {
        return digits[static_cast<std::size_t>(lineNumber - 1)];
    };

    SeedBuilder seed;
    for (const std::int32_t digit :
         {b.querentDigit, b.dayStemDigit, b.dayBranchDigit, b.hourStemDigit, b.hourBranchDigit}) {
        seed.addDigit(digit);
    }
    const int q = b.querentDigit;
    const int ds = b.dayStemDigit;
    const int db = b.dayBranchDigit;
    const auto commonPairs = [&] {
        for (const std::int32_t digit :
             {b.dayStemDigit, b.dayBranchDigit, b.hourStemDigit, b.hourBranchDigit}) {
            seed.addPairCode(q, digit);
        }
    };
    // Q, then DS, then DB with each of the given digits.
    const auto pairsWith = [&](std::span<const std::int32_t> own) {
        for (const int first : {q, ds, db}) {
            for (const std::int32_t digit : own) {
                seed.addPairCode(first, digit);
            }
        }
    };

    if (pick <= 6) {
        const int l = pick;
        const int ps = at(b.primaryStemDigits, l);
        const int pb = at(b.primaryBranchDigits, l);
        const int cs = at(b.changedStemDigits, l);
        const int cb = at(b.changedBranchDigits, l);
        for (const int digit : {ps, pb, cs, cb}) {
            seed.addDigit(digit);
        }
        commonPairs();
        // The day branch meets the changed branch before the changed stem.
        const std::array<std::array<int, 2>, 14> pairs{{{q, ps},
                                                        {q, pb},
                                                        {q, cs},
                                                        {q, cb},
                                                        {ds, ps},
                                                        {ds, pb},
                                                        {ds, cs},
                                                        {ds, cb},
                                                        {db, ps},
                                                        {db, pb},
                                                        {db, cb},
                                                        {db, cs},
                                                        {ps, cb},
                                                        {pb, cs}}};
        for (const auto& [a, c] : pairs) {
            seed.addPairCode(a, c);
        }
        plan.u = primaryLineFactor(b, l, x);
        plan.v = changedLineFactor(b, l, x);
        plan.t = crossLineFactor(b, l, x);
    } else if (pick <= 9) {
        const int l1 = pick - 6;
        const int l2 = pick - 3;
        const std::array<std::int32_t, 4> own{at(b.primaryStemDigits, l1), at(b.primaryBranchDigits, l1),
                                              at(b.primaryStemDigits, l2), at(b.primaryBranchDigits, l2)};
        for (const std::int32_t digit : own) {
            seed.addDigit(digit);
        }
        commonPairs();
        pairsWith(own);
        plan.u = primaryLineFactor(b, l1, x);
        plan.v = primaryLineFactor(b, l2, x);
        const auto first1 = static_cast<std::size_t>(4 + 2 * (l1 - 1));
        const auto first2 = static_cast<std::size_t>(4 + 2 * (l2 - 1));
        const long long sum =
            static_cast<long long>(qr[first1]) + qr[first1 + 1] + qr[first2] + qr[first2 + 1];
        plan.t = scaledMagnitude(sum, x);
    } else if (pick == 10) {
        for (const std::int32_t digit : b.changedShiYingDigits) {
            seed.addDigit(digit);
        }
        commonPairs();
        pairsWith(b.changedShiYingDigits);
        plan.u = primaryLineFactor(b, 2, x);
        plan.v = primaryLineFactor(b, 5, x);
        const auto& r = b.changedShiYingRelations;
        plan.t = scaledMagnitude(static_cast<long long>(r[0]) + r[1] + r[2] + r[3], x);
    } else {
        const std::array<std::int32_t, 8> own{b.shiDigits[0],
                                              b.shiDigits[1],
                                              b.yingDigits[0],
                                              b.yingDigits[1],
                                              b.changedShiYingDigits[0],
                                              b.changedShiYingDigits[1],
                                              b.changedShiYingDigits[2],
                                              b.changedShiYingDigits[3]};
        for (const std::int32_t digit : own) {
            seed.addDigit(digit);
        }
        commonPairs();
        for (std::size_t i = 0; i < 4; ++i) {
            seed.addPairCode(q, own[i]);
        }
        for (const int first : {ds, db}) {
            for (const std::int32_t digit : own) {
                seed.addPairCode(first, digit);
            }
        }
        pairsWith(b.markedDigits);
        plan.u = primaryLineFactor(b, line(b.shiIndex), x);
        plan.v = changedLineFactor(b, line(b.changedShiIndex), x);
        plan.t = crossLineFactor(b, line(b.markedLine), x);
    }
    plan.seed = seed.take();
    plan.d = toTenths(((plan.u + plan.v) + plan.t) * 100.0 / 1000.0);
    return plan;
}

PickNumbers generatePickNumbers(const NumberBasis& basis, int pick, double x) {
    const PickPlan plan = planPick(basis, pick, x);
    return expandSeedNumbers(plan.seed, x, plan.u, plan.v, plan.d);
}

std::string generatePick(const NumberBasis& basis, int pick, double x) {
    return generatePickNumbers(basis, pick, x).text();
}

} // namespace quenmar
