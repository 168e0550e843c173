#include "support/QrEncoder.h"

#include <qrencode.h>
#include <string>

namespace quenmar::support {

std::optional<QrMatrix> encodeQr(std::string_view utf8Text) {
    if (utf8Text.empty() || utf8Text.size() > kQrMaxBytes || utf8Text.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string text(utf8Text);
    QRcode* code = QRcode_encodeString(text.c_str(), 5, QR_ECLEVEL_H, QR_MODE_8, 1);
    if (code == nullptr) {
        return std::nullopt;
    }
    QrMatrix matrix;
    matrix.width = code->width;
    const auto cells = static_cast<std::size_t>(code->width) * static_cast<std::size_t>(code->width);
    matrix.dark.resize(cells);
    for (std::size_t i = 0; i < cells; ++i) {
        matrix.dark[i] = (code->data[i] & 1u) != 0;
    }
    QRcode_free(code);
    return matrix;
}

} // namespace quenmar::support
