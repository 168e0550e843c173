#include "app/DrawHistoryWin.h"

#include "AppFixture.h"
#include "app/CheckTableModel.h"
#include "app/FileDialog.h"
#include "app/HitsChart.h"
#include "app/MainPanel.h"
#include "app/panels/DrawsPanel.h"
#include "prediction/Calculation.h"
#include "store/DrawStore.h"
#include "store/RecordStore.h"

#include <QBarSet>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <memory>
#include <set>
#include <vector>

using namespace quenmar;
using namespace quenmar::test;

namespace {

const std::string kHeader = "code,issue,date,numbers\n";

// Twenty numbers of a day of November 2022, made from the day so that a test can tell them.
std::vector<int> drawOf(int day) {
    std::vector<int> numbers;
    for (int i = 0; i < 20; ++i) {
        numbers.push_back((day * 7 + i * 4) % 80 + 1);
    }
    return numbers;
}

// Two digits, as the CSV file writes a number.
std::string twoDigits(int n) {
    std::string text(1, static_cast<char>('0' + n / 10));
    text += static_cast<char>('0' + n % 10);
    return text;
}

std::string csvLine(int day) {
    std::string line = "100,";
    line += std::to_string(2022300 + day);
    line += ",2022-11-";
    line += twoDigits(day);
    char separator = ',';
    for (const int n : drawOf(day)) {
        line += separator;
        line += twoDigits(n);
        separator = ' ';
    }
    line += '\n';
    return line;
}

// The draws of days first..last as a CSV file in the fixture's folder.
QString writeDraws(AppFixture& app, const QString& name, int first, int last, const std::string& tail = "") {
    std::string csv = kHeader;
    for (int day = first; day <= last; ++day) {
        csv += csvLine(day);
    }
    csv += tail;
    const QString path = app.folder() + QLatin1Char('/') + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray::fromStdString(csv));
    return path;
}

// A calculation by number saved on day `day` of November 2022 at `hour`, as the save button does.
void saveCalculation(AppFixture& app, int day, int hour, const std::string& number) {
    CastRequest request;
    request.method = CastMethod::ByNumber;
    request.numberText = number;
    request.zodiac = 3;
    prepareRequest(request, kGameHappy8, ClockReading{at(2022, 11, day, hour), -480});
    const Calculation calculation = runCalculation(request);
    QVERIFY(store::saveRecord(app.db(), store::modelFromChart(calculation.run.chart, "第" + number, "")));
}

app::DrawHistoryWin* openWindow(AppFixture& app) {
    app.window().openDrawHistory();
    return app.window().drawHistoryWin();
}

void importFile(app::DrawHistoryWin& window, const QString& file) {
    app::FileDialog::setNextFileName(file);
    QTest::mouseClick(window.importButton(), Qt::LeftButton);
    QTRY_VERIFY(!window.busy());
}

draws::DrawResult pageDraw(const std::string& issue, const std::string& date, const std::string& numbers) {
    draws::DrawResult draw;
    draw.name = "快乐8";
    draw.issue = issue;
    draw.date = date;
    draw.mainNumbers = numbers;
    return draw;
}

} // namespace

