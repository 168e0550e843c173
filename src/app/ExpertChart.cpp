#include "app/ExpertChart.h"

#include "app/UiFont.h"
#include "app/panels/LineCell.h"
#include "engine/Moment.h"
#include "expert/AnnotationTexts.h"

#include <QEvent>
#include <QFontInfo>
#include <QPainter>
#include <algorithm>

namespace quenmar::app {

namespace {

constexpr int kMargin = 20;
constexpr int kGap = 10;      // between columns, and between the rows of the grid
constexpr int kGroupGap = 30; // between the primary and the changed half
constexpr int kHeaderGap = 6; // between the lines of the text above the grid
constexpr int kLineUnits = 3; // a drawn line is three cells wide, as in the chart panel

const QColor kMarkInk(176, 0, 0);
const QColor kRuleInk(160, 160, 160);

bool isLineColumn(int column) {
    return column == ExpertChart::Lines || column == ExpertChart::ChangedLines;
}

bool isMarkColumn(int column) {
    return column == ExpertChart::Moving || column == ExpertChart::Marks ||
           column == ExpertChart::ChangedMarks;
}

// The widest text a column holds, which sets its width; the line columns are measured apart.
const std::array<QString, ExpertChart::ColumnCount> kWidestTexts = {QStringLiteral("腾蛇"),
                                                                    QStringLiteral("子孙甲子水"),
                                                                    QStringLiteral("官鬼"),
                                                                    QStringLiteral("甲子"),
                                                                    QStringLiteral("五行"),
                                                                    QString(),
                                                                    QStringLiteral("世应"),
                                                                    QStringLiteral("动爻"),
                                                                    QStringLiteral("空破冲身"),
                                                                    QStringLiteral("官鬼"),
                                                                    QStringLiteral("甲子"),
                                                                    QStringLiteral("五行"),
                                                                    QString(),
                                                                    QStringLiteral("空破冲")};

} // namespace

ExpertChart::ExpertChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("expertChart"));
    measure();
}

void ExpertChart::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        measure();
        updateGeometry();
        update();
    }
}

void ExpertChart::measure() {
    const QSize unit = textExtent(font(), QStringLiteral("长度"));
    m_lineHeight = textExtent(font(), QStringLiteral("卦")).height();
    int x = kMargin;
    for (int c = 0; c < ColumnCount; ++c) {
        const auto column = static_cast<std::size_t>(c);
        if (c == ChangedRelation) {
            x += kGroupGap - kGap;
        }
        m_x[column] = x;
        m_width[column] =
            isLineColumn(c) ? kLineUnits * unit.width() : textExtent(font(), kWidestTexts[column]).width();
        x += m_width[column] + kGap;
    }
    // The changed half is as wide as its longest label, which names the palace its relations
    // are counted from when that is the primary's.
    const int caption =
        textExtent(font(), QStringLiteral("变卦 兑宫 (8) 雷泽归妹 归魂  六合  (六亲按本卦宫)")).width();
    m_sheetWidth = std::max(x - kGap, m_x[ChangedRelation] + caption) + kMargin;
}

void ExpertChart::setChart(const ChartRun& run, const Annotations& annotations) {
    m_run = run;
    m_notes = annotations;
    m_hasChart = run.charted;
    fillCells();
    update();
}

void ExpertChart::setChangedByPrimaryPalace(bool byPrimary) {
    if (byPrimary != m_byPrimary) {
        m_byPrimary = byPrimary;
        fillCells();
        update();
    }
}

void ExpertChart::fillCells() {
    const ChartResult& chart = m_run.chart;
    const Annotations& a = m_notes;
    const std::string term = solarTermText(a);
    m_header = QStringList{QString::fromStdString(m_run.view.title),
                           QString::fromStdString("时间: " + dateTimeText(chart.moment) +
                                                  (term.empty() ? "" : "    节: " + term)),
                           QString::fromStdString("四柱: " + fourPillarsText(a) +
                                                  "    旬空: " + a.voidBranches[0] + a.voidBranches[1]),
                           QString::fromStdString("互卦: " + a.nuclear + "    错卦: " + a.opposite +
                                                  "    综卦: " + a.reversed +
                                                  "    卦身: " + guaShenText(a.guaShen))};
    const auto withKind = [](const std::string& label, const std::string& kind) {
        return QString::fromStdString(label).trimmed() +
               (kind.empty() ? QString() : QStringLiteral("  ") + QString::fromStdString(kind));
    };
    m_captions = {withKind(m_run.view.primaryLabel, a.primaryKind),
                  withKind(m_run.view.changedLabel, a.changedKind) +
                      (m_byPrimary ? QStringLiteral("  (六亲按本卦宫)") : QString())};

    for (int row = 0; row < kRows; ++row) {
        const auto r = static_cast<std::size_t>(row);
        const auto i = static_cast<std::size_t>(kRows - 1 - row); // line index: the top row is line 6
        const auto& grid = m_run.view.cells[r];
        auto& cells = m_cells[r];
        const auto cell = [&grid](int column) {
            return QString::fromStdString(grid[static_cast<std::size_t>(column)]);
        };
        const bool body = std::find(a.guaShen.lines.begin(), a.guaShen.lines.end(),
                                    static_cast<int>(i) + 1) != a.guaShen.lines.end();
        cells[Spirit] = cell(0);
        cells[Hidden] = QString::fromStdString(hiddenText(a.lines[i]));
        cells[Relation] = cell(1);
        cells[Ganzhi] = cell(2);
        cells[Element] = cell(3);
        cells[Lines] = cell(kPrimaryLinesColumn);
        cells[ShiYing] = cell(5);
        cells[Moving] = cell(kMovingColumn);
        cells[Marks] = QString::fromStdString(marksText(a.lines[i]) + (body ? "身" : ""));
        cells[ChangedRelation] =
            m_byPrimary ? QString::fromStdString(a.changedRelationsByPrimaryPalace[i]) : cell(7);
        cells[ChangedGanzhi] = cell(8);
        cells[ChangedElement] = cell(9);
        cells[ChangedLines] = cell(kChangedLinesColumn);
        cells[ChangedMarks] = QString::fromStdString(marksText(a.changedLines[i]));
    }
}

