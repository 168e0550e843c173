#include "base/Utf8.h"

namespace quenmar::utf8 {

namespace {

// Length and validity of the sequence at `pos`; 0 when the bytes there are not a well-formed
// sequence.
std::size_t sequenceLength(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t len = 0;
    unsigned minimum = 0;
    unsigned value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
        minimum = 0x80;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        minimum = 0x800;
        value = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        minimum = 0x10000;
        value = lead & 0x07u;
    } else {
        return 0;
    }
    if (pos + len > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < len; ++i) {
        const unsigned char c = byte(pos + i);
        if ((c & 0xC0u) != 0x80u) {
            return 0;
        }
        value = (value << 6) | (c & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    return len;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";

// Byte length of the white space that `text` starts with (`atEnd`: ends with); 0 for none.
std::size_t spaceLength(std::string_view text, bool atEnd) {
    if (!text.empty() && isBlank(atEnd ? text.back() : text.front())) {
        return 1;
    }
    for (const std::string_view space : {kNoBreakSpace, kIdeographicSpace}) {
        if (atEnd ? text.ends_with(space) : text.starts_with(space)) {
            return space.size();
        }
    }
    return 0;
}

} // namespace

bool isValid(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t len = sequenceLength(text, pos);
        if (len == 0) {
            return false;
        }
        pos += len;
    }
    return true;
}

std::string repaired(std::string_view text) {
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t len = sequenceLength(text, pos);
        if (len == 0) {
            out += kReplacement;
            ++pos;
        } else {
            out.append(text.substr(pos, len));
            pos += len;
        }
    }
    return out;
}

std::string escapeControls(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t len = sequenceLength(text, pos);
        const auto lead = static_cast<unsigned char>(text[pos]);
        if (len == 1 && lead >= 0x20 && lead != 0x7F) {
            out += text[pos++];
            continue;
        }
        if (len <= 1) {
            switch (lead) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += "\\x";
                out += kHex[lead >> 4];
                out += kHex[lead & 0xF];
            }
            ++pos;
            continue;
        }
        const std::string_view character = text.substr(pos, len);
        unsigned value = lead & (0xFFu >> (len + 1));
        for (std::size_t i = 1; i < len; ++i) {
            value = (value << 6) | (static_cast<unsigned char>(character[i]) & 0x3Fu);
        }
        const bool c1 = value >= 0x80 && value <= 0x9F;
        const bool bidi = (value >= 0x202A && value <= 0x202E) || (value >= 0x2066 && value <= 0x2069);
        if (c1 || bidi) {
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) {
                out += kHex[(value >> shift) & 0xF];
            }
        } else {
            out.append(character);
        }
        pos += len;
    }
    return out;
}

std::size_t charLength(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) {
        return 0;
    }
    const std::size_t len = sequenceLength(text, pos);
    return len == 0 ? 1 : len;
}

std::size_t length(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += charLength(text, pos)) {
        ++count;
    }
    return count;
}

std::string_view charAt(std::string_view text, std::size_t index) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < index && pos < text.size(); ++i) {
        pos += charLength(text, pos);
    }
    if (pos >= text.size()) {
        return {};
    }
    return text.substr(pos, charLength(text, pos));
}

std::string_view first(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < count && pos < text.size(); ++i) {
        pos += charLength(text, pos);
    }
    return text.substr(0, pos);
}

std::string_view last(std::string_view text, std::size_t count) {
    const std::size_t total = length(text);
    if (count >= total) {
        return text;
    }
    std::size_t pos = 0;
    for (std::size_t i = 0; i < total - count; ++i) {
        pos += charLength(text, pos);
    }
    return text.substr(pos);
}

std::string_view slice(std::string_view text, std::size_t firstChar, std::size_t count) {
    const std::size_t start = first(text, firstChar).size();
    return first(text.substr(start), count);
}

int find(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) {
        return 0;
    }
    int index = 0;
    for (std::size_t pos = 0; pos < haystack.size(); pos += charLength(haystack, pos), ++index) {
        if (haystack.compare(pos, needle.size(), needle) == 0) {
            return index;
        }
    }
    return -1;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view trimSpaces(std::string_view text) {
    while (const std::size_t n = spaceLength(text, false)) {
        text.remove_prefix(n);
    }
    while (const std::size_t n = spaceLength(text, true)) {
        text.remove_suffix(n);
    }
    return text;
}

} // namespace quenmar::utf8
