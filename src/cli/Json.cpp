#include "cli/Json.h"

#include "base/Utf8.h"

#include <charconv>
#include <cmath>

namespace quenmar::cli {

namespace {

// Why not JsonDocument::dump(): its Grisu2 digits are not always the shortest (about one
// moment in a thousand would gain a 17th digit), it writes a whole double as "45000.0", and it
// spells U+0008 and U+000C as \b and \f where this program has always written \u0008 and \u000c.
// Scripts compare these documents as text, so they keep the spelling they had.

void writeString(std::string_view raw, std::string& out) {
    static constexpr char hex[] = "0123456789abcdef";
    const std::string text = utf8::repaired(raw);
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
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
            if (byte < 0x20) {
                out += "\\u00";
                out += hex[byte >> 4];
                out += hex[byte & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void writeDouble(double number, std::string& out) {
    if (!std::isfinite(number)) {
        out += "null";
        return;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    out.append(buffer, result.ptr);
}

void writeValue(const JsonDocument& value, std::string& out) {
    using Type = JsonDocument::value_t;
    switch (value.type()) {
    case Type::object: {
        out += '{';
        bool first = true;
        for (const auto& [key, member] : value.items()) {
            out += first ? "" : ",";
            first = false;
            writeString(key, out);
            out += ':';
            writeValue(member, out);
        }
        out += '}';
        break;
    }
    case Type::array: {
        out += '[';
        bool first = true;
        for (const JsonDocument& element : value) {
            out += first ? "" : ",";
            first = false;
            writeValue(element, out);
        }
        out += ']';
        break;
    }
    case Type::string:
        writeString(value.get_ref<const std::string&>(), out);
        break;
    case Type::boolean:
        out += value.get<bool>() ? "true" : "false";
        break;
    case Type::number_integer:
        out += std::to_string(value.get<std::int64_t>());
        break;
    case Type::number_unsigned:
        out += std::to_string(value.get<std::uint64_t>());
        break;
    case Type::number_float:
        writeDouble(value.get<double>(), out);
        break;
    default: // null, and the binary and discarded values no document of ours holds
        out += "null";
        break;
    }
}

} // namespace

std::string jsonText(const JsonDocument& document) {
    std::string out;
    writeValue(document, out);
    return out;
}

} // namespace quenmar::cli
