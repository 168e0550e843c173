#include "AppFixture.h"
#include "EnvironmentVariable.h"
#include "Files.h"
#include "Readback.h"
#include "TempFolder.h"
#include "app/ChartDocument.h"
#include "app/DrawHistoryWin.h"
#include "app/ExpertChart.h"
#include "app/ExpertWin.h"
#include "app/FileDialog.h"
#include "app/MainPanel.h"
#include "app/MessageBox.h"
#include "app/panels/ChartPanel.h"
#include "app/panels/InputPanel.h"
#include "app/panels/RecordPanel.h"
#include "base/Version.h"
#include "support/Process.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <memory>
#include <vector>

using namespace quenmar;
using namespace quenmar::test;

namespace {

QAction* action(app::MainWin& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

// Computes the sample of the README: number 38 for a querent of the rat.
void computeSample(AppFixture& app) {
    app.choose(1, 1);
    app.typeNumber(QStringLiteral("38"));
    app.compute();
}

// Triggers an export entry and answers its file picker with `path`; the name the picker
// offered comes back.
QString exportThrough(app::MainWin& window, const char* entry, const QString& path) {
    app::FileDialog::setNextFileName(path);
    action(window, entry)->trigger();
    return QFileInfo(app::FileDialog::lastSuggested()).fileName();
}

// A fake xdg-open that records what it was asked to open and ends with `exitCode`.
void writeViewer(const test::TempFolder& bin, int exitCode) {
    const std::string script =
        "#!/bin/sh\necho \"$1\" > '" + bin.file("opened") + "'\nexit " + std::to_string(exitCode) + "\n";
    QVERIFY(test::writeFile(bin.path() / "xdg-open", script));
    QVERIFY(support::makeExecutable(bin.path() / "xdg-open"));
}

} // namespace

// The menu bar above the described window and what its entries do.
class MenuTest : public QObject {
    Q_OBJECT

private slots:
    void init() { app::MessageBox::resetRecord(); }

    void entriesAndTheirShortcuts_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<bool>("needsResult");
        QTest::newRow("picture") << "menuFile"
                                 << "actionExportPicture"
                                 << "导出图片…" << QKeySequence(QStringLiteral("Ctrl+E")) << true;
        QTest::newRow("pdf") << "menuFile"
                             << "actionExportPdf"
                             << "导出PDF…" << QKeySequence() << true;
        QTest::newRow("print") << "menuFile"
                               << "actionPrint"
                               << "打印…" << QKeySequence(QStringLiteral("Ctrl+P")) << true;
        QTest::newRow("quit") << "menuFile"
                              << "actionQuit"
                              << "退出" << QKeySequence(QStringLiteral("Ctrl+Q")) << false;
        QTest::newRow("copy") << "menuEdit"
                              << "actionCopyResult"
                              << "复制结果" << QKeySequence(QStringLiteral("Ctrl+Shift+C")) << true;
        QTest::newRow("help") << "menuHelp"
                              << "actionHelp"
                              << "帮助" << QKeySequence(QStringLiteral("F1")) << false;
        QTest::newRow("about") << "menuHelp"
                               << "actionAbout"
                               << "关于 Quenmar" << QKeySequence() << false;
    }

