#include "prediction/PickGenerator.h"

#include "prediction/BaseNumbers.h"

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

// One number of a post pass under the factor d.
int postScaled(int n, double d) {
    return d < 1.0 ? snapTrunc(static_cast<double>(n) / d) : snapTrunc(static_cast<double>(n) * d);
}

// Sets of the numbers 0..80 as 128 bits.
using Bits = std::array<std::uint64_t, 2>;

constexpr void setBit(Bits& bits, int n) {
    bits[static_cast<std::size_t>(n) >> 6] |= std::uint64_t{1} << (n & 63);
}

constexpr bool hasBit(const Bits& bits, int n) {
    return (bits[static_cast<std::size_t>(n) >> 6] >> (n & 63) & 1u) != 0;
}

// The split values of one number above 80, in the order addValue tries them (each is 1..80),
// and the set of them.
struct SplitParts {
    Bits all{};
    std::uint8_t count = 0;
    std::array<std::uint8_t, 2 * SplitDivisors.size()> parts{};
};

// A value equal to an earlier one, or to the last digit of an earlier one, is left out: once
// the earlier value has been tried it is in the text followed by ",", and so is its last
// digit, so the later one would be refused whatever the text held before.
SplitParts splitPartsOf(int n) {
    SplitParts split;
    Bits settled{};
    const auto put = [&](int part) {
        if (hasBit(settled, part)) {
            return;
        }
        split.parts[split.count++] = static_cast<std::uint8_t>(part);
        setBit(split.all, part);
        setBit(settled, part);
        setBit(settled, part % 10);
    };
    for (const int divisor : SplitDivisors) {
        const int quotient = n / divisor;
        if (quotient >= 1 && quotient <= kHighestNumber) {
            put(quotient);
        }
        if (const int remainder = n % divisor; remainder != 0) {
            put(remainder);
        }
    }
    return split;
}

// A chart's factors are whole tenths: the scales x, u and v lie in 0.1..20.0 and the post
// factor in 0.0..8.0 (or is 0.99 or 1.6). The candidates, the post-pass values and the split
// values of every input a chart can produce are therefore worked out once, by the functions
// above, and looked up; any other input is computed on the spot.
constexpr int kScaleTenths = 200;
constexpr int kPostTenths = 80;
constexpr int kUnitPostRow = kPostTenths + 1;
constexpr int kSplitTable = 1024; // post passes stay below 80 / 0.1 = 800

using CandidateRows = std::array<std::array<int, kModes>, 10>; // per seed digit

struct Tables {
    std::array<CandidateRows, kScaleTenths + 1> candidates;
    std::array<std::array<std::int16_t, kHighestNumber + 1>, kUnitPostRow + 1> post;
    std::array<SplitParts, kSplitTable> splits;
};

