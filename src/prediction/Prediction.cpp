#include "prediction/Prediction.h"

#include "base/Utf8.h"
#include "prediction/BaseNumbers.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>

namespace quenmar {

namespace {

constexpr int kDecadeGroups = 8; // 1..9, 10..19, ..., 60..69, 70 and above

// Lines joined by CR LF, no break after the last; "{n}" stands for pick n.
constexpr std::string_view PredictionTemplate = "周易推演参考数据如下：\r\n"
                                                " ---仅---供-----参---考---\r\n"
                                                "推演十注:\r\n"
                                                "一注:{1}\r\n"
                                                "二注:{2}\r\n"
                                                "三注:{3}\r\n"
                                                "四注:{4}\r\n"
                                                "五注:{5}\r\n"
                                                "六注:{6}\r\n"
                                                "七注:{7}\r\n"
                                                "八注:{8}\r\n"
                                                "九注:{9}\r\n"
                                                "十注:{10}\r\n"
                                                "预选20码:\r\n"
                                                "{11}";

constexpr std::string_view kNoNumbers = "无";

constexpr int decadeGroup(int value) {
    return value <= 0 ? -1 : std::min(value / 10, kDecadeGroups - 1);
}

// The decade group of each generator number 1..80.
constexpr auto DecadeGroups = [] {
    std::array<std::uint8_t, kHighestNumber + 1> groups{};
    for (int n = 1; n <= kHighestNumber; ++n) {
        groups[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(decadeGroup(n));
    }
    return groups;
}();

int needOf(int pick) {
    return pick == kPickCount ? kPreselectionSize : kBetSize;
}

// Hands the values of spreadByDecade to `take` in taking order. Each group keeps a cursor into
// the list, so the whole spread reads the list once per group and needs no buffer.
template <typename Take>
void spreadEach(std::span<const int> values, long long need, Take take) {
    if (need <= 0) {
        return;
    }
    std::array<std::size_t, kDecadeGroups> cursor{};
    long long taken = 0;
    for (;;) {
        bool tookAny = false;
        for (int group = 0; group < kDecadeGroups; ++group) {
            std::size_t& c = cursor[static_cast<std::size_t>(group)];
            while (c < values.size() && decadeGroup(values[c]) != group) {
                ++c;
            }
            if (c < values.size()) {
                take(values[c++]);
                tookAny = true;
                if (++taken == need) {
                    return;
                }
            }
        }
        if (!tookAny) {
            return;
        }
    }
}

void appendNumber(std::string& out, int value) {
    if (value < 10) {
        out += '0';
    }
    std::array<char, 12> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    out.append(buffer.data(), end);
}

// The numbers formatPick keeps of the generator's own numbers, which are distinct and 1..80:
// each decade group holds at most eleven of them, and the chosen values go into a bit set,
// which gives them ascending, as sorting them does.
NumberSet chosenNumbers(const PickNumbers& pick, int need) {
    NumberSet chosen;
    if (pick.size() == static_cast<std::size_t>(need)) {
        for (const int v : pick.values()) {
            chosen.add(v);
        }
        return chosen;
    }
    constexpr std::size_t kGroupCapacity = 11; // 70..80
    std::array<std::array<std::uint8_t, kGroupCapacity>, kDecadeGroups> groups;
    std::array<std::uint8_t, kDecadeGroups> counts{};
    for (const int v : pick.values()) {
        const std::size_t g = DecadeGroups[static_cast<std::size_t>(v)];
        groups[g][counts[g]++] = static_cast<std::uint8_t>(v);
    }
    int taken = 0;
    for (std::size_t sweep = 0; sweep < kGroupCapacity && taken < need; ++sweep) {
        for (std::size_t g = 0; g < kDecadeGroups && taken < need; ++g) {
            if (sweep < counts[g]) {
                chosen.add(groups[g][sweep]);
                ++taken;
            }
        }
    }
    return chosen;
}

// formatPick for the generator's own numbers: every chosen number is 1..80, two digits, then
// a comma before the next, written into one buffer.
void appendFormatted(std::string& out, const PickNumbers& pick, int need) {
    const NumberSet chosen = chosenNumbers(pick, need);
    std::array<char, kHighestNumber * 3> text;
    char* end = text.data();
    chosen.forEach([&end](int v) {
        *end++ = static_cast<char>('0' + v / 10);
        *end++ = static_cast<char>('0' + v % 10);
        *end++ = ',';
    });
    if (end != text.data()) {
        out.append(text.data(), end - 1); // no comma after the last
    }
}

// The template cut at its placeholders, once, at compile time: the text before each
// placeholder with the pick the placeholder names, and the text after the last.
struct TemplatePiece {
    std::string_view text;
    int pick = 0;
};
struct TemplatePieces {
    std::array<TemplatePiece, kPickCount> pieces{};
    std::size_t count = 0;
    std::string_view tail;
};

constexpr TemplatePieces cutTemplate(std::string_view text) {
    TemplatePieces cut;
    std::size_t pos = 0;
    for (std::size_t open = text.find('{'); open != std::string_view::npos && cut.count < cut.pieces.size();
         open = text.find('{', pos)) {
        const std::size_t close = text.find('}', open);
        int pick = 0;
        for (std::size_t i = open + 1; i < close; ++i) {
            pick = pick * 10 + (text[i] - '0');
        }
        cut.pieces[cut.count++] = {text.substr(pos, open - pos), pick};
        pos = close + 1;
    }
    cut.tail = text.substr(pos);
    return cut;
}

constexpr TemplatePieces PredictionPieces = cutTemplate(PredictionTemplate);
static_assert(PredictionPieces.count == kPickCount);

// Every "{n}" of the template (n = 1..11) becomes pick n; picks never hold braces, so one
// pass gives what replacing the placeholders one by one gives.
template <typename PickText>
std::string fillTemplate(PickText pickText) {
    std::string out;
    out.reserve(PredictionTemplate.size() + 400);
    for (std::size_t i = 0; i < PredictionPieces.count; ++i) {
        const TemplatePiece& piece = PredictionPieces.pieces[i];
        out.append(piece.text);
        const std::size_t before = out.size();
        pickText(out, piece.pick);
        if (out.size() == before) {
            out.append(kNoNumbers);
        }
    }
    out.append(PredictionPieces.tail);
    return out;
}

} // namespace

std::array<PickNumbers, kPickCount> generatePicks(const NumberBasis& basis) {
    const double x = chartFactor(basis);
    std::array<PickNumbers, kPickCount> picks;
    for (int pick = 1; pick <= kPickCount; ++pick) {
        picks[static_cast<std::size_t>(pick - 1)] = generatePickNumbers(basis, pick, x);
    }
    return picks;
}

std::array<NumberSet, kPickCount> pickSets(const std::array<PickNumbers, kPickCount>& picks) {
    std::array<NumberSet, kPickCount> sets;
    for (int pick = 1; pick <= kPickCount; ++pick) {
        const auto i = static_cast<std::size_t>(pick - 1);
        sets[i] = chosenNumbers(picks[i], needOf(pick));
    }
    return sets;
}

std::string predictionTextOf(const std::array<PickNumbers, kPickCount>& picks) {
    return fillTemplate([&](std::string& out, int pick) {
        if (pick >= 1 && pick <= kPickCount) {
            appendFormatted(out, picks[static_cast<std::size_t>(pick - 1)], needOf(pick));
        }
    });
}

std::vector<int> pickValues(std::string_view rawPick) {
    std::vector<int> values;
    while (!rawPick.empty()) {
        const std::size_t comma = rawPick.find(',');
        const std::string_view item = utf8::trimBlanks(rawPick.substr(0, comma));
        rawPick = comma == std::string_view::npos ? std::string_view{} : rawPick.substr(comma + 1);
        if (item.empty()) {
            continue;
        }
        int value = 0;
        std::from_chars(item.data(), item.data() + item.size(), value);
        values.push_back(value);
    }
    return values;
}

std::vector<int> spreadByDecade(std::span<const int> values, int need) {
    std::vector<int> taken;
    taken.reserve(std::min<std::size_t>(values.size(), need > 0 ? static_cast<std::size_t>(need) : 0));
    spreadEach(values, need, [&](int v) { taken.push_back(v); });
    return taken;
}

std::string formatPick(std::span<const int> values, int need) {
    std::vector<int> chosen;
    if (need >= 0 && values.size() == static_cast<std::size_t>(need)) {
        chosen.assign(values.begin(), values.end());
    } else {
        chosen = spreadByDecade(values, need);
    }
    std::sort(chosen.begin(), chosen.end());
    std::string out;
    for (const int v : chosen) {
        if (v <= 0) {
            continue;
        }
        if (!out.empty()) {
            out += ',';
        }
        appendNumber(out, v);
    }
    return out;
}

std::array<std::string, kPickCount> runPrediction(const ChartResult& chart) {
    const auto numbers = generatePicks(buildNumberBasis(chart));
    std::array<std::string, kPickCount> picks;
    for (int pick = 1; pick <= kPickCount; ++pick) {
        const auto i = static_cast<std::size_t>(pick - 1);
        appendFormatted(picks[i], numbers[i], needOf(pick));
    }
    return picks;
}

std::string predictionText(const ChartResult& chart) {
    return predictionTextOf(generatePicks(buildNumberBasis(chart)));
}

Prediction predict(const NumberBasis& basis) {
    Prediction prediction;
    prediction.rawPicks = generatePicks(basis);
    for (int pick = 1; pick <= kPickCount; ++pick) {
        const auto i = static_cast<std::size_t>(pick - 1);
        appendFormatted(prediction.picks[i], prediction.rawPicks[i], needOf(pick));
    }
    prediction.text = fillTemplate([&](std::string& out, int pick) {
        if (pick >= 1 && pick <= kPickCount) {
            out += prediction.picks[static_cast<std::size_t>(pick - 1)];
        }
    });
    return prediction;
}

} // namespace quenmar