    void entriesAndTheirShortcuts() {
        QFETCH(QString, menu);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QKeySequence, keys);
        QFETCH(bool, needsResult);
        AppFixture app;
        auto* entry = app.window().findChild<QAction*>(name);
        QVERIFY(entry != nullptr);
        QVERIFY(app.window().findChild<QMenu*>(menu)->actions().contains(entry));
        QCOMPARE(entry->text(), text);
        QCOMPARE(entry->shortcut(), keys);
        // Export, print and copy act on the result shown, and only while one is.
        QCOMPARE(entry->isEnabled(), !needsResult);
        computeSample(app);
        QVERIFY(entry->isEnabled());
        QTest::mouseClick(app.panel().inputPanel()->resetButton(), Qt::LeftButton);
        QCOMPARE(entry->isEnabled(), !needsResult);
    }

    void theMenuBarAddsToTheWindowNotToThePanels() {
        AppFixture app;
        app::MainWin& window = app.window();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList titles{QStringLiteral("文件(&F)"), QStringLiteral("编辑(&E)"),
                                 QStringLiteral("工具(&T)"), QStringLiteral("帮助(&H)")};
        QStringList shown;
        for (QAction* menu : window.menuBar()->actions()) {
            shown << menu->text();
        }
        QCOMPARE(shown, titles);
        // The described content starts below the menu bar and is as high as designed (plus
        // what the results box needed), whatever the menu bar's height.
        QCOMPARE(app.panel().mapTo(&window, QPoint(0, 0)), QPoint(0, window.menuBar()->height()));
        QCOMPARE(app.panel().height() + window.menuBar()->height() + window.statusBar()->height(),
                 window.height());
        QCOMPARE(window.height(), app::MainWin::kDesignHeight + window.menuBar()->height() +
                                      app.panel().recordPanel()->resultsGrowth());
    }

    // 详细排盘 opens on the calculation shown and follows the next; both entries raise the one
    // window they opened rather than a second.
    void toolEntriesOpenTheirWindows() {
        AppFixture app;
        app::MainWin& window = app.window();
        QCOMPARE(window.toolAction(app::MainWin::Tool::ExpertChart), action(window, "actionExpertChart"));
        QCOMPARE(window.toolAction(app::MainWin::Tool::DrawHistory), action(window, "actionDrawHistory"));
        computeSample(app);
        action(window, "actionExpertChart")->trigger();
        app::ExpertWin* expert = window.expertWin();
        QVERIFY(expert != nullptr && expert->isVisible());
        QVERIFY(expert->chart()->hasChart());
        const QString first = expert->chart()->headerLine(0);
        QVERIFY(first.contains(QStringLiteral("以数字38起卦")));

        app.setNow(at(2023, 1, 2, 3, 4, 5));
        app.compute();
        QVERIFY(expert->chart()->headerLine(0) != first);
        action(window, "actionExpertChart")->trigger();
        QCOMPARE(window.expertWin(), expert);

        const test::TempFolder out;
        const QString png = QString::fromStdString(out.file("expert.png"));
        app::FileDialog::setNextFileName(png);
        expert->exportPictureButton()->click();
        QCOMPARE(expert->statusText(), QStringLiteral("已导出: %1").arg(png));
        QCOMPARE(QImage(png).size(), expert->chart()->sheetSize() * 2);
        const QString pdf = QString::fromStdString(out.file("expert.pdf"));
        app::FileDialog::setNextFileName(pdf);
        expert->exportPdfButton()->click();
        QCOMPARE(pdfPageCount(pdf), std::optional<int>(1));
        QVERIFY(pdfText(pdf)->contains(QStringLiteral("本卦")));
        app::FileDialog::setNextFileName(QString::fromStdString(out.file("missing") + "/x.pdf"));
        expert->exportPdfButton()->click();
        QVERIFY(expert->statusText().startsWith(QStringLiteral("导出失败: ")));

        action(window, "actionDrawHistory")->trigger();
        app::DrawHistoryWin* draws = window.drawHistoryWin();
        QVERIFY(draws != nullptr && draws->isVisible());
        action(window, "actionDrawHistory")->trigger();
        QCOMPARE(window.drawHistoryWin(), draws);
    }

    void exportsAPictureAndAPdfOfTheChart() {
        AppFixture app;
        computeSample(app);
        const test::TempFolder out;
        const QString png = QString::fromStdString(out.file("chart.png"));
        QCOMPARE(exportThrough(app.window(), "actionExportPicture", png),
                 QStringLiteral("2022年11月7日12时.png"));
        QCOMPARE(app.status(), QStringLiteral("已导出: %1").arg(png));
        const app::ChartDocument document =
            app::ChartDocument::ofCalculation(*app.window().shownCalculation(), app.window().font());
        const QImage picture(png);
        QCOMPARE(picture.size(), document.pictureSize() * 2); // twice the window's resolution
        QCOMPARE(picture.width(), 2 * app.panel().chartPanel()->width());
        QCOMPARE(picture.dotsPerMeterX(), 7559); // 192 dots per inch

        const QString pdf = QString::fromStdString(out.file("chart.pdf"));
        QCOMPARE(exportThrough(app.window(), "actionExportPdf", pdf),
                 QStringLiteral("2022年11月7日12时.pdf"));
        QCOMPARE(app.status(), QStringLiteral("已导出: %1").arg(pdf));
        const std::optional<QSizeF> page = pdfPageSize(pdf);
        QVERIFY(page.has_value());
        QVERIFY(qAbs(page->width() - 595.3) < 1 && qAbs(page->height() - 841.9) < 1); // A4
        // The chart, the report and the prediction fill one page of A4.
        QCOMPARE(pdfPageCount(pdf), std::optional<int>(1));
        const std::optional<QString> text = pdfText(pdf);
        QVERIFY(text.has_value());
        QVERIFY(text->contains(QStringLiteral("以数字38起卦,卦主生肖:子,日主:甲子,时辰:庚午")));
        QVERIFY(text->contains(app.results().split(QStringLiteral("\r\n")).at(3))); // 一注:…
    }

    void aLongDocumentFlowsOntoMorePages() {
        AppFixture app;
        computeSample(app);
        QStringList lines;
        for (int i = 1; i <= 150; ++i) {
            lines << QStringLiteral("第%1行").arg(i);
        }
        const app::ChartDocument document(app.window().shownCalculation()->run.view,
                                          {lines.join(QLatin1Char('\n'))}, app.window().font());
        const test::TempFolder out;
        const QString pdf = QString::fromStdString(out.file("long.pdf"));
        QVERIFY(document.writePdf(pdf));
        // A4 less 15 mm margins, in the window's pixels.
        const int pages = document.pageCount(QSizeF(180, 267) / 25.4 * 96);
        QVERIFY(pages >= 3);
        QCOMPARE(pdfPageCount(pdf), std::optional<int>(pages));
        const QString text = *pdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("第1行")) && text.contains(QStringLiteral("第150行")));
        QVERIFY(text.indexOf(QStringLiteral("第149行")) < text.indexOf(QStringLiteral("第150行")));
    }

    void exportSuggestsTheRecordsTitle() {
        AppFixture app;
        computeSample(app);
        app::RecordPanel* record = app.panel().recordPanel();
        record->nameBox()->singleLine()->insert(QStringLiteral("甲/乙"));
        QTest::mouseClick(record->saveButton(), Qt::LeftButton);
        QCOMPARE(app.window().suggestedFileName(), QStringLiteral("甲_乙(2022年11月7日12时)"));
        // A review shows the saved calculation under its title; a fresh one goes by its moment.
        app.setNow(at(2023, 1, 2, 3, 4, 5));
        record->historyList()->setCurrentRow(0);
        app.window().review(record->historyList()->item(0)->data(Qt::UserRole).toInt());
        QCOMPARE(app.window().suggestedFileName(), QStringLiteral("甲_乙(2022年11月7日12时)"));
        app.compute();
        QCOMPARE(app.window().suggestedFileName(), QStringLiteral("2023年1月2日3时4分5秒"));
    }

    void printsThroughThePrintDialog() {
        AppFixture app;
        QVERIFY(app.showActive());
        computeSample(app);
        // The entry opens Qt's print dialog; cancelling it prints nothing.
        bool dialogShown = false;
        onNextModal([&dialogShown](QWidget* modal) {
            dialogShown = qobject_cast<QPrintDialog*>(modal) != nullptr;
            modal->close();
        });
        action(app.window(), "actionPrint")->trigger();
        QVERIFY(dialogShown);
        QCOMPARE(app.status(), QStringLiteral("按卦主生肖与数字测算"));

        const test::TempFolder out;
        const QString pdf = QString::fromStdString(out.file("printed.pdf"));
        app.window().setPrinterChooser([pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        app.window().activateWindow(); // back from the dialog
        QVERIFY(QTest::qWaitForWindowActive(&app.window()));
        QTest::keyClick(&app.window(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(app.status(), QStringLiteral("已送交打印"));
        QCOMPARE(pdfPageCount(pdf), std::optional<int>(1));
        QVERIFY(pdfText(pdf)->contains(QStringLiteral("本卦: 乾宫 (7) 火地晋 游魂")));
    }

    void copiesTitleReportAndPrediction() {
        AppFixture app;
        QVERIFY(app.showActive());
        computeSample(app);
        QTest::keyClick(&app.window(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        QString report = app.panel().chartPanel()->reportBox()->toPlainText();
        QString prediction = app.results();
        prediction.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(copied, app.panel().chartPanel()->titleLabel()->text() + QStringLiteral("\n\n") + report +
                             QStringLiteral("\n\n") + prediction);
        QCOMPARE(app.status(), QStringLiteral("演算结果已复制"));
    }

    void aboutTellsVersionLicenceAndWhereTheFilesAre() {
        AppFixture app;
        app::MessageBox::setNextAnswer(true);
        action(app.window(), "actionAbout")->trigger();
        QCOMPARE(app::MessageBox::lastCaption(), QStringLiteral("关于 Quenmar"));
        const QString text = app::MessageBox::lastText();
        QVERIFY(text.contains(QStringLiteral("Quenmar %1版").arg(QString::fromUtf8(kVersionName.data()))));
        QVERIFY(text.contains(QStringLiteral("许可")));
        QVERIFY(
            text.contains(QStringLiteral("传统文化创新,仅为游戏娱乐,结果数据仅供参考,彩市有风险,切勿着迷")));
        QVERIFY(text.contains(app.folder() + QStringLiteral("/src/data/wnx.db")));
        QVERIFY(text.contains(app.folder() + QStringLiteral("/config.ini")));
    }

    void helpSaysWhereTheBookIsWhenNoViewerTakesIt() {
        const test::TempFolder bin;
        const std::string path = bin.path().string() + ":" + qEnvironmentVariable("PATH").toStdString();
        const test::EnvironmentVariable searchPath("PATH", path.c_str());
        AppFixture app;
        app.context().openHelpInViewer = true;
        app.restart();
        QVERIFY(app.showActive());
        const QString book = app.folder() + QStringLiteral("/help/index.html");

        writeViewer(bin, 0);
        QTest::keyClick(&app.window(), Qt::Key_F1);
        QTRY_VERIFY(test::readFile(bin.path() / "opened").has_value());
        QCOMPARE(QString::fromStdString(*test::readFile(bin.path() / "opened")).trimmed(),
                 QUrl::fromLocalFile(book).toString());
        QTest::qWait(200);
        QCOMPARE(app::MessageBox::shownCount(), 0); // a viewer took it

        writeViewer(bin, 3); // xdg-open's "no method available for opening"
        app::MessageBox::setNextAnswer(true);
        QTest::mouseClick(app.panel().recordPanel()->helpButton(), Qt::LeftButton);
        QTRY_COMPARE(app::MessageBox::shownCount(), 1);
        QCOMPARE(app::MessageBox::lastCaption(), QStringLiteral("提示:"));
        QVERIFY(app::MessageBox::lastText().contains(book));
    }

    void theSmallestWindowKeepsEveryControlInSight() {
        AppFixture app;
        app::MainWin& window = app.window();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(1, 1);
        QTRY_COMPARE(window.size(), window.minimumSize());
        const QRect content(QPoint(0, window.menuBar()->height()),
                            QPoint(window.width() - 1, window.statusBar()->y() - 1));
        QList<QWidget*> controls;
        for (QWidget* control : window.findChildren<QWidget*>()) {
            if ((qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control) ||
                 qobject_cast<QLineEdit*>(control) || qobject_cast<QAbstractScrollArea*>(control)) &&
                control->isVisible() && control->window() == &window) {
                controls << control;
            }
        }
        QVERIFY(controls.size() >= 14);
        for (QWidget* control : controls) {
            const QRect shown(control->mapTo(&window, QPoint(0, 0)), control->size());
            QVERIFY2(content.contains(shown),
                     qPrintable(control->objectName() + QLatin1Char(' ') + QString::number(shown.bottom())));
        }
    }
};

std::vector<std::unique_ptr<QObject>> makeMenuTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<MenuTest>());
    return tests;
}

#include "MenuTest.moc"
