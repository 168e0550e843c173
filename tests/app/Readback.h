#pragma once

#include <QImage>
#include <QString>
#include <optional>

// What the program put on screen or on paper, read back by the tools a user's phone or viewer
// stands for: zbarimg for a QR code, poppler's pdfinfo and pdftotext for a PDF (Debian
// packages zbar-tools and poppler-utils).
namespace quenmar::test {

/// The text of the one QR code in the picture, as raw UTF-8 bytes turned into text; nothing
/// when none decodes. A white margin is put around the picture first, as a phone sees the
/// code with the window around it.
std::optional<QString> decodeQr(const QImage& picture);

/// The number of pages of a PDF file; nothing when pdfinfo cannot read it.
std::optional<int> pdfPageCount(const QString& path);

/// The page size of a PDF file in points, as pdfinfo reports it.
std::optional<QSizeF> pdfPageSize(const QString& path);

/// The text of a PDF file as pdftotext extracts it, in Unicode normalization form KC.
std::optional<QString> pdfText(const QString& path);

} // namespace quenmar::test
