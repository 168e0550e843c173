#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The settings file "config.ini": a plain INI file read and written one value at a time, the
// way the program has always treated it. Section and key names match without regard to ASCII
// case, surrounding blanks and one pair of quotes around a value are dropped on reading, and
// every other line of the file, comments included, is kept as it was when a value is written.
namespace quenmar::support {

/// The value of `key` in `section`, or empty text when the file, the section or the key is
/// missing (the first occurrence wins when a key is repeated).
std::string readIniValue(const std::filesystem::path& file, const std::string& section,
                         const std::string& key);

/// Sets `key` in `section` to `value`, creating the file, the section or the key as needed.
/// The file is replaced in one step, so a failure leaves the old one intact. False when it
/// cannot be written, or when a name or the value holds a line break or a name is empty.
bool writeIniValue(const std::filesystem::path& file, const std::string& section, const std::string& key,
                   const std::string& value);

/// readIniValue on the text of a settings file.
std::string iniValue(std::string_view text, std::string_view section, std::string_view key);

/// The text of a settings file after writeIniValue; nothing when a name or the value cannot
/// be written (a line break, an empty name).
std::optional<std::string> withIniValue(std::string_view text, std::string_view section, std::string_view key,
                                        std::string_view value);

} // namespace quenmar::support
