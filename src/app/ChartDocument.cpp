#include "app/ChartDocument.h"

#include "app/UiFont.h"
#include "app/panels/ChartPanel.h"
#include "app/panels/LineCell.h"
#include "base/Version.h"
#include "engine/Report.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <cmath>
#include <limits>

namespace quenmar::app {

namespace {

constexpr qreal kScreenDpi = 96.0;
constexpr int kTextMargin = 10; // the report box's left edge in the panel
constexpr qreal kMetresPerInch = 0.0254;
const QColor kInk(Qt::black);
const QColor kHeadingBackground(101, 203, 211);

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

ChartDocument::ChartDocument(const ChartView& view, const QStringList& blocks, const QFont& font)
    : m_blocks(blocks), m_font(font) {
    m_view.title = QString::fromStdString(view.title);
    m_view.primaryLabel = QString::fromStdString(view.primaryLabel);
    m_view.changedLabel = QString::fromStdString(view.changedLabel);
    for (std::size_t r = 0; r < m_view.cells.size(); ++r) {
        for (std::size_t c = 0; c < m_view.cells[r].size(); ++c) {
            m_view.cells[r][c] = QString::fromStdString(view.cells[r][c]);
        }
    }
    m_font.setPixelSize(QFontInfo(font).pixelSize());
    m_unit = textExtent(m_font, QStringLiteral("长度")).width();
    m_lineHeight = textExtent(m_font, QStringLiteral("卦")).height();
}

ChartDocument ChartDocument::ofCalculation(const Calculation& calculation, const QFont& font) {
    return ChartDocument(
        calculation.run.view,
        {QString::fromStdString(calculation.run.report), QString::fromStdString(calculation.prediction.text)},
        font);
}

qreal ChartDocument::chartWidth() const {
    return 16 * m_unit + 250; // the chart panel's own width
}

qreal ChartDocument::chartHeight() const {
    const int headingTop = ChartPanel::rowTop(kGridRows - 1, m_lineHeight) + m_lineHeight + 10;
    return headingTop + m_lineHeight + 10;
}

qreal ChartDocument::chartScale(qreal width) const {
    return std::min(1.0, width / chartWidth()); // a page narrower than the chart shrinks it
}

std::vector<ChartDocument::Piece> ChartDocument::flow(qreal width) const {
    const qreal lineHeight = QFontMetricsF(m_font).lineSpacing();
    std::vector<Piece> pieces{Piece{true, QString(), chartHeight() * chartScale(width)}};
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString& block : m_blocks) {
        pieces.push_back(Piece{false, QString(), lineHeight}); // a blank line before each block
        QString text = block;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
            QTextLayout layout(paragraph, m_font);
            layout.setTextOption(wrapping);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(width - 2 * kTextMargin);
                pieces.push_back(
                    Piece{false, paragraph.mid(line.textStart(), line.textLength()), lineHeight});
            }
            layout.endLayout();
        }
    }
    return pieces;
}

std::vector<ChartDocument::Placed> ChartDocument::placeOnPages(const std::vector<Piece>& pieces,
                                                               qreal pageHeight) const {
    std::vector<Placed> placed;
    int page = 0;
    qreal top = 0;
    for (const Piece& piece : pieces) {
        if (top > 0 && top + piece.height > pageHeight) {
            ++page;
            top = 0;
        }
        placed.push_back(Placed{&piece, page, top});
        top += piece.height;
    }
    return placed;
}

