#include "app/ExpertWin.h"

#include "app/ExpertChart.h"
#include "expert/Annotations.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quenmar::app {

namespace {

// The chart is a page to read: larger than the 9 points of the panels.
constexpr int kChartPointSize = 11;

} // namespace

ExpertWin::ExpertWin(int standardBiasMinutes, const QFont& font, QWidget* parent)
    : QWidget(parent, Qt::Window), m_standardBias(standardBiasMinutes) {
    setObjectName(QStringLiteral("expertWin"));
    setWindowTitle(QStringLiteral("详细排盘"));
    setFont(font);

    m_byChangedPalace = new QRadioButton(QStringLiteral("按变卦宫"), this);
    m_byChangedPalace->setObjectName(QStringLiteral("byChangedPalace"));
    m_byChangedPalace->setChecked(true);
    m_byPrimaryPalace = new QRadioButton(QStringLiteral("按本卦宫"), this);
    m_byPrimaryPalace->setObjectName(QStringLiteral("byPrimaryPalace"));
    auto* group = new QButtonGroup(this);
    group->addButton(m_byChangedPalace);
    group->addButton(m_byPrimaryPalace);

    m_chart = new ExpertChart(this);
    QFont chartFont = font;
    chartFont.setPointSize(kChartPointSize);
    m_chart->setFont(chartFont);
    m_chart->setFixedSize(m_chart->sheetSize());
    connect(m_byPrimaryPalace, &QRadioButton::toggled, m_chart, &ExpertChart::setChangedByPrimaryPalace);

    auto* switchRow = new QHBoxLayout;
    switchRow->addWidget(new QLabel(QStringLiteral("变卦六亲:"), this));
    switchRow->addWidget(m_byChangedPalace);
    switchRow->addWidget(m_byPrimaryPalace);
    switchRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(switchRow);
    layout->addWidget(m_chart);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ExpertWin::showCalculation(const Calculation& calculation) {
    if (!calculation.run.charted) {
        return;
    }
    m_chart->setChart(calculation.run, annotate(calculation.run.chart, m_standardBias));
}

} // namespace quenmar::app
