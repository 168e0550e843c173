#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Small UTF-8 helpers for page texts. Characters are code points; a malformed byte counts as
// one character, so every helper is total.
namespace quenmar::draws::text {

/// Byte length of the character starting at `pos` (1 for a malformed byte).
std::size_t charLength(std::string_view text, std::size_t pos);

/// Number of characters.
std::size_t length(std::string_view text);

/// `count` characters from character index `first`; shorter or empty past the end.
std::string_view cut(std::string_view text, std::size_t first, std::size_t count);

/// The text without surrounding blanks: ASCII white space, no-break spaces (how "&nbsp;"
/// arrives) and ideographic spaces.
std::string_view trim(std::string_view text);

/// The ASCII digits of the text, in order.
std::string digitsOnly(std::string_view text);

} // namespace quenmar::draws::text