QString ExpertChart::headerLine(int index) const {
    return m_header.value(index);
}

QString ExpertChart::caption(int half) const {
    return half == 0 || half == 1 ? m_captions[static_cast<std::size_t>(half)] : QString();
}

QString ExpertChart::columnTitle(int column) const {
    static const std::array<QString, ColumnCount> titles = {
        QStringLiteral("六神"), QStringLiteral("伏神"), QStringLiteral("六亲"), QStringLiteral("干支"),
        QStringLiteral("五行"), QStringLiteral("卦象"), QStringLiteral("世应"), QStringLiteral("动爻"),
        QStringLiteral("标记"), QStringLiteral("六亲"), QStringLiteral("干支"), QStringLiteral("五行"),
        QStringLiteral("卦象"), QStringLiteral("标记")};
    return column >= 0 && column < ColumnCount ? titles[static_cast<std::size_t>(column)] : QString();
}

QString ExpertChart::cellText(int row, int column) const {
    if (row < 0 || row >= kRows || column < 0 || column >= ColumnCount) {
        return {};
    }
    return m_cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

int ExpertChart::gridTop() const {
    // The text above the grid, then a rule under it.
    return kMargin + kHeaderLines * (m_lineHeight + kHeaderGap) - kHeaderGap + 2 * kGap;
}

QRect ExpertChart::cellRect(int row, int column) const {
    if (row < -1 || row >= kRows || column < 0 || column >= ColumnCount) {
        return {};
    }
    const auto c = static_cast<std::size_t>(column);
    return {m_x[c], gridTop() + (row + 2) * (m_lineHeight + kGap), m_width[c], m_lineHeight};
}

QSize ExpertChart::sheetSize() const {
    return {m_sheetWidth, cellRect(kRows - 1, 0).bottom() + 1 + kMargin};
}

void ExpertChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintSheet(painter);
}

void ExpertChart::paintSheet(QPainter& painter) const {
    painter.save();
    // In pixels rather than points, so that a device of another resolution takes the same layout.
    QFont sheetFont = font();
    sheetFont.setPixelSize(QFontInfo(font()).pixelSize());
    painter.setFont(sheetFont);
    const QSize size = sheetSize();
    painter.fillRect(QRect(QPoint(0, 0), size), palette().color(QPalette::Base));
    const QColor ink = palette().color(QPalette::Text);
    painter.setPen(ink);
    const int h = m_lineHeight;
    const int textWidth = size.width() - 2 * kMargin;
    if (!m_hasChart) {
        painter.drawText(QRect(kMargin, kMargin, textWidth, h), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("请先演算"));
        painter.restore();
        return;
    }
    int y = kMargin;
    for (const QString& line : m_header) {
        painter.drawText(QRect(kMargin, y, textWidth, h), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += h + kHeaderGap;
    }
    painter.setPen(kRuleInk);
    const int ruleY = gridTop() - kGap;
    painter.drawLine(kMargin, ruleY, size.width() - kMargin, ruleY);
    paintGrid(painter, ink);
    painter.restore();
}

void ExpertChart::paintGrid(QPainter& painter, const QColor& ink) const {
    // The halves' labels over the column titles, and a rule between the halves.
    const int top = gridTop();
    const int changedX = m_x[ChangedRelation];
    painter.setPen(ink);
    painter.drawText(QRect(m_x[Relation], top, changedX - kGroupGap - m_x[Relation], m_lineHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, m_captions[0]);
    painter.drawText(QRect(changedX, top, m_sheetWidth - kMargin - changedX, m_lineHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, m_captions[1]);
    painter.setPen(kRuleInk);
    const int ruleX = changedX - kGroupGap / 2;
    painter.drawLine(ruleX, top, ruleX, cellRect(kRows - 1, 0).bottom());

    QFont titleFont = painter.font();
    titleFont.setBold(true);
    painter.save();
    painter.setFont(titleFont);
    painter.setPen(ink);
    for (int c = 0; c < ColumnCount; ++c) {
        painter.drawText(cellRect(-1, c),
                         (isLineColumn(c) ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter,
                         columnTitle(c));
    }
    painter.restore();

    for (int row = 0; row < kRows; ++row) {
        for (int c = 0; c < ColumnCount; ++c) {
            const QString& text = m_cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)];
            if (isLineColumn(c)) {
                if (!text.isEmpty()) {
                    LineCell::paintBit(painter, cellRect(row, c), text, ink);
                }
                continue;
            }
            painter.setPen(isMarkColumn(c) ? kMarkInk : ink);
            painter.drawText(cellRect(row, c), Qt::AlignLeft | Qt::AlignVCenter, text);
        }
    }
}

} // namespace quenmar::app
