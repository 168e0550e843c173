#include "draws/PageText.h"

namespace quenmar::draws::text {

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";

bool isAsciiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Byte length of the blank at the start of `text`, 0 when it does not start with one.
std::size_t leadingBlank(std::string_view text) {
    if (!text.empty() && isAsciiBlank(text.front())) {
        return 1;
    }
    if (text.substr(0, kNoBreakSpace.size()) == kNoBreakSpace) {
        return kNoBreakSpace.size();
    }
    if (text.substr(0, kIdeographicSpace.size()) == kIdeographicSpace) {
        return kIdeographicSpace.size();
    }
    return 0;
}

std::size_t trailingBlank(std::string_view text) {
    if (!text.empty() && isAsciiBlank(text.back())) {
        return 1;
    }
    if (text.size() >= kNoBreakSpace.size() &&
        text.substr(text.size() - kNoBreakSpace.size()) == kNoBreakSpace) {
        return kNoBreakSpace.size();
    }
    if (text.size() >= kIdeographicSpace.size() &&
        text.substr(text.size() - kIdeographicSpace.size()) == kIdeographicSpace) {
        return kIdeographicSpace.size();
    }
    return 0;
}

} // namespace

std::size_t charLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t need = 0;
    unsigned char low = 0x80;  // the second byte's range, narrowed to rule out overlongs,
    unsigned char high = 0xBF; // surrogates and values past U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (need == 0 || pos + need >= text.size()) {
        return 1;
    }
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    if (second < low || second > high) {
        return 1;
    }
    for (std::size_t i = 2; i <= need; ++i) {
        if (!isContinuation(static_cast<unsigned char>(text[pos + i]))) {
            return 1;
        }
    }
    return need + 1;
}

std::size_t length(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += charLength(text, pos)) {
        ++count;
    }
    return count;
}

std::string_view cut(std::string_view text, std::size_t first, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < first && pos < text.size(); ++i) {
        pos += charLength(text, pos);
    }
    std::size_t end = pos;
    for (std::size_t i = 0; i < count && end < text.size(); ++i) {
        end += charLength(text, end);
    }
    return text.substr(pos, end - pos);
}

std::string_view trim(std::string_view text) {
    while (const std::size_t n = leadingBlank(text)) {
        text.remove_prefix(n);
    }
    while (const std::size_t n = trailingBlank(text)) {
        text.remove_suffix(n);
    }
    return text;
}

std::string digitsOnly(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    return digits;
}

} // namespace quenmar::draws::text
