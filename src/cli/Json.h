#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A small JSON writer for the command line's output: compact, always valid UTF-8 (bytes that
// are not UTF-8 become U+FFFD), control characters escaped. Values are written in call order; the caller
// keeps the nesting right.
namespace quenmar::cli {

class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(const std::string& text) { return value(std::string_view(text)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(int number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(double number);
    JsonWriter& value(bool flag);
    JsonWriter& null();

    template <typename Range>
    JsonWriter& array(const Range& values) {
        beginArray();
        for (const auto& v : values) {
            value(v);
        }
        return endArray();
    }

    template <typename Range>
    JsonWriter& field(std::string_view name, const Range& values) {
        key(name);
        return array(values);
    }

    JsonWriter& field(std::string_view name, std::string_view text) { return key(name).value(text); }
    JsonWriter& field(std::string_view name, const char* text) { return key(name).value(text); }
    JsonWriter& field(std::string_view name, const std::string& text) { return key(name).value(text); }
    JsonWriter& field(std::string_view name, int number) { return key(name).value(number); }
    JsonWriter& field(std::string_view name, std::int64_t number) { return key(name).value(number); }
    JsonWriter& field(std::string_view name, double number) { return key(name).value(number); }
    JsonWriter& field(std::string_view name, bool flag) { return key(name).value(flag); }

    const std::string& text() const { return m_out; }

private:
    void separate();

    std::string m_out;
    std::vector<bool> m_first; // per open container: no element written yet
    bool m_afterKey = false;
};

} // namespace quenmar::cli