class DrawHistoryWinTest : public QObject {
    Q_OBJECT

private slots:
    // A new user: imports a month of draws, checks three saved calculations, reads the chart.
    void importCheckAndReadTheChart() {
        AppFixture app;
        saveCalculation(app, 3, 9, "38");
        saveCalculation(app, 10, 22, "1234"); // after 22:00: meets the draw of the 11th
        saveCalculation(app, 29, 23, "77");   // after 22:00 on the 29th: the 30th is not kept
        app::DrawHistoryWin* window = openWindow(app);
        QVERIFY(window->isVisible());

        importFile(*window, writeDraws(app, QStringLiteral("november.csv"), 1, 29));
        QCOMPARE(window->drawsStatus()->text(), QStringLiteral("已导入29期开奖"));
        QCOMPARE(window->drawsTable()->rowCount(), 29);
        QCOMPARE(window->drawsTable()->item(0, 1)->text(), QStringLiteral("2022329")); // newest first
        QVERIFY(window->progressBar()->isHidden());

        window->tabs()->setCurrentIndex(1);
        QTest::mouseClick(window->checkButton(), Qt::LeftButton);
        QVERIFY(window->busy());
        QTRY_VERIFY(!window->busy());
        QCOMPARE(window->checkStatus()->text(), QStringLiteral("已对奖3条记录"));

        // Newest first: 未开奖 (its bets listed without hits), then the 11th's draw, then the 3rd's.
        const app::CheckTableModel* model = window->checkModel();
        QCOMPARE(model->rowCount(), 33);
        QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("未开奖"));
        QCOMPARE(model->index(11, 1).data().toString(), QStringLiteral("2022311"));
        QCOMPARE(model->index(22, 1).data().toString(), QStringLiteral("2022303"));
        // The highlighted numbers are exactly the drawn ones, and the hit column counts them.
        for (const auto& [firstRow, day] : {std::pair{11, 11}, std::pair{22, 3}}) {
            const std::vector<int> drawn = drawOf(day);
            const std::set<int> drawnSet(drawn.begin(), drawn.end());
            for (int row = firstRow; row < firstRow + 10; ++row) {
                int hits = 0;
                for (int column = app::CheckTableModel::kFirstNumberColumn;
                     column < app::CheckTableModel::kHitsColumn; ++column) {
                    const QModelIndex cell = model->index(row, column);
                    const bool drawnNumber = drawnSet.count(cell.data().toString().toInt()) != 0;
                    QCOMPARE(cell.data(app::CheckTableModel::kHitRole).toBool(), drawnNumber);
                    hits += drawnNumber ? 1 : 0;
                }
                QCOMPARE(model->index(row, app::CheckTableModel::kHitsColumn).data().toInt(), hits);
            }
        }
        QVERIFY(!model->index(1, app::CheckTableModel::kFirstNumberColumn)
                     .data(app::CheckTableModel::kHitRole)
                     .toBool());

