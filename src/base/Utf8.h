#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Code-point helpers. Core text is UTF-8; wherever the chart rules count or index
// "characters" they mean Unicode code points, never bytes. Malformed bytes count as one
// character each, so every function is total and never reads past the end.
namespace quenmar::utf8 {

/// True when the text is well-formed UTF-8 (no overlongs, surrogates or values past U+10FFFF).
bool isValid(std::string_view text);

/// The text with every byte that does not belong to a well-formed sequence replaced by U+FFFD,
/// one replacement per byte; well-formed text comes back unchanged.
std::string repaired(std::string_view text);

/// The text as it may reach a terminal: every control character (C0, DEL and C1), every
/// bidirectional embedding, override or isolate (which reorder what follows them on screen)
/// and every byte outside a well-formed sequence written as an escape: "\n", "\r", "\t",
/// "\x1b" for the other C0 controls, DEL and stray bytes, "\u202e" for the others. The
/// rest, CJK text included, stays as it is, so the result is one line of valid UTF-8.
std::string escapeControls(std::string_view text);

/// Byte length of the character that starts at `pos` (1 for a malformed byte).
std::size_t charLength(std::string_view text, std::size_t pos);

/// Number of characters in the text.
std::size_t length(std::string_view text);

/// The character at 0-based character index `index`; empty when out of range.
std::string_view charAt(std::string_view text, std::size_t index);

/// The first `count` characters (the whole text when it is shorter).
std::string_view first(std::string_view text, std::size_t count);

/// The last `count` characters (the whole text when it is shorter).
std::string_view last(std::string_view text, std::size_t count);

/// `count` characters from character index `first`; shorter, or empty, past the end.
std::string_view slice(std::string_view text, std::size_t first, std::size_t count);

/// 0-based character index of the first occurrence of `needle` that starts on a character
/// boundary; 0 for an empty needle; -1 when there is none.
int find(std::string_view haystack, std::string_view needle);

/// The text with surrounding blanks (space, tab, CR, LF, VT, FF) removed.
std::string_view trimBlanks(std::string_view text);

/// The text with surrounding white space removed: the blanks of trimBlanks, no-break spaces
/// (U+00A0, which "&nbsp;" of a web page becomes) and ideographic spaces (U+3000).
std::string_view trimSpaces(std::string_view text);

} // namespace quenmar::utf8
