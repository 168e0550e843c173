#include "app/panels/ChartPanel.h"

#include "app/UiFont.h"
#include "app/panels/LineCell.h"
#include "engine/ChartRun.h"
#include "engine/Report.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace quenmar::app {

namespace {

constexpr int kColumnGap = 20;
constexpr int kFirstColumnX = 30;
constexpr int kReportBottomGap = 10;

} // namespace

bool ChartPanel::isLineColumn(int column) {
    return column == kPrimaryLinesColumn || column == kChangedLinesColumn;
}

std::array<int, kGridColumns> ChartPanel::columnX(int a) {
    std::array<int, kGridColumns> x{};
    int next = kFirstColumnX;
    for (int c = 0; c < kGridColumns; ++c) {
        x[static_cast<std::size_t>(c)] = next;
        next += (isLineColumn(c) ? 3 * a : a) + kColumnGap;
    }
    return x;
}

int ChartPanel::rowTop(int row, int h) {
    return (h + 10) * row + 3 * h + 50;
}

ChartPanel::ChartPanel(QWidget* parent) : QWidget(parent) {
    const QSize unit = textExtent(font(), QStringLiteral("长度"));
    m_unit = unit.width();
    m_lineHeight = textExtent(font(), QStringLiteral("卦")).height();
    const int u = m_unit;
    const int h = m_lineHeight;

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("chartTitle"));
    m_title->setGeometry(30, 10, u * 6 + 30, h);
    m_primaryName = new QLabel(this);
    m_primaryName->setObjectName(QStringLiteral("primaryName"));
    m_primaryName->setGeometry(0, h + 20, u * 3, h);
    m_changedName = new QLabel(this);
    m_changedName->setObjectName(QStringLiteral("changedName"));
    m_changedName->setGeometry(0, h + 20, u * 3, h);

    const auto titles = chartColumnTitles();
    for (int c = 0; c < kGridColumns; ++c) {
        auto* header = new QLabel(QString::fromStdString(titles[static_cast<std::size_t>(c)]), this);
        header->setGeometry(30, 2 * h + 30, u, h);
        if (isLineColumn(c)) {
            // The two line columns stand apart from the others.
            QFont bold = header->font();
            bold.setBold(true);
            header->setFont(bold);
            header->setAlignment(Qt::AlignCenter);
        }
        m_headers[static_cast<std::size_t>(c)] = header;
    }
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            QWidget* cellWidget = nullptr;
            if (isLineColumn(c)) {
                cellWidget = new LineCell(this);
                cellWidget->resize(3 * u, h);
            } else {
                auto* label = new QLabel(this);
                label->resize(u, h);
                cellWidget = label;
            }
            cellWidget->move(30, rowTop(r, h));
            cellWidget->setObjectName(QStringLiteral("cell_%1_%2").arg(r).arg(c));
            m_cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = cellWidget;
        }
    }

    m_heading = new QLabel(
        QString::fromUtf8(kReportCaption.data(), static_cast<qsizetype>(kReportCaption.size())), this);
    m_heading->setObjectName(QStringLiteral("analysisHeading"));
    m_heading->setAutoFillBackground(true);
    QPalette headingPalette = m_heading->palette();
    headingPalette.setColor(QPalette::Window, QColor(101, 203, 211));
    m_heading->setPalette(headingPalette);
    m_heading->setGeometry(30, (h + 10) * 5 + 4 * h + 50, u, h);

    m_report = new QPlainTextEdit(this);
    m_report->setObjectName(QStringLiteral("reportBox"));
    m_report->setReadOnly(true);
    m_report->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_report->setGeometry(10, m_heading->geometry().bottom() + 1 + 10, 1, h);

    resize(kDesignWidth, kDesignHeight);
    layoutGrid();
}

void ChartPanel::resizeEvent(QResizeEvent*) {
    layoutGrid();
}

void ChartPanel::layoutGrid() {
    const int a = m_cells[0][0]->width();
    const std::array<int, kGridColumns> x = columnX(a);
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            QWidget* cellWidget = m_cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            cellWidget->move(x[static_cast<std::size_t>(c)], cellWidget->y());
        }
    }
    const int panelWidth = 16 * a + 250;
    if (width() != panelWidth) {
        resize(panelWidth, height()); // comes back here once with the final width
        return;
    }
    for (int c = 0; c < kGridColumns; ++c) {
        QLabel* header = m_headers[static_cast<std::size_t>(c)];
        header->move(x[static_cast<std::size_t>(c)], header->y());
        if (isLineColumn(c)) {
            header->resize(3 * a, header->height());
        }
    }
    const int x1 = x[0];
    const int x12 = x[11];
    const QWidget* lastRowFirst = m_cells[kGridRows - 1][0];
    m_heading->setGeometry(x1, lastRowFirst->geometry().bottom() + 1 + 10, x12 - x1, m_heading->height());
    const int reportTop = m_heading->geometry().bottom() + 1 + 10;
    int reportHeight = height() - (m_heading->geometry().bottom() + 1) - 180;
    if (m_visibleHeight > 0) {
        // The panel's lower part is cut off by the main window: the box ends above the cut.
        reportHeight = std::min(reportHeight, m_visibleHeight - kReportBottomGap - reportTop);
    }
    m_report->setGeometry(m_report->x(), reportTop, x12 + a - 10, std::max(m_lineHeight, reportHeight));
    m_primaryName->setGeometry(x[3], m_primaryName->y(), x[7] - x[3], m_primaryName->height());
    m_changedName->setGeometry(x[8], m_changedName->y(), x12 - x[8], m_changedName->height());
    m_title->setGeometry(m_primaryName->x(), m_title->y(),
                         m_changedName->geometry().right() + 1 - m_primaryName->x(), m_title->height());
}

void ChartPanel::runCalculation(const CastRequest& request) {
    const Calculation calculation = quenmar::runCalculation(request);
    if (!calculation.run.charted) {
        return;
    }
    showRun(calculation.run);
    m_chart = calculation.run.chart;
    m_hasChart = true;
    emit chartFinished(calculation);
}

void ChartPanel::showRun(const ChartRun& run) {
    m_title->setText(QString::fromStdString(run.view.title));
    m_primaryName->setText(QString::fromStdString(run.view.primaryLabel));
    m_changedName->setText(QString::fromStdString(run.view.changedLabel));
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            const QString text = QString::fromStdString(
                run.view.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
            QWidget* cellWidget = m_cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            if (auto* lineCell = qobject_cast<LineCell*>(cellWidget)) {
                lineCell->setBit(text);
            } else {
                static_cast<QLabel*>(cellWidget)->setText(text);
            }
        }
    }
    // The report's lines end in CR LF; the box shows plain line breaks.
    QString report = QString::fromStdString(run.report);
    report.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_report->setPlainText(report);
}

void ChartPanel::setVisibleHeight(int height) {
    m_visibleHeight = height;
    layoutGrid();
}

void ChartPanel::clear() {
    m_report->clear();
}

QString ChartPanel::cellText(int row, int column) const {
    QWidget* cellWidget = cell(row, column);
    if (auto* lineCell = qobject_cast<LineCell*>(cellWidget)) {
        return lineCell->bit();
    }
    return static_cast<QLabel*>(cellWidget)->text();
}

QWidget* ChartPanel::cell(int row, int column) const {
    return m_cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

} // namespace quenmar::app
