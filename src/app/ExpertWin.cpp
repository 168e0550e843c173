#include "app/ExpertWin.h"

#include "app/ExpertChart.h"
#include "app/FileDialog.h"
#include "base/Version.h"
#include "engine/Moment.h"
#include "expert/Annotations.h"

#include <QButtonGroup>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <algorithm>

namespace quenmar::app {

namespace {

// The chart is a page to read: larger than the 9 points of the panels.
constexpr int kChartPointSize = 11;
constexpr qreal kScreenDpi = 96.0;

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

    const auto button = [this](const char* name, const QString& text, void (ExpertWin::*slot)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    m_exportPicture = button("expertExportPicture", QStringLiteral("导出图片…"), &ExpertWin::exportPicture);
    m_exportPdf = button("expertExportPdf", QStringLiteral("导出PDF…"), &ExpertWin::exportPdf);
    m_print = button("expertPrint", QStringLiteral("打印…"), &ExpertWin::printChart);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("expertStatus"));
    auto* actionRow = new QHBoxLayout;
    actionRow->addWidget(m_exportPicture);
    actionRow->addWidget(m_exportPdf);
    actionRow->addWidget(m_print);
    actionRow->addWidget(m_status, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(switchRow);
    layout->addWidget(m_chart);
    layout->addLayout(actionRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_choosePrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    updateButtons();
}

void ExpertWin::showCalculation(const Calculation& calculation) {
    if (!calculation.run.charted) {
        return;
    }
    m_chart->setChart(calculation.run, annotate(calculation.run.chart, m_standardBias));
    m_fileName =
        QStringLiteral("详细排盘 ") + QString::fromStdString(dateTimeText(calculation.run.chart.moment));
    m_status->clear();
    updateButtons();
}

void ExpertWin::updateButtons() {
    for (QPushButton* b : {m_exportPicture, m_exportPdf, m_print}) {
        b->setEnabled(m_chart->hasChart());
    }
}

QString ExpertWin::statusText() const {
    return m_status->text();
}

QImage ExpertWin::picture(qreal scale) const {
    const QSize size = m_chart->sheetSize();
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    m_chart->paintSheet(painter);
    return image;
}

bool ExpertWin::paintOnPage(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    // The device counts in its own dots and the chart in logical pixels: a chart wider than
    // the page is made smaller to fit, never larger than on screen.
    const QSize sheet = m_chart->sheetSize();
    const qreal dots = device.logicalDpiX() / kScreenDpi;
    const qreal fit =
        std::min({dots, device.width() / qreal(sheet.width()), device.height() / qreal(sheet.height())});
    painter.scale(fit, fit);
    m_chart->paintSheet(painter);
    return painter.end();
}

bool ExpertWin::writePdf(const QString& path) const {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setTitle(windowTitle());
    writer.setCreator(QStringLiteral("Quenmar %1")
                          .arg(QString::fromUtf8(kVersionName.data(), qsizetype(kVersionName.size()))));
    return paintOnPage(writer);
}

QString ExpertWin::chooseFile(const QString& caption, const QString& suffix, const QString& filter) {
    // A moment's text holds nothing a file system refuses in a name.
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return FileDialog::saveFile(this, caption, documents.filePath(m_fileName + QLatin1Char('.') + suffix),
                                filter, suffix);
}

void ExpertWin::exportPicture() {
    if (!m_chart->hasChart()) {
        return;
    }
    const QString path =
        chooseFile(QStringLiteral("导出图片"), QStringLiteral("png"), QStringLiteral("PNG 图片 (*.png)"));
    if (path.isEmpty()) {
        return;
    }
    const bool written = picture().save(path, "PNG");
    m_status->setText((written ? QStringLiteral("已导出: %1") : QStringLiteral("导出失败: %1"))
                          .arg(QDir::toNativeSeparators(path)));
}

void ExpertWin::exportPdf() {
    if (!m_chart->hasChart()) {
        return;
    }
    const QString path =
        chooseFile(QStringLiteral("导出PDF"), QStringLiteral("pdf"), QStringLiteral("PDF 文档 (*.pdf)"));
    if (path.isEmpty()) {
        return;
    }
    const bool written = writePdf(path);
    m_status->setText((written ? QStringLiteral("已导出: %1") : QStringLiteral("导出失败: %1"))
                          .arg(QDir::toNativeSeparators(path)));
}

void ExpertWin::printChart() {
    if (!m_chart->hasChart()) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(windowTitle());
    if (!m_choosePrinter(printer)) {
        return;
    }
    m_status->setText(paintOnPage(printer) ? QStringLiteral("已送交打印") : QStringLiteral("打印失败"));
}

} // namespace quenmar::app
