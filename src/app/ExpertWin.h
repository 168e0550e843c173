#pragma once

#include "prediction/Calculation.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class QPagedPaintDevice;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace quenmar::app {

class ExpertChart;

/// The window 详细排盘: the expert chart of the main window's calculation, and a switch for the
/// changed hexagram's relations, counted from its own palace as the report does or from the
/// primary's palace. The chart can be exported as a picture or a PDF and printed, as the main
/// window's chart can.
class ExpertWin : public QWidget {
    Q_OBJECT

public:
    /// `standardBiasMinutes`: the time zone's standard bias, which places a chart's moment among
    /// the solar terms.
    ExpertWin(int standardBiasMinutes, const QFont& font, QWidget* parent = nullptr);

    ExpertChart* chart() const { return m_chart; }
    QRadioButton* changedPalaceButton() const { return m_byChangedPalace; }
    QRadioButton* primaryPalaceButton() const { return m_byPrimaryPalace; }
    QPushButton* exportPictureButton() const { return m_exportPicture; }
    QPushButton* exportPdfButton() const { return m_exportPdf; }
    QPushButton* printButton() const { return m_print; }
    /// What the last export or print said ("已导出: …", "导出失败: …", "已送交打印", …).
    QString statusText() const;

    /// The chart on white at `scale` device pixels per logical pixel.
    QImage picture(qreal scale = 2.0) const;
    /// Paints the chart on one page of a PDF writer or a printer, as wide as the page allows;
    /// false when the device cannot be painted on.
    bool paintOnPage(QPagedPaintDevice& device) const;
    /// Writes the chart as an A4 PDF; false when the file cannot be written.
    bool writePdf(const QString& path) const;
    /// Test hook: what 打印… asks instead of the print dialog (true: print).
    void setPrinterChooser(std::function<bool(QPrinter&)> choose) { m_choosePrinter = std::move(choose); }

public slots:
    /// Shows the chart of a calculation; one that cast nothing leaves the window as it was.
    void showCalculation(const quenmar::Calculation& calculation);
    void exportPicture();
    void exportPdf();
    void printChart();

private:
    QString chooseFile(const QString& caption, const QString& suffix, const QString& filter);
    void updateButtons();

    int m_standardBias = 0;
    QString m_fileName; // the suggested file name: "详细排盘 " and the chart's moment
    std::function<bool(QPrinter&)> m_choosePrinter;
    QPushButton* m_exportPicture = nullptr;
    QPushButton* m_exportPdf = nullptr;
    QPushButton* m_print = nullptr;
    QLabel* m_status = nullptr;
    ExpertChart* m_chart = nullptr;
    QRadioButton* m_byChangedPalace = nullptr;
    QRadioButton* m_byPrimaryPalace = nullptr;
};

} // namespace quenmar::app
