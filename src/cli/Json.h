#pragma once

#include <nlohmann/json.hpp>
#include <string>

// The command line's JSON documents. They are built as nlohmann::ordered_json, which keeps the
// members in the order they are set (the order scripts and the manual page know), and written
// by jsonText in the spelling quenmar-cli has always printed.
namespace quenmar::cli {

using JsonDocument = nlohmann::ordered_json;

/// The document as one compact line of JSON. Texts are valid UTF-8 (each byte that is not
/// part of a well-formed sequence, from a file edited by hand, a page or an index, becomes
/// U+FFFD), control characters are escaped, everything else is written raw. Integers are
/// written as integers, other numbers in the shortest form that reads back as the same
/// double, and a number that is not finite as null.
std::string jsonText(const JsonDocument& document);

} // namespace quenmar::cli
