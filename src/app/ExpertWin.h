#pragma once

#include "prediction/Calculation.h"

#include <QWidget>

class QRadioButton;

namespace quenmar::app {

class ExpertChart;

/// The window 详细排盘: the expert chart of the main window's calculation, and a switch for the
/// changed hexagram's relations, counted from its own palace as the report does or from the
/// primary's palace.
class ExpertWin : public QWidget {
    Q_OBJECT

public:
    /// `standardBiasMinutes`: the time zone's standard bias, which places a chart's moment among
    /// the solar terms.
    ExpertWin(int standardBiasMinutes, const QFont& font, QWidget* parent = nullptr);

    ExpertChart* chart() const { return m_chart; }
    QRadioButton* changedPalaceButton() const { return m_byChangedPalace; }
    QRadioButton* primaryPalaceButton() const { return m_byPrimaryPalace; }

public slots:
    /// Shows the chart of a calculation; one that cast nothing leaves the window as it was.
    void showCalculation(const quenmar::Calculation& calculation);

private:
    int m_standardBias = 0;
    ExpertChart* m_chart = nullptr;
    QRadioButton* m_byChangedPalace = nullptr;
    QRadioButton* m_byPrimaryPalace = nullptr;
};

} // namespace quenmar::app
