#include "app/HitsChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QValueAxis>
#include <algorithm>

namespace quenmar::app {

HitsChart::HitsChart(QWidget* parent) : QChartView(parent) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("每注中几个号码: 推演号码与随机选号"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);

    m_actual = new QBarSet(QStringLiteral("推演号码 (注数)"));
    m_actual->setColor(QColor(214, 40, 40));
    m_chance = new QBarSet(QStringLiteral("随机选号的期望 (注数)"));
    m_chance->setColor(QColor(150, 150, 150));
    auto* series = new QBarSeries;
    series->append(m_actual);
    series->append(m_chance);
    chart->addSeries(series);

    auto* hits = new QBarCategoryAxis;
    for (int k = 0; k < tally::kHitCounts; ++k) {
        hits->append(QString::number(k));
    }
    hits->setTitleText(QStringLiteral("中奖号码个数"));
    m_counts = new QValueAxis;
    m_counts->setLabelFormat(QStringLiteral("%.0f"));
    m_counts->setTitleText(QStringLiteral("注数"));
    chart->addAxis(hits, Qt::AlignBottom);
    chart->addAxis(m_counts, Qt::AlignLeft);
    series->attachAxis(hits);
    series->attachAxis(m_counts);

    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    showSummary({});
}

void HitsChart::showSummary(const tally::TallySummary& summary) {
    m_actual->remove(0, m_actual->count());
    m_chance->remove(0, m_chance->count());
    double highest = 1.0;
    for (int k = 0; k < tally::kHitCounts; ++k) {
        const auto actual = static_cast<double>(summary.betsByHits[static_cast<std::size_t>(k)]);
        const double chance = summary.expectedBets(k);
        m_actual->append(actual);
        m_chance->append(chance);
        highest = std::max({highest, actual, chance});
    }
    m_counts->setRange(0.0, highest * 1.1);
    m_counts->applyNiceNumbers();
}

} // namespace quenmar::app
