#include "support/IniFile.h"

#include "base/Utf8.h"
#include "support/FileBytes.h"

#include <fstream>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace quenmar::support {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

using utf8::trimBlanks;

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// The lines of the file without their "\n"; a "\r" before it stays with the line.
std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The section a line opens, or nothing when it is no section header.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimBlanks(line);
    if (line.size() < 2 || line.front() != '[') {
        return std::nullopt;
    }
    const auto close = line.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return trimBlanks(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view line) {
    line = trimBlanks(line);
    if (line.empty() || line.front() == ';' || line.front() == '#') {
        return std::nullopt;
    }
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{trimBlanks(line.substr(0, eq)), trimBlanks(line.substr(eq + 1))};
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool isUsableName(std::string_view name) {
    return !trimBlanks(name).empty() && name.find_first_of("\r\n[]=") == std::string_view::npos;
}

} // namespace

std::string iniValue(std::string_view text, std::string_view section, std::string_view key) {
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        text.remove_prefix(kUtf8Bom.size());
    }
    bool inSection = false;
    for (const std::string& line : splitLines(text)) {
        if (const auto name = sectionName(line)) {
            inSection = equalsIgnoringAsciiCase(*name, section);
        } else if (inSection) {
            if (const auto entry = keyLine(line); entry && equalsIgnoringAsciiCase(entry->key, key)) {
                return std::string(unquote(entry->value));
            }
        }
    }
    return {};
}

std::optional<std::string> withIniValue(std::string_view text, std::string_view section, std::string_view key,
                                        std::string_view value) {
    if (!isUsableName(section) || !isUsableName(key) ||
        value.find_first_of("\r\n") != std::string_view::npos) {
        return std::nullopt;
    }
    std::vector<std::string> lines = splitLines(text);
    const bool windows = !lines.empty() && !lines.front().empty() && lines.front().back() == '\r';
    const std::string cr = windows ? "\r" : ""; // a file written on Windows keeps its line ends
    const std::string entry = std::string(key) + "=" + std::string(value) + cr;

    std::optional<std::size_t> sectionStart;
    std::optional<std::size_t> lastEntryOfSection;
    bool written = false;
    for (std::size_t i = 0; i < lines.size() && !written; ++i) {
        std::string_view line(lines[i]);
        if (i == 0 && line.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
            line.remove_prefix(kUtf8Bom.size());
        }
        if (const auto name = sectionName(line)) {
            if (sectionStart) {
                break; // the section ended without the key
            }
            if (equalsIgnoringAsciiCase(*name, section)) {
                sectionStart = i;
                lastEntryOfSection = i;
            }
        } else if (sectionStart) {
            if (!trimBlanks(line).empty()) {
                lastEntryOfSection = i;
            }
            if (const auto found = keyLine(line); found && equalsIgnoringAsciiCase(found->key, key)) {
                lines[i] = entry;
                written = true;
            }
        }
    }
    if (!written) {
        if (lastEntryOfSection) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*lastEntryOfSection) + 1, entry);
        } else {
            // Appended piece by piece: g++ 12 warns wrongly of "[" + a string (-Wrestrict).
            std::string header(1, '[');
            header.append(section).append("]").append(cr);
            lines.push_back(std::move(header));
            lines.push_back(entry);
        }
    }

    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += '\n';
    }
    return out;
}

std::string readIniValue(const std::filesystem::path& file, const std::string& section,
                         const std::string& key) {
    const auto text = readFileBytes(file);
    return text ? iniValue(*text, section, key) : std::string();
}

bool writeIniValue(const std::filesystem::path& file, const std::string& section, const std::string& key,
                   const std::string& value) {
    std::string old;
    if (auto text = readFileBytes(file)) {
        old = std::move(*text);
    } else if (std::filesystem::exists(file)) {
        return false; // there but unreadable: never replace what we could not read
    }
    const auto out = withIniValue(old, section, key, value);
    if (!out) {
        return false;
    }
    // Written beside the file and renamed over it, so that a full disk or a crash never
    // leaves a truncated settings file.
    std::filesystem::path temporary = file;
    temporary += ".new";
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        if (!(stream << *out) || !stream.flush()) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace quenmar::support
