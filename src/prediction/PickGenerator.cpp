#include "prediction/PickGenerator.h"

#include "prediction/BaseNumbers.h"
#include "prediction/PickSet.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

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

// The first and the last digit of each pair code (the same digit for a code below 10), the
// characters a code adds to the seed.
struct PairDigits {
    int first;
    int last;
};
constexpr auto PairCodeDigits = [] {
    std::array<std::array<PairDigits, 10>, 10> digits{};
    for (std::size_t a = 0; a < 10; ++a) {
        for (std::size_t b = 0; b < 10; ++b) {
            const int p = PairCodes[a][b];
            digits[a][b] = p < 10 ? PairDigits{p, p} : PairDigits{p / 10, p % 10};
        }
    }
    return digits;
}();

PairDigits pairDigits(int a, int b) {
    if (a < 0 || a > 9 || b < 0 || b > 9) {
        return {0, 0}; // the code 0
    }
    return PairCodeDigits[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)];
}

// A value above 80 is broken down under each of these in turn.
constexpr std::array<int, 9> SplitDivisors{80, 2, 3, 4, 5, 6, 7, 8, 9};

constexpr int kModes = 4;
constexpr double kSnapFraction = 0.999999;

int saturated(long long value) {
    return static_cast<int>(std::clamp<long long>(value, -INT_MAX, INT_MAX));
}

std::string decimal(long long n) {
    std::array<char, 24> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), n).ptr;
    return std::string(buffer.data(), end);
}

// The candidates of modes 0..3 of one seed digit under one scale, sharing the product.
std::array<int, kModes> candidatesOf(int digit, double s) {
    const long long n = digit == 0 ? 10 : digit;
    const auto nonZeroMagnitude = [](long long r) {
        return saturated(r == 0 ? 10 : (r < 0 ? -r : r));
    };
    const int scaled = snapTrunc(static_cast<double>(n) * s);
    return {scaled, saturated(n + scaled), nonZeroMagnitude(n - scaled),
            nonZeroMagnitude(snapTrunc(static_cast<double>(n) / s))};
}

// The seed is a handful of digit characters. A mask of the digit characters it holds answers
// the one-digit membership tests; a text of several characters (only from a basis filled by
// hand with values outside 0..9) is looked up in the seed itself.
class SeedBuilder {
public:
    void addDigit(long long n) {
        if (n >= 0 && n <= 9) {
            addDigitChar(static_cast<int>(n));
        } else {
            addText(decimal(n));
        }
    }

    void addPairCode(int a, int b) {
        const PairDigits digits = pairDigits(a, b);
        addDigitChar(digits.first);
        addDigitChar(digits.last);
    }

    std::string take() const {
        return std::string(m_seed.begin(), m_seed.begin() + static_cast<long>(m_length));
    }

private:
    // Without a branch on whether the digit is new, which no predictor could guess: the
    // character is always written, and only kept when it is new.
    void addDigitChar(int digit) {
        const bool fresh = (m_digits >> digit & 1u) == 0;
        m_seed[m_length] = static_cast<std::uint16_t>('0' + digit);
        m_length += fresh ? 1 : 0;
        m_digits |= 1u << digit;
    }

    void addText(const std::string& text) {
        if (take().find(text) == std::string::npos) {
            for (const char c : text) {
                if (c >= '0' && c <= '9') {
                    m_digits |= 1u << (c - '0');
                }
                append(c);
            }
        }
    }

    // A built basis gives ten digit characters at most. One filled by hand adds at most its
    // thirteen common and own values of up to eleven characters each, plus ten digits from
    // the pair codes, which always lie in 0..90; one spare place takes a digit not kept.
    void append(char c) {
        if (m_length < kLongestSeed) {
            m_seed[m_length++] = static_cast<std::uint16_t>(c);
        }
    }

    static constexpr std::size_t kLongestSeed = 13 * 11 + 10;
    // Characters, but not of a character type: a store through a character type might change
    // any object, and the length and the digit mask would be read back after every store.
    std::array<std::uint16_t, kLongestSeed + 1> m_seed; // only the first m_length are read
    std::size_t m_length = 0;
    unsigned m_digits = 0;
};

