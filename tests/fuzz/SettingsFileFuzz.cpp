// Fuzz target for the settings file "config.ini": any text a user or another program leaves
// in it is read, and writing the two keys the program keeps never loses them or any other
// value. The input is the file's text, then after a NUL byte (when there is one) the value
// to write.
#include "FuzzCheck.h"
#include "base/Utf8.h"
#include "support/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// A value that reads back as written: no blanks around it, no quotes around it, one line.
bool readsBackAsWritten(std::string_view value) {
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return !quoted && quenmar::utf8::trimBlanks(value) == value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenmar::support;
    using quenmar::test::fuzzCheck;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string_view text = input.substr(0, nul);
    const std::string_view value = nul == std::string_view::npos ? "2024年5月1日" : input.substr(nul + 1);

    const std::string file = iniValue(text, "sys", "update_file");
    (void)iniValue(text, "SYS", "Update_Day");
    const auto written = withIniValue(text, "sys", "update_day", value);
    fuzzCheck(written.has_value() == (value.find_first_of("\r\n") == std::string_view::npos),
              "every one-line value can be written");
    if (!written) {
        return 0;
    }
    if (readsBackAsWritten(value)) {
        fuzzCheck(iniValue(*written, "sys", "update_day") == value, "a written value reads back");
    }
    fuzzCheck(iniValue(*written, "sys", "update_file") == file, "writing one key keeps the other");
    // Writing it again changes nothing more.
    fuzzCheck(withIniValue(*written, "sys", "update_day", value) == written,
              "a second write is the same file");
    return 0;
}
