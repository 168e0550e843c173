#include "support/FileBytes.h"

#include <cstdint>
#include <cstdio>
#include <fstream>

namespace quenmar::support {

std::optional<std::string> readFileBytes(const std::filesystem::path& file) {
    // file_size refuses anything but a regular file (a folder, a missing file) by an error.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::ifstream in(file, std::ios::binary);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())) || in.peek() != EOF) {
        return std::nullopt; // cut short, or grown, while it was read
    }
    return bytes;
}

} // namespace quenmar::support