void ChartDocument::paintChart(QPainter& painter) const {
    // Where the chart panel puts its controls (see ChartPanel's layout), drawn rather than shown.
    const int a = m_unit;
    const int h = m_lineHeight;
    const std::array<int, kGridColumns> x = ChartPanel::columnX(a);
    const auto cellWidth = [a](int column) {
        return ChartPanel::isLineColumn(column) ? 3 * a : a;
    };
    const auto text = [&painter](const QRectF& box, const QString& line, int alignment = Qt::AlignLeft) {
        painter.drawText(box, alignment | Qt::AlignVCenter | Qt::TextSingleLine, line);
    };
    painter.setFont(m_font);
    painter.setPen(kInk);
    text(QRectF(x[3], 10, x[11] - x[3], h), m_view.title);
    text(QRectF(x[3], h + 20, x[7] - x[3], h), m_view.primaryLabel);
    text(QRectF(x[8], h + 20, x[11] - x[8], h), m_view.changedLabel);

    const auto titles = chartColumnTitles();
    QFont bold = m_font;
    bold.setBold(true);
    for (int c = 0; c < kGridColumns; ++c) {
        const bool lines = ChartPanel::isLineColumn(c);
        painter.setFont(lines ? bold : m_font);
        text(QRectF(x[static_cast<std::size_t>(c)], 2 * h + 30, cellWidth(c), h),
             QString::fromStdString(titles[static_cast<std::size_t>(c)]),
             lines ? Qt::AlignHCenter : Qt::AlignLeft);
    }
    painter.setFont(m_font);
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            const QRectF cell(x[static_cast<std::size_t>(c)], ChartPanel::rowTop(r, h), cellWidth(c), h);
            const QString& value = m_view.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            if (ChartPanel::isLineColumn(c)) {
                LineCell::paintBit(painter, cell, value, kInk);
            } else {
                text(cell, value);
            }
        }
    }
    const QRectF heading(x[0], ChartPanel::rowTop(kGridRows - 1, h) + h + 10, x[11] - x[0], h);
    painter.fillRect(heading, kHeadingBackground);
    text(heading, fromUtf8(kReportCaption));
}

void ChartDocument::paintPiece(QPainter& painter, const Placed& placed, qreal width) const {
    if (placed.piece->chart) {
        painter.save();
        painter.translate(0, placed.top);
        const qreal scale = chartScale(width);
        painter.scale(scale, scale);
        paintChart(painter);
        painter.restore();
        return;
    }
    painter.setFont(m_font);
    painter.setPen(kInk);
    painter.drawText(QPointF(kTextMargin, placed.top + QFontMetricsF(m_font).ascent()), placed.piece->text);
}

QSize ChartDocument::pictureSize() const {
    const std::vector<Piece> pieces = flow(chartWidth());
    qreal height = kTextMargin;
    for (const Piece& piece : pieces) {
        height += piece.height;
    }
    return QSize(static_cast<int>(chartWidth()), static_cast<int>(std::ceil(height)));
}

QImage ChartDocument::picture(qreal scale) const {
    const QSize size = pictureSize();
    QImage image(QSize(static_cast<int>(std::round(size.width() * scale)),
                       static_cast<int>(std::round(size.height() * scale))),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    // Shown at the window's size by a viewer that reads the resolution.
    const int dotsPerMetre = static_cast<int>(std::round(kScreenDpi * scale / kMetresPerInch));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const std::vector<Piece> pieces = flow(chartWidth());
    for (const Placed& placed : placeOnPages(pieces, std::numeric_limits<qreal>::infinity())) {
        paintPiece(painter, placed, chartWidth());
    }
    return image;
}

int ChartDocument::pageCount(const QSizeF& pageSize) const {
    const std::vector<Piece> pieces = flow(pageSize.width());
    return placeOnPages(pieces, pageSize.height()).back().page + 1;
}

bool ChartDocument::print(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    // The device counts in its own dots; the document is laid out in logical pixels.
    const qreal scale = device.logicalDpiY() / kScreenDpi;
    const QSizeF page(device.width() / scale, device.height() / scale);
    const std::vector<Piece> pieces = flow(page.width());
    int current = 0;
    painter.scale(scale, scale);
    for (const Placed& placed : placeOnPages(pieces, page.height())) {
        if (placed.page != current) {
            device.newPage();
            current = placed.page;
            painter.resetTransform();
            painter.scale(scale, scale);
        }
        paintPiece(painter, placed, page.width());
    }
    return painter.end();
}

bool ChartDocument::writePdf(const QString& path) const {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setTitle(title());
    writer.setCreator(QStringLiteral("Quenmar %1").arg(fromUtf8(kVersionName)));
    return print(writer);
}

} // namespace quenmar::app
