#pragma once

#include <optional>
#include <string>
#include <string_view>

// Text between UTF-8 and other character sets (the GB family of the results pages, the
// UTF-16LE of the update address), over iconv: the one place that includes it.
namespace quenmar::support {

/// Converts `bytes` from the character set `charset` (an iconv name such as "GB18030") to
/// UTF-8. Nothing when the character set is unknown or the bytes are not valid in it: a
/// strict conversion never hands back half a text.
std::optional<std::string> convertToUtf8(std::string_view bytes, std::string_view charset);

/// Converts UTF-8 `text` to the character set `charset`. Nothing when the character set is
/// unknown, the text is not well-formed UTF-8 or holds a character the set lacks.
std::optional<std::string> convertFromUtf8(std::string_view text, std::string_view charset);

/// Decodes a page that calls itself GB2312 or GB18030. Sites that label their pages "GB2312"
/// routinely send GBK characters, so the strict GB2312 table would blank the page over one
/// glyph: GB18030, a superset of both, is tried first. GB18030 refuses a lone 0x80 byte that
/// CP936 (Windows' GBK) reads as the euro sign, so CP936 comes next. When both refuse, the
/// page is decoded with U+FFFD in place of each byte neither can read, so that one damaged
/// byte costs one character rather than the whole page.
std::string decodeGbPage(std::string_view bytes);

} // namespace quenmar::support
