#include "engine/Tables.h"

#include "base/Utf8.h"

namespace quenmar {

namespace {

// Every character of the CJK tables is three bytes long in UTF-8; entries are read by
// slicing, which keeps the lookups cheap enough for the per-calculation budget.
constexpr std::size_t kCjk = 3;

constexpr std::string_view entry(std::string_view table, int index, std::size_t chars = 1) {
    const std::size_t width = kCjk * chars;
    if (index < 0 || static_cast<std::size_t>(index + 1) * width > table.size()) {
        return {};
    }
    return table.substr(static_cast<std::size_t>(index) * width, width);
}

// Position of a text in a CJK table: the common case, one three-byte character, is compared
// slot by slot; anything else takes the general character-boundary search, whose answers
// (0 for an empty text, the first occurrence of a longer one) the lookups rely on.
} // namespace

int tableIndex(std::string_view table, std::string_view text) {
    if (text.size() == kCjk) {
        for (std::size_t pos = 0; pos + kCjk <= table.size(); pos += kCjk) {
            if (table[pos] == text[0] && table[pos + 1] == text[1] && table[pos + 2] == text[2]) {
                return static_cast<int>(pos / kCjk);
            }
        }
        return -1;
    }
    return utf8::find(table, text);
}

std::string_view tableEntry(std::string_view table, int index) {
    return entry(table, index);
}

namespace {

int digitAt(std::string_view digits, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= digits.size()) {
        return 0;
    }
    return digits[static_cast<std::size_t>(index)] - '0';
}

} // namespace

int stemNumber(std::string_view stem) {
    return tableIndex(tables::Stems, stem) + 1;
}

std::string_view stemText(int n) {
    return entry(tables::Stems, n - 1);
}

std::string_view branchText(int n) {
    return entry(tables::Branches, n - 1);
}

std::string_view trigramName(int n) {
    return entry(tables::TrigramNames, n - 1);
}

int branchNumber(std::string_view branch) {
    return tableIndex(tables::Branches, branch) + 1;
}

std::string_view branchElement(std::string_view branch) {
    return entry(tables::BranchElements, tableIndex(tables::Branches, branch));
}

int elementNumber(std::string_view element) {
    return tableIndex(tables::ElementNames, element) + 1;
}

std::string_view elementName(int n) {
    return entry(tables::ElementNames, n - 1);
}

int stemDigit(std::string_view stem) {
    return digitAt(tables::StemDigits, stemNumber(stem) - 1);
}

int branchDigit(std::string_view branch) {
    return digitAt(tables::BranchDigits, tableIndex(tables::Branches, branch));
}

std::string_view trigramLines(int n) {
    if (n < 1 || n > 7) {
        return tables::TrigramLines[7];
    }
    return tables::TrigramLines[static_cast<std::size_t>(n - 1)];
}

int trigramNumber(std::string_view lines) {
    for (std::size_t i = 0; i < tables::TrigramLines.size(); ++i) {
        if (tables::TrigramLines[i] == lines) {
            return static_cast<int>(i) + 1;
        }
    }
    return 8;
}

std::string flipLines(std::string_view lines) {
    std::string flipped;
    flipped.reserve(lines.size());
    for (std::size_t pos = 0; pos < lines.size(); pos += utf8::charLength(lines, pos)) {
        flipped += utf8::charAt(lines.substr(pos), 0) == "0" ? '1' : '0';
    }
    return flipped;
}

std::string_view soulText(int kind) {
    if (kind != 1 && kind != 2) {
        return {};
    }
    return entry(tables::SoulNames, kind - 1, 2);
}

namespace {

// The 64 names split once, at compile time, instead of on every lookup.
constexpr auto kHexagramNames = splitAtCommas<64>(tables::HexagramNames);
static_assert(kHexagramNames[63] == "水地比");

} // namespace

std::string_view hexagramName(int palace, int generation) {
    if (palace < 1 || palace > 8 || generation < 1 || generation > 8) {
        return {};
    }
    return kHexagramNames[static_cast<std::size_t>((palace - 1) * 8 + generation - 1)];
}

std::string_view relationName(int index) {
    return entry(tables::RelationNames, index, 2);
}

std::array<std::string_view, 6> spiritOrder(int dayStemNumber) {
    std::size_t row = 5;
    switch (dayStemNumber) {
    case 1:
    case 2:
        row = 0;
        break;
    case 3:
    case 4:
        row = 1;
        break;
    case 5:
        row = 2;
        break;
    case 6:
        row = 3;
        break;
    case 7:
    case 8:
        row = 4;
        break;
    default:
        row = 5;
        break;
    }
    std::array<std::string_view, 6> spirits{};
    for (int i = 0; i < 6; ++i) {
        spirits[static_cast<std::size_t>(i)] = entry(tables::SpiritOrders[row], i, 2);
    }
    return spirits;
}

std::string_view chartTitleText(int n) {
    return entry(tables::ChartTitles, n - 1, 2);
}

std::string_view trigramElement(int n) {
    return entry(tables::TrigramElements, n - 1);
}

} // namespace quenmar
