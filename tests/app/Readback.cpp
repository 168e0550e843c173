#include "Readback.h"

#include "Programs.h"
#include "TempFolder.h"

#include <QPainter>
#include <QRegularExpression>

namespace quenmar::test {

namespace {

constexpr int kQuietZone = 16;

std::optional<std::string> run(const std::vector<std::string>& argv) {
    const test::ProgramRun ran = test::runProgram(argv);
    if (!ran.succeeded()) {
        return std::nullopt;
    }
    return ran.out;
}

} // namespace

std::optional<QString> decodeQr(const QImage& picture) {
    QImage framed(picture.width() + 2 * kQuietZone, picture.height() + 2 * kQuietZone, QImage::Format_RGB32);
    framed.fill(Qt::white);
    {
        QPainter painter(&framed);
        painter.drawImage(kQuietZone, kQuietZone, picture);
    }
    const test::TempFolder folder;
    const std::string file = folder.file("qr.png");
    if (!framed.save(QString::fromStdString(file), "PNG")) {
        return std::nullopt;
    }
    // -Sbinary: the bytes of the symbol as they are, with no guess at their encoding.
    const auto out = run({"zbarimg", "--quiet", "--raw", "-Sbinary", file});
    if (!out) {
        return std::nullopt;
    }
    return QString::fromUtf8(*out);
}

std::optional<int> pdfPageCount(const QString& path) {
    const auto out = run({"pdfinfo", path.toStdString()});
    if (!out) {
        return std::nullopt;
    }
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(*out));
    if (!pages.hasMatch()) {
        return std::nullopt;
    }
    return pages.captured(1).toInt();
}

std::optional<QSizeF> pdfPageSize(const QString& path) {
    const auto out = run({"pdfinfo", path.toStdString()});
    if (!out) {
        return std::nullopt;
    }
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("^Page size:\\s+([0-9.]+) x ([0-9.]+) pts"),
                           QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(*out));
    if (!size.hasMatch()) {
        return std::nullopt;
    }
    return QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
}

std::optional<QString> pdfText(const QString& path) {
    const auto out = run({"pdftotext", "-enc", "UTF-8", path.toStdString(), "-"});
    if (!out) {
        return std::nullopt;
    }
    // Qt's PDF writer maps each glyph back to the lowest code point the font draws with it, and
    // Noto Sans CJK draws the Kangxi radicals with the glyphs of the ideographs (⽣ for 生):
    // NFKC turns them back into the ideographs.
    return QString::fromUtf8(*out).normalized(QString::NormalizationForm_KC);
}

} // namespace quenmar::test
