#pragma once

#include "engine/ChartRun.h"
#include "expert/Annotations.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

class QPainter;

namespace quenmar::app {

/// The expert chart of one calculation in the customary layout. Above: the title, the time with
/// the 节 in force, the four pillars with 旬空, the 互/错/综 hexagrams and 卦身. Below, under the
/// two hexagrams' labels and kinds, one row per line, the top line first: 六神, 伏神, the primary's
/// 六亲 干支 五行, its drawn line, 世/应, the moving mark and its 空/破/冲/身 marks, then the
/// changed hexagram's 六亲 干支 五行, line and marks.
///
/// Everything is painted by paintSheet, onto the widget or onto any other QPainter device (an
/// image, a PDF, a printer), in the widget's logical pixels.
class ExpertChart : public QWidget {
    Q_OBJECT

public:
    enum Column {
        Spirit,
        Hidden,
        Relation,
        Ganzhi,
        Element,
        Lines,
        ShiYing,
        Moving,
        Marks,
        ChangedRelation,
        ChangedGanzhi,
        ChangedElement,
        ChangedLines,
        ChangedMarks,
        ColumnCount
    };
    static constexpr int kRows = 6;
    static constexpr int kHeaderLines = 4;

    explicit ExpertChart(QWidget* parent = nullptr);

    /// Shows a finished run and its annotations.
    void setChart(const ChartRun& run, const Annotations& annotations);
    bool hasChart() const { return m_hasChart; }

    /// Counts the changed hexagram's relations from the primary's palace (true) or, as the
    /// report does, from its own palace (false, the default).
    void setChangedByPrimaryPalace(bool byPrimary);
    bool changedByPrimaryPalace() const { return m_byPrimary; }

    /// Line `index` of the text above the grid (0..kHeaderLines − 1).
    QString headerLine(int index) const;
    /// The label over the primary (0) or the changed (1) half, with the hexagram's kind.
    QString caption(int half) const;
    QString columnTitle(int column) const;
    /// The text of a cell, row 0 being the top line; the two line columns hold the bit.
    QString cellText(int row, int column) const;

    /// Where a cell is painted, row 0 being the top line and row −1 the column titles.
    QRect cellRect(int row, int column) const;
    /// The size of the whole chart in logical pixels.
    QSize sheetSize() const;
    /// Paints the whole chart, its top-left corner at the painter's origin. A device of another
    /// resolution than the screen (a printer) scales the painter first.
    void paintSheet(QPainter& painter) const;

    QSize sizeHint() const override { return sheetSize(); }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void measure();
    void fillCells();
    int gridTop() const;
    void paintGrid(QPainter& painter, const QColor& ink) const;

    ChartRun m_run;
    Annotations m_notes;
    bool m_hasChart = false;
    bool m_byPrimary = false;
    QStringList m_header;
    std::array<QString, 2> m_captions;
    std::array<std::array<QString, ColumnCount>, kRows> m_cells;
    std::array<int, ColumnCount> m_x{};
    std::array<int, ColumnCount> m_width{};
    int m_lineHeight = 0;
    int m_sheetWidth = 0;
};

} // namespace quenmar::app