const Tables& tables() {
    static const Tables built = [] {
        Tables t{};
        for (int k = 0; k <= kScaleTenths; ++k) {
            for (int digit = 0; digit <= 9; ++digit) {
                t.candidates[static_cast<std::size_t>(k)][static_cast<std::size_t>(digit)] =
                    candidatesOf(digit, k / 10.0);
            }
        }
        for (int row = 0; row <= kUnitPostRow; ++row) {
            const double d = row == kUnitPostRow ? kUnitPostFactor : row / 10.0;
            for (int n = 0; n <= kHighestNumber; ++n) {
                t.post[static_cast<std::size_t>(row)][static_cast<std::size_t>(n)] =
                    static_cast<std::int16_t>(postScaled(n, d));
            }
        }
        for (int n = kHighestNumber + 1; n < kSplitTable; ++n) {
            t.splits[static_cast<std::size_t>(n)] = splitPartsOf(n);
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
        const int p = pairCode(a, b);
        if (p < 10) {
            addDigitChar(p);
            return;
        }
        // Codes have at most two digits: the first and the last character.
        addDigitChar(p / 10);
        addDigitChar(p % 10);
    }

    std::string take() { return std::string(m_seed.data(), m_length); }

private:
    void addDigitChar(int digit) {
        if ((m_digits >> digit & 1u) == 0) {
            m_digits |= 1u << digit;
            append(static_cast<char>('0' + digit));
        }
    }

    void addText(const std::string& text) {
        if (std::string_view(m_seed.data(), m_length).find(text) == std::string_view::npos) {
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
    // the pair codes, which always lie in 0..90.
    void append(char c) {
        if (m_length < m_seed.size()) {
            m_seed[m_length++] = c;
        }
    }

    std::array<char, 13 * 11 + 10> m_seed; // only the first m_length are read
    std::size_t m_length = 0;
    unsigned m_digits = 0;
};

// What appending n to a pick text makes occur there: the text of n itself, of each of its
// digits, and (for TrailMarks) the texts that end where n ends, followed by ",".
constexpr auto TextMarks = [] {
    std::array<Bits, kHighestNumber + 1> marks{};
    for (int n = 0; n <= kHighestNumber; ++n) {
        setBit(marks[static_cast<std::size_t>(n)], n);
        setBit(marks[static_cast<std::size_t>(n)], n % 10);
        if (n >= 10) {
            setBit(marks[static_cast<std::size_t>(n)], n / 10);
        }
    }
    return marks;
}();

constexpr auto TrailMarks = [] {
    std::array<Bits, kHighestNumber + 1> marks{};
    for (int n = 0; n <= kHighestNumber; ++n) {
        setBit(marks[static_cast<std::size_t>(n)], n);
        setBit(marks[static_cast<std::size_t>(n)], n % 10);
    }
    return marks;
}();

// The pick text as a set. Every number the generator appends lies in 0..80 (0 only in the
// first pass), so a text holds the decimal text of a one-digit n exactly when some number has
// that digit, and of a two-digit n exactly when n itself is there (no number has three
// digits, and commas split the rest); n followed by "," occurs exactly when some number ends
// in n's text, which for two digits again means n itself. Two bit sets, of the texts that
// occur and of the texts that occur followed by ",", answer every membership test.
class PickSet {
public:
    std::size_t size() const { return m_count; }
    int operator[](std::size_t i) const { return m_values[i]; }
    std::span<const std::uint16_t> values() const { return {m_values.data(), m_count}; }

    // Adds n under the rules of addValue; n must not be below 0 unless it is dropped.
    void add(int n, bool dropNonPositive) {
        if (n > kHighestNumber) {
            addSplit(n);
        } else if (n > 0 || (n == 0 && !dropNonPositive)) {
            appendIf(n, !hasBit(m_texts, n));
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
    void addSplit(int n) {
        if (n >= kSplitTable) {
            addParts(splitPartsOf(n));
        } else {
            addParts(tables().splits[static_cast<std::size_t>(n)]);
        }
    }

    void addParts(const SplitParts& split) {
        // Late in a pick every split value is usually there already: then none can be added.
        if ((split.all[0] & ~m_trails[0]) == 0 && (split.all[1] & ~m_trails[1]) == 0) {
            return;
        }
        for (std::size_t i = 0; i < split.count; ++i) {
            appendIf(split.parts[i], !hasBit(m_trails, split.parts[i]));
        }
    }

    // Without a branch on `fresh`, which no predictor could guess: the value is always
    // written, and only counted and marked when it is new.
    void appendIf(int n, bool fresh) {
        const auto i = static_cast<std::size_t>(n);
        const std::uint64_t keep = std::uint64_t{0} - static_cast<std::uint64_t>(fresh);
        m_values[m_count] = static_cast<std::uint16_t>(n);
        m_count += fresh ? 1 : 0;
        m_texts[0] |= TextMarks[i][0] & keep;
        m_texts[1] |= TextMarks[i][1] & keep;
        m_trails[0] |= TrailMarks[i][0] & keep;
        m_trails[1] |= TrailMarks[i][1] & keep;
    }

    // The numbers are distinct, so at most 81; one spare slot takes the write of a refused one.
    // Not a character type, so that writing a number leaves the count and the bits in registers.
    std::array<std::uint16_t, kHighestNumber + 2> m_values; // only the first m_count are read
    std::size_t m_count = 0;
    Bits m_texts{};
    Bits m_trails{};
};

// Steps 5 and 6: the first-pass numbers rescaled by d, then, after a short first pass, the
// result rescaled once more and appended.
template <typename Number>
PickNumbers postPasses(std::span<const Number> firstPass, double d) {
    PickSet pick;
    if (d == 1.0) {
        d = kUnitPostFactor;
    }
    const auto* row = postRow(d);
    const auto scaled = [&](int n) {
        return row != nullptr && n >= 0 && n <= kHighestNumber ? (*row)[static_cast<std::size_t>(n)]
                                                               : postScaled(n, d);
    };
    for (const Number n : firstPass) {
        pick.add(scaled(n), true);
    }
    if (firstPass.size() < kSecondPassBelow) {
        if (d == kUnitPostFactor) {
            d = kSecondPostFactor;
            row = postRow(d);
        }
        const std::size_t count = pick.size();
        for (std::size_t i = 0; i < count; ++i) {
            pick.add(scaled(pick[i]), true);
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
        return postPasses(std::span<const int>(firstPass), d);
    }
    // With no scale below zero every candidate is 0 or more, which the set handles.
    const Tables& t = tables();
    std::array<const CandidateRows*, 3> rows{};
    std::array<CandidateRows, 3> computed;
    std::size_t rowCount = 0;
    for (std::size_t k = 0; k < scales.size(); ++k) {
        // A scale equal to an earlier one repeats that scale's candidates right behind them
        // (or behind the x candidates), and every one of them would be refused.
        if ((k >= 1 && scales[k] == scales[0]) || (k == 2 && scales[2] == scales[1])) {
            continue;
        }
        if (const int tenths = tenthsIndex(scales[k], kScaleTenths); tenths >= 0) {
            rows[rowCount++] = &t.candidates[static_cast<std::size_t>(tenths)];
        } else {
            for (std::size_t digit = 0; digit < computed[k].size(); ++digit) {
                computed[k][digit] = candidatesOf(static_cast<int>(digit), scales[k]);
            }
            rows[rowCount++] = &computed[k];
        }
    }
    PickSet firstPass;
    for (const char c : seed) {
        if (c < '0' || c > '9') {
            continue;
        }
        const auto digit = static_cast<std::size_t>(c - '0');
        for (std::size_t k = 0; k < rowCount; ++k) {
            for (const int value : (*rows[k])[digit]) {
                firstPass.add(value, false);
            }
        }
    }
    return postPasses(firstPass.values(), d);
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
