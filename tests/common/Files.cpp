#include "Files.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quenmar::test {

namespace {

std::filesystem::path environmentFolder(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

} // namespace

std::optional<std::string> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

std::filesystem::path binFolder() {
    return environmentFolder("QUENMAR_BIN_DIR", ".");
}

std::filesystem::path testDataFolder() {
    return environmentFolder("QUENMAR_TEST_DATA", "tests/data");
}

} // namespace quenmar::test