        // The chart: twenty bets by hits beside chance, which spreads the same twenty bets.
        double actual = 0.0;
        double chance = 0.0;
        for (int k = 0; k <= 10; ++k) {
            actual += window->chart()->actualBars()->at(k);
            chance += window->chart()->chanceBars()->at(k);
        }
        QCOMPARE(actual, 20.0);
        QVERIFY(qAbs(chance - 20.0) < 1e-9);
        QVERIFY(window->summaryLabel()->text().startsWith(
            QStringLiteral("共20注 (2条记录已开奖, 1条未开奖): 投注40元")));
        auto* note = window->findChild<QLabel*>(QStringLiteral("entertainmentNote"));
        QVERIFY(note != nullptr && note->isVisible());
        QCOMPARE(note->text(), QStringLiteral("推演号码仅供娱乐: 开奖号码是随机的, 任何推算都不能预知."));
    }

    void aBadRowKeepsNothingOfItsFileAndSaysWhere() {
        AppFixture app;
        app::DrawHistoryWin* window = openWindow(app);
        importFile(*window, writeDraws(app, QStringLiteral("first.csv"), 1, 2));
        importFile(*window, writeDraws(app, QStringLiteral("bad.csv"), 3, 6, "100,2022307,2022-11-31,01\n"));
        QCOMPARE(window->drawsStatus()->text(),
                 QStringLiteral("第6行: 日期应为 YYYY-MM-DD, 文件中的开奖均未保存"));
        QCOMPARE(window->drawsTable()->rowCount(), 2);
    }

    void cancelStopsTheWorkAndAnImportKeepsNothing() {
        AppFixture app;
        app::DrawHistoryWin* window = openWindow(app);
        std::string csv = kHeader;
        for (int issue = 1; issue <= 5000; ++issue) {
            csv += "100," + std::to_string(1000000 + issue) + csvLine(1).substr(11);
        }
        const QString big = app.folder() + QStringLiteral("/big.csv");
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(csv));
        file.close();
        app::FileDialog::setNextFileName(big);
        QTest::mouseClick(window->importButton(), Qt::LeftButton);
        QVERIFY(window->cancelButton()->isVisible());
        QVERIFY(!window->checkButton()->isEnabled());
        QTest::mouseClick(window->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY(!window->busy());
        QCOMPARE(window->drawsStatus()->text(), QStringLiteral("导入已取消, 没有保存任何开奖"));
        QCOMPARE(window->drawsTable()->rowCount(), 0);
        QVERIFY(store::listDraws(app.db())->empty());

        for (int i = 0; i < 40; ++i) {
            saveCalculation(app, 1 + i % 28, 10, std::to_string(100 + i));
        }
        QTest::mouseClick(window->checkButton(), Qt::LeftButton);
        window->cancelWork();
        QTRY_VERIFY(!window->busy());
        QVERIFY(window->checkStatus()->text().startsWith(QStringLiteral("对奖已取消: 已对")));
        QVERIFY(window->checkStatus()->text().endsWith(QStringLiteral("共40条记录")));
    }

    void exportWritesWhatImportReads() {
        AppFixture app;
        app::DrawHistoryWin* window = openWindow(app);
        importFile(*window, writeDraws(app, QStringLiteral("in.csv"), 1, 3));
        const QString out = app.folder() + QStringLiteral("/out.csv");
        app::FileDialog::setNextFileName(out);
        QTest::mouseClick(window->exportButton(), Qt::LeftButton);
        QFile written(out);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().toStdString(), kHeader + csvLine(3) + csvLine(2) + csvLine(1));
    }

    // Keeping is beside the display: the panel shows the page's first draw as before, every
    // draw of the page is kept, and a draw that differs from a kept one is said, not kept.
    void aRefreshKeepsEveryDrawOfThePage() {
        std::string latestNumbers = "0102030405060708091011121314151617181920";
        draws::RefreshServices services;
        services.isOnline = [] {
            return true;
        };
        services.fetchDraws = [&latestNumbers](int) -> draws::FetchedDraws {
            const draws::DrawResult latest = pageDraw("2024123期", "2024-05-01", latestNumbers);
            return draws::PageDraws{
                latest,
                {latest, pageDraw("2024122期", "2024-04-30", "2122232425262728293031323334353637383940")},
                "https://results.test/wnx/"};
        };
        AppFixture app(services);
        app::DrawHistoryWin* window = openWindow(app);
        app::MainPanel& panel = app.panel();
        QTest::mouseClick(panel.drawsPanel()->refreshButton(), Qt::LeftButton);
        QTRY_VERIFY(!panel.refreshInFlight());
        QCOMPARE(panel.drawsPanel()->lineLabels().at(2)->text(), QStringLiteral("2024123期"));
        QCOMPARE(window->drawsTable()->rowCount(), 2);
        QCOMPARE(window->drawsTable()->item(1, 1)->text(), QStringLiteral("2024122"));
        QCOMPARE(window->drawsTable()->item(1, 5)->text(), QStringLiteral("https://results.test/wnx/"));

        latestNumbers.replace(0, 2, "80");
        QTest::mouseClick(panel.drawsPanel()->refreshButton(), Qt::LeftButton);
        QTRY_VERIFY(!panel.refreshInFlight());
        QCOMPARE(panel.drawsPanel()->numberLabels().at(0)->text(), QStringLiteral("80")); // shown as fetched
        auto* note = app.window().findChild<QLabel*>(QStringLiteral("statusField1"));
        QCOMPARE(note->text(), QStringLiteral("第2024123期快乐8开奖与已保存的不同, 保留已保存的."));
        QCOMPARE(store::listDraws(app.db())->front().mainNumbers.substr(0, 2), std::string("01"));
    }
};

std::vector<std::unique_ptr<QObject>> makeDrawHistoryWinTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<DrawHistoryWinTest>());
    return tests;
}

#include "DrawHistoryWinTest.moc"
