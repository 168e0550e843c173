#pragma once

#include <optional>
#include <string_view>
#include <vector>

// QR codes of the results text, through libqrencode: version 5 at least, error correction
// level H, 8-bit mode, case-sensitive. The symbol comes back as a square of modules, with no
// quiet zone, for the window to draw.
namespace quenmar::support {

struct QrMatrix {
    int width = 0;          // modules per side
    std::vector<bool> dark; // width × width, row by row, true for a black module

    bool isDark(int x, int y) const { return dark[static_cast<std::size_t>(y * width + x)]; }
};

/// The largest UTF-8 text an 8-bit symbol at level H can hold (version 40).
inline constexpr std::size_t kQrMaxBytes = 1272;

/// Encodes UTF-8 text; nothing when it is empty, holds a NUL byte, or is too long.
std::optional<QrMatrix> encodeQr(std::string_view utf8Text);

} // namespace quenmar::support
