#pragma once

#include "engine/ChartRun.h"
#include "prediction/Calculation.h"

#include <QFont>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace quenmar::app {

/// A calculation laid out for paper and pictures: the chart as the chart panel shows it (the
/// title line, the two hexagram names, the column headers, the grid with its drawn lines and
/// marks, the analysis heading), then blocks of text (the report, the prediction), each
/// wrapped to the width at hand. It paints onto any QPainter device: a picture, Qt's PDF
/// writer, a printer. Other windows hand in their own blocks and print the same way.
///
/// Lengths are logical pixels at 96 dpi, the units the panels are laid out in; a device of
/// another resolution is painted through a scaled painter.
class ChartDocument {
public:
    /// Pictures are drawn at twice the window's resolution, sharp on a phone's screen.
    static constexpr qreal kPictureScale = 2.0;

    ChartDocument(const ChartView& view, const QStringList& blocks, const QFont& font);

    /// The chart, its report and its prediction.
    static ChartDocument ofCalculation(const Calculation& calculation, const QFont& font);

    /// The chart's title line: the document's title in a PDF and a print queue.
    QString title() const { return m_view.title; }

    /// The whole document on one sheet as wide as the chart.
    QSize pictureSize() const;
    /// That sheet at `scale` device pixels per logical pixel, on white.
    QImage picture(qreal scale = kPictureScale) const;

    /// How many pages of `pageSize` the document fills.
    int pageCount(const QSizeF& pageSize) const;
    /// Paints the document page by page onto a PDF writer or a printer; false when the
    /// device cannot be painted on.
    bool print(QPagedPaintDevice& device) const;
    /// Writes the document as an A4 PDF with Qt's writer, its fonts embedded; false when the
    /// file cannot be written.
    bool writePdf(const QString& path) const;

private:
    struct ViewTexts {
        QString title;
        QString primaryLabel;
        QString changedLabel;
        std::array<std::array<QString, kGridColumns>, kGridRows> cells;
    };
    /// One piece of the flow: the chart (no text) or one line of a block.
    struct Piece {
        bool chart = false;
        QString text;
        qreal height = 0;
    };
    /// Where a piece lands: its page and its top on that page.
    struct Placed {
        const Piece* piece = nullptr;
        int page = 0;
        qreal top = 0;
    };

    std::vector<Piece> flow(qreal width) const;
    std::vector<Placed> placeOnPages(const std::vector<Piece>& pieces, qreal pageHeight) const;
    void paintChart(QPainter& painter) const;
    void paintPiece(QPainter& painter, const Placed& placed, qreal width) const;
    qreal chartScale(qreal width) const;
    qreal chartWidth() const;
    qreal chartHeight() const;

    ViewTexts m_view;
    QStringList m_blocks;
    QFont m_font;         // a pixel size, so that every device draws it at the size it is laid out
    int m_unit = 0;       // width of "长度", the width of a grid cell
    int m_lineHeight = 0; // height of "卦"
};

} // namespace quenmar::app
