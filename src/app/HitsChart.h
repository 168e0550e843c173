#pragma once

#include "tally/RecordCheck.h"

#include <QChartView>

class QBarSet;
class QValueAxis;

// The summary of a check as a bar chart: for k = 0..10 hits, how many bets had k hits beside
// how many chance alone gives a random ten-number bet.
namespace quenmar::app {

class HitsChart : public QChartView {
    Q_OBJECT

public:
    explicit HitsChart(QWidget* parent = nullptr);

    void showSummary(const tally::TallySummary& summary);

    QBarSet* actualBars() const { return m_actual; }
    QBarSet* chanceBars() const { return m_chance; }

private:
    QBarSet* m_actual = nullptr;
    QBarSet* m_chance = nullptr;
    QValueAxis* m_counts = nullptr;
};

} // namespace quenmar::app