// The first pass on the pick text itself, for scales below zero: their candidates can be
// negative, and a "-" in the text is beyond what the set answers.
std::vector<int> firstPassAsText(std::string_view seed, const std::array<double, 3>& scales) {
    std::string text;
    for (const char c : seed) {
        if (c < '0' || c > '9') {
            continue;
        }
        for (const double s : scales) {
            for (const int value : candidatesOf(c - '0', s)) {
                addValue(text, value, false);
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

// The seed of one pick under construction, with the basis it is taken from. Every pick adds
// its own digits, then the pairs of the querent with the day and hour digits, then its own
// pairs.
struct PickSeeding {
    const NumberBasis& b;
    SeedBuilder& seed;

    void addDigits(std::span<const std::int32_t> digits) const {
        for (const std::int32_t digit : digits) {
            seed.addDigit(digit);
        }
    }

    void addCommonPairs() const {
        for (const std::int32_t digit :
             {b.dayStemDigit, b.dayBranchDigit, b.hourStemDigit, b.hourBranchDigit}) {
            seed.addPairCode(b.querentDigit, digit);
        }
    }

    // Each first digit with each of `own`, in that order.
    void addPairs(std::initializer_list<int> firsts, std::span<const std::int32_t> own) const {
        for (const int first : firsts) {
            for (const std::int32_t digit : own) {
                seed.addPairCode(first, digit);
            }
        }
    }

    // Q, then DS, then DB with each of `own`.
    void addQuerentAndDayPairs(std::span<const std::int32_t> own) const {
        addPairs({b.querentDigit, b.dayStemDigit, b.dayBranchDigit}, own);
    }
};

std::int32_t lineDigit(const std::array<std::int32_t, 6>& digits, int line) {
    return digits[static_cast<std::size_t>(line - 1)];
}

// Line 1..6 of a line index, 0 for one outside 0..5.
int lineOfIndex(std::int32_t index) {
    return index >= 0 && index < 6 ? index + 1 : 0;
}

// Picks 1..6: one line of both hexagrams.
void planLinePick(PickPlan& plan, const PickSeeding& s, int line, double x) {
    const NumberBasis& b = s.b;
    const int ps = lineDigit(b.primaryStemDigits, line);
    const int pb = lineDigit(b.primaryBranchDigits, line);
    const int cs = lineDigit(b.changedStemDigits, line);
    const int cb = lineDigit(b.changedBranchDigits, line);
    s.addDigits(std::array<std::int32_t, 4>{ps, pb, cs, cb});
    s.addCommonPairs();
    const int q = b.querentDigit;
    const int ds = b.dayStemDigit;
    const int db = b.dayBranchDigit;
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
    for (const auto& [first, second] : pairs) {
        s.seed.addPairCode(first, second);
    }
    plan.u = primaryLineFactor(b, line, x);
    plan.v = changedLineFactor(b, line, x);
    plan.t = crossLineFactor(b, line, x);
}

// Picks 7..9: two lines of the primary hexagram, lines 1 and 4, 2 and 5, or 3 and 6.
void planTwoLinePick(PickPlan& plan, const PickSeeding& s, int line1, int line2, double x) {
    const NumberBasis& b = s.b;
    const std::array<std::int32_t, 4> own{
        lineDigit(b.primaryStemDigits, line1), lineDigit(b.primaryBranchDigits, line1),
        lineDigit(b.primaryStemDigits, line2), lineDigit(b.primaryBranchDigits, line2)};
    s.addDigits(own);
    s.addCommonPairs();
    s.addQuerentAndDayPairs(own);
    plan.u = primaryLineFactor(b, line1, x);
    plan.v = primaryLineFactor(b, line2, x);
    const auto& qr = b.querentRelations;
    const auto first1 = static_cast<std::size_t>(4 + 2 * (line1 - 1));
    const auto first2 = static_cast<std::size_t>(4 + 2 * (line2 - 1));
    const long long sum = static_cast<long long>(qr[first1]) + qr[first1 + 1] + qr[first2] + qr[first2 + 1];
    plan.t = scaledMagnitude(sum, x);
}

// Pick 10: the 世 and 应 lines of the changed hexagram.
void planChangedShiYingPick(PickPlan& plan, const PickSeeding& s, double x) {
    const NumberBasis& b = s.b;
    s.addDigits(b.changedShiYingDigits);
    s.addCommonPairs();
    s.addQuerentAndDayPairs(b.changedShiYingDigits);
    plan.u = primaryLineFactor(b, 2, x);
    plan.v = primaryLineFactor(b, 5, x);
    const auto& r = b.changedShiYingRelations;
    plan.t = scaledMagnitude(static_cast<long long>(r[0]) + r[1] + r[2] + r[3], x);
}

// Pick 11, the pre-selection: the 世 and 应 lines of both hexagrams and the marked line.
void planShiYingPick(PickPlan& plan, const PickSeeding& s, double x) {
    const NumberBasis& b = s.b;
    const std::array<std::int32_t, 8> own{b.shiDigits[0],
                                          b.shiDigits[1],
                                          b.yingDigits[0],
                                          b.yingDigits[1],
                                          b.changedShiYingDigits[0],
                                          b.changedShiYingDigits[1],
                                          b.changedShiYingDigits[2],
                                          b.changedShiYingDigits[3]};
    s.addDigits(own);
    s.addCommonPairs();
    s.addPairs({b.querentDigit}, std::span<const std::int32_t>(own).first(4));
    s.addPairs({b.dayStemDigit, b.dayBranchDigit}, own);
    s.addQuerentAndDayPairs(b.markedDigits);
    plan.u = primaryLineFactor(b, lineOfIndex(b.shiIndex), x);
    plan.v = changedLineFactor(b, lineOfIndex(b.changedShiIndex), x);
    plan.t = crossLineFactor(b, lineOfIndex(b.markedLine), x);
}

// The text of each number 0..80 followed by ",", padded to three characters, and its length.
struct NumberText {
    std::array<char, 3> chars;
    std::uint8_t length;
};
constexpr auto NumberTexts = [] {
    std::array<NumberText, kHighestNumber + 1> texts{};
    for (int n = 0; n <= kHighestNumber; ++n) {
        auto& t = texts[static_cast<std::size_t>(n)];
        if (n >= 10) {
            t.chars = {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10), ','};
            t.length = 3;
        } else {
            t.chars = {static_cast<char>('0' + n), ',', ','};
            t.length = 2;
        }
    }
    return texts;
}();

// Numbers of any size, each followed by ",".
std::string spelledOut(std::span<const int> values) {
    std::string out;
    for (const int n : values) {
        out += decimal(n);
        out += ',';
    }
    return out;
}

} // namespace

std::string PickNumbers::text() const {
    // Three characters are written for each number and the end moves on by its text's length.
    std::array<char, kHighestNumber * 3> buffer;
    char* end = buffer.data();
    for (const int n : values()) {
        if (static_cast<unsigned>(n) > static_cast<unsigned>(kHighestNumber)) {
            return spelledOut(values()); // never from the generator, whose numbers are 1..80
        }
        const NumberText& t = NumberTexts[static_cast<std::size_t>(n)];
        std::memcpy(end, t.chars.data(), t.chars.size());
        end += t.length;
    }
    return std::string(buffer.data(), end);
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
    constexpr double kLimit = INT_MAX;
    if (std::isnan(r)) {
        return 0;
    }
    if (r >= kLimit || r <= -kLimit) {
        if (std::isinf(r)) {
            return 0;
        }
        return r > 0.0 ? INT_MAX : -INT_MAX;
    }
    // Within the int range the conversion truncates toward zero, exactly as trunc would.
    auto result = static_cast<long long>(r);
    // Snapped by the sign of r: −0.9999999 truncates to 0 yet lies next to −1.
    if (std::fabs(r - static_cast<double>(result)) >= kSnapFraction) {
        result += r < 0.0 ? -1 : 1;
    }
    return saturated(result);
}

int candidate(int digit, double s, int mode) {
    if (mode < 0 || mode >= kModes) {
        return 0;
    }
    return candidatesOf(digit, s)[static_cast<std::size_t>(mode)];
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

std::vector<int> splitValues(int n) {
    // splitLarge under each divisor, without a list for each.
    std::vector<int> values;
    values.reserve(2 * SplitDivisors.size());
    for (const int divisor : SplitDivisors) {
        if (const int quotient = n / divisor; quotient >= 1 && quotient <= kHighestNumber) {
            values.push_back(quotient);
        }
        if (const int remainder = n % divisor; remainder != 0) {
            values.push_back(remainder);
        }
    }
    return values;
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
    for (const int part : splitValues(n)) {
        const std::string entry = decimal(part) + ",";
        if (text.find(entry) == std::string::npos) {
            text += entry;
        }
    }
}

PickNumbers expandSeedNumbers(std::string_view seed, double x, double u, double v, double d) {
    const std::array<double, 3> scales{x, u, v};
    if (std::ranges::any_of(scales, [](double s) { return s < 0.0; })) {
        return postPassesOnSets(firstPassAsText(seed, scales), d);
    }
    // With no scale below zero every candidate is 0 or more, which the sets handle.
    return expandSeedOnSets(seed, x, u, v, d);
}

std::string expandSeed(std::string_view seed, double x, double u, double v, double d) {
    return expandSeedNumbers(seed, x, u, v, d).text();
}

PickPlan planPick(const NumberBasis& basis, int pick, double x) {
    PickPlan plan;
    if (pick < 1 || pick > kPickCount) {
        return plan;
    }
    SeedBuilder seed;
    for (const std::int32_t digit : {basis.querentDigit, basis.dayStemDigit, basis.dayBranchDigit,
                                     basis.hourStemDigit, basis.hourBranchDigit}) {
        seed.addDigit(digit);
    }
    const PickSeeding seeding{basis, seed};
    if (pick <= 6) {
        planLinePick(plan, seeding, pick, x);
    } else if (pick <= 9) {
        planTwoLinePick(plan, seeding, pick - 6, pick - 3, x);
    } else if (pick == 10) {
        planChangedShiYingPick(plan, seeding, x);
    } else {
        planShiYingPick(plan, seeding, x);
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
