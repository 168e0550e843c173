#pragma once

#include "engine/CastRequest.h"
#include "engine/ChartResult.h"
#include "prediction/Calculation.h"

#include <QWidget>
#include <array>

class QLabel;
class QPlainTextEdit;

namespace quenmar::app {

/// Shows one calculation: the title line, the names of the two hexagrams, the six-by-twelve
/// grid, the analysis heading and the report. It hosts the run of a calculation and keeps the
/// chart of the last run, which saving copies.
class ChartPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDesignWidth = 1872;
    static constexpr int kDesignHeight = 493;

    explicit ChartPanel(QWidget* parent = nullptr);

    /// The x of each grid column's cells for a cell width `a`: column 1 at 30, 20 between
    /// columns, the two 卦象 columns three cells wide. Exports lay the chart out the same way.
    static std::array<int, kGridColumns> columnX(int a);
    static bool isLineColumn(int column);
    /// The top of grid row `row` (0 = line 6) for a line height `h`.
    static int rowTop(int row, int h);

    /// Runs one calculation (quenmar::runCalculation) and shows it; raises `chartFinished` with
    /// it when the report is written. A request that casts nothing leaves the panel as it was.
    void runCalculation(const CastRequest& request);

    /// Empties the report box; the title, the labels and the grid keep their texts.
    void clear();

    /// How much of the panel, from its top, the main window shows; the report box ends 10
    /// above that rather than under the status bar. 0 (the default): the whole panel.
    void setVisibleHeight(int height);

    /// The chart of the last run; false before the first one.
    bool hasChart() const { return m_hasChart; }
    const ChartResult& chart() const { return m_chart; }

    QLabel* titleLabel() const { return m_title; }
    QLabel* primaryLabel() const { return m_primaryName; }
    QLabel* changedLabel() const { return m_changedName; }
    QPlainTextEdit* reportBox() const { return m_report; }
    /// The text of a grid cell, row 0 being the top line; for the two line columns the bit.
    QString cellText(int row, int column) const;
    QWidget* cell(int row, int column) const;

signals:
    /// The whole calculation, its number basis and prediction included.
    void chartFinished(const quenmar::Calculation& calculation);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutGrid();
    void showRun(const ChartRun& run);

    ChartResult m_chart;
    bool m_hasChart = false;
    QLabel* m_title = nullptr;
    QLabel* m_primaryName = nullptr;
    QLabel* m_changedName = nullptr;
    std::array<QLabel*, 12> m_headers{};
    std::array<std::array<QWidget*, 12>, 6> m_cells{};
    QLabel* m_heading = nullptr;
    QPlainTextEdit* m_report = nullptr;
    int m_unit = 0;       // width of "长度"
    int m_lineHeight = 0; // height of "卦"
    int m_visibleHeight = 0;
};

} // namespace quenmar::app
