#include "AppFixture.h"
#include "BrokenHistory.h"
#include "app/MainPanel.h"
#include "app/MessageBox.h"
#include "app/panels/ChartPanel.h"
#include "app/panels/ChoicePicker.h"
#include "app/panels/DrawsPanel.h"
#include "app/panels/InputPanel.h"
#include "app/panels/RecordPanel.h"
#include "engine/Moment.h"
#include "prediction/Prediction.h"
#include "store/RecordStore.h"

#include <QCheckBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <memory>
#include <vector>

using namespace quenmar;
using namespace quenmar::test;

namespace {

QJsonObject cliCast(const QStringList& arguments) {
    QProcess cli;
    cli.start(qEnvironmentVariable("QUENMAR_BIN_DIR") + QStringLiteral("/quenmar-cli"),
              QStringList{QStringLiteral("cast")} + arguments + QStringList{QStringLiteral("--json")});
    cli.waitForFinished(10000);
    return QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
}

// Saves a record with that title and six still lines, as a file from an earlier run holds it.
bool saveTitled(store::TableDb& db, const char* title) {
    store::YsModel model;
    model.ysname = title;
    model.dong = {0, 0, 0, 0, 0, 0};
    return store::saveRecord(db, model).ok();
}

int listedId(app::RecordPanel* record, int row) {
    return record->historyList()->item(row)->data(Qt::UserRole).toInt();
}

} // namespace

class MainWinTest : public QObject {
    Q_OBJECT

private slots:
    void init() { app::MessageBox::resetRecord(); }

    void buildsTheWindowAsDesigned() {
        AppFixture app;
        app::MainWin& window = app.window();
        QCOMPARE(window.windowTitle(), QStringLiteral("Quenmar V1.0.0版"));
        QCOMPARE(window.width(), 1024);
        QCOMPARE(app.status(), QStringLiteral("状态:"));
        const QFont font = window.font(); // the UI font every panel takes
        QCOMPARE(font.family(), QStringLiteral("宋体"));
        QCOMPARE(font.pointSize(), 9);
        QVERIFY(!font.bold() && !font.italic() && !font.underline() && !font.strikeOut());
        app::MainPanel& panel = app.panel();
        QCOMPARE(panel.pos(), QPoint(0, 0));
        QCOMPARE(panel.drawsPanel()->pos(), QPoint(10, 10));
        QCOMPARE(panel.inputPanel()->pos(), QPoint(10, panel.drawsPanel()->geometry().bottom() + 1 + 10));
        QCOMPARE(panel.chartPanel()->pos(), QPoint(0, panel.inputPanel()->geometry().bottom() + 1 + 10));
        const int chartRight = panel.chartPanel()->geometry().right() + 1;
        QCOMPARE(panel.recordPanel()->geometry(),
                 QRect(chartRight + 10, 10, 1024 - chartRight - 30, panel.height()));
        QCOMPARE(panel.width(), panel.recordPanel()->geometry().right() + 1 + 10);
        QCOMPARE(panel.lotteryCode(), 100);
        // Resizing leaves every panel where it was.
        const QRect input = panel.inputPanel()->geometry();
        window.resize(700, 500);
        QCOMPARE(panel.pos(), QPoint(0, 0));
        QCOMPARE(panel.inputPanel()->geometry(), input);
    }

    void aCalculationEndsWithThePredictionOfTheCommandLine() {
        AppFixture app;
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("38"));
        app.compute();
        QCOMPARE(app.status(), QStringLiteral("按卦主生肖与数字测算"));
        const QJsonObject cli =
            cliCast({QStringLiteral("--method"), QStringLiteral("number"), QStringLiteral("--number"),
                     QStringLiteral("38"), QStringLiteral("--zodiac"), QStringLiteral("1"),
                     QStringLiteral("--moment"), QStringLiteral("2022-11-07 12:00:00")});
        QVERIFY(!cli.isEmpty());
        QCOMPARE(app.results(), cli.value(QStringLiteral("prediction")).toString());
        app::ChartPanel* chart = app.panel().chartPanel();
        QString report = cli.value(QStringLiteral("report")).toString();
        report.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(chart->reportBox()->toPlainText(), report);
        QCOMPARE(chart->titleLabel()->text(), cli.value(QStringLiteral("title")).toString());
        QCOMPARE(chart->changedLabel()->text(), QStringLiteral("变卦 乾宫 (4) 天地否 "));
        QCOMPARE(chart->cellText(1, 6), QStringLiteral("×"));
        QCOMPARE(chart->cellText(0, 4), QStringLiteral("1"));
        QCOMPARE(chart->cellText(1, 4), QStringLiteral("0"));
        // The prediction shown is that of the chart the panel keeps.
        QCOMPARE(predictionText(chart->chart()), app.results().toStdString());
    }

    void resultsShowWholeAndTheReportEndsAboveTheStatusBar() {
        AppFixture app;
        app::MainWin& window = app.window();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("38"));
        app.compute();
        app::RecordPanel* record = app.panel().recordPanel();
        QPlainTextEdit* results = record->resultsBox()->multiLine();
        QTRY_COMPARE(results->verticalScrollBar()->maximum(), 0);
        // The widest pre-selection there can be, twenty two-digit numbers, still needs no scrolling.
        QStringList lines = app.results().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 15);
        QStringList widest;
        for (int n = 61; n <= 80; ++n) {
            widest << QString::number(n);
        }
        lines.last() = widest.join(QLatin1Char(','));
        record->showResultText(lines.join(QLatin1Char('\n')));
        QTRY_COMPARE(results->verticalScrollBar()->maximum(), 0);

        QPlainTextEdit* report = app.panel().chartPanel()->reportBox();
        QVERIFY(report->mapTo(&window, QPoint(0, report->height())).y() <= window.statusBar()->y());
    }

    void savesListsNewestFirstAndReviews() {
        AppFixture app;
        app::RecordPanel* record = app.panel().recordPanel();
        // A millisecond cast at the draw time, saved, then reopened at another moment: the
        // stored moment and number are used again.
        app.setNow(at(2024, 5, 1, 9, 15, 20, 345));
        app.choose(3, 4);
        app.compute();
        const ChartResult first = app.panel().chartPanel()->chart();
        QCOMPARE(first.numberText, std::to_string(epochMs(at(2024, 5, 1, 21, 30, 20), -480) + 345));
        record->notesBox()->setText(QStringLiteral("第一条"));
        record->nameBox()->singleLine()->insert(QStringLiteral("甲"));
        QVERIFY(record->saveButton()->isEnabled());
        QTest::mouseClick(record->saveButton(), Qt::LeftButton);
        QCOMPARE(app.status(), QStringLiteral("保存成功"));
        QCOMPARE(record->notesText(), QString());
        QCOMPARE(record->nameBox()->text(), QString());
        QVERIFY(!record->saveButton()->isEnabled());

        app.choose(1, 1);
        app.typeNumber(QStringLiteral("38"));
        app.compute();
        record->nameBox()->singleLine()->insert(QStringLiteral("乙"));
        QTest::mouseClick(record->saveButton(), Qt::LeftButton);
        QCOMPARE(record->historyList()->count(), 2);
        QCOMPARE(record->historyList()->item(0)->text(), QStringLiteral("乙(2024年5月1日9时15分20秒)"));
        QCOMPARE(record->historyList()->item(1)->text(), QStringLiteral("甲(2024年5月1日21时30分20秒)"));
        QVERIFY(listedId(record, 0) > listedId(record, 1));
        const store::YsModel saved = **store::loadRecord(app.db(), listedId(record, 1));
        QCOMPARE(saved.uinfo, std::string("第一条"));
        QCOMPARE(saved.rot, 2);

        app.setNow(at(2025, 1, 1, 8));
        const QPoint entry = record->historyList()->visualItemRect(record->historyList()->item(1)).center();
        QTest::mouseClick(record->historyList()->viewport(), Qt::LeftButton, {}, entry);
        QTest::mouseDClick(record->historyList()->viewport(), Qt::LeftButton, {}, entry);
        const ChartResult reviewed = app.panel().chartPanel()->chart();
        QCOMPARE(reviewed.numberText, first.numberText);
        QCOMPARE(reviewed.moment, first.moment);
        QCOMPARE(reviewed.primaryName, first.primaryName);
        QCOMPARE(app.panel().inputPanel()->methodPicker()->currentIndex(), 3);
        QCOMPARE(app.panel().inputPanel()->zodiacPicker()->currentIndex(), 4);
        QVERIFY(app.panel().inputPanel()->timeButton(2)->isChecked());
        QCOMPARE(app.status(), QStringLiteral("按卦主生肖与超时空毫秒数测算"));
        // Computing again keeps the stored moment until "点击自己装卦" ends the review.
        app.compute();
        QCOMPARE(app.panel().chartPanel()->chart().moment, first.moment);

        // A number record reopens at the present moment.
        record->historyList()->setCurrentRow(0);
        app.window().review(listedId(record, 0));
        QCOMPARE(app.panel().chartPanel()->chart().moment, at(2025, 1, 1, 8));
        QCOMPARE(app.panel().inputPanel()->numberBox()->text(), QStringLiteral("38"));
    }

    void reviewOfADeletedRecordDoesNothing() {
        AppFixture app;
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("5"));
        app.compute();
        QTest::keyClicks(app.panel().recordPanel()->nameBox()->singleLine(), QStringLiteral("x"));
        QTest::mouseClick(app.panel().recordPanel()->saveButton(), Qt::LeftButton);
        const int id = listedId(app.panel().recordPanel(), 0);
        QVERIFY(store::deleteRecord(app.db(), id));
        app.choose(0, 0);
        app.window().review(id);
        QCOMPARE(app.panel().inputPanel()->methodPicker()->currentIndex(), 0);
    }

    void deleteAsksAndRemovesOnlyTickedEntries() {
        AppFixture app;
        for (const char* name : {"a", "b", "c"}) {
            store::YsModel model;
            model.ysname = name;
            model.ysindex = 1;
            model.ysnumber.push_back('5');
            model.dong = {0, 0, 0, 0, 0, 0};
            QVERIFY(store::saveRecord(app.db(), model));
        }
        app.window().fillHistory();
        app::RecordPanel* record = app.panel().recordPanel();
        QListWidget* list = record->historyList();
        QCOMPARE(list->count(), 3);

        // Highlighted but not ticked: nothing is deleted.
        list->setCurrentRow(0);
        QVERIFY(record->deleteButton()->isEnabled());
        app::MessageBox::setNextAnswer(true);
        QTest::mouseClick(record->deleteButton(), Qt::LeftButton);
        QCOMPARE(app::MessageBox::lastCaption(), QStringLiteral("询问:"));
        QCOMPARE(app::MessageBox::lastText(), QStringLiteral("确定需要删除当前所选择的历史数据吗?"));
        QCOMPARE(list->count(), 3);
        QCOMPARE(app.status(), QStringLiteral("未勾选要删除的记录"));

        list->item(1)->setCheckState(Qt::Checked);
        app::MessageBox::setNextAnswer(false);
        QTest::mouseClick(record->deleteButton(), Qt::LeftButton);
        QCOMPARE(list->count(), 3);
        QCOMPARE(store::listRecords(app.db())->size(), 3u);

        app::MessageBox::setNextAnswer(true);
        QTest::mouseClick(record->deleteButton(), Qt::LeftButton);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QStringLiteral("c"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("a"));
        QCOMPARE(store::listRecords(app.db())->size(), 2u);
        QCOMPARE(app.status(), QStringLiteral("已删除1条记录"));

        QTest::mouseClick(record->selectAll(), Qt::LeftButton);
        QVERIFY(record->selectAll()->isChecked());
        QVERIFY(record->deleteButton()->isEnabled());
        app::MessageBox::setNextAnswer(true);
        QTest::mouseClick(record->deleteButton(), Qt::LeftButton);
        QCOMPARE(list->count(), 0);
        QVERIFY(store::listRecords(app.db())->empty());
        QCOMPARE(app.status(), QStringLiteral("已删除2条记录"));
        QVERIFY(record->selectAll()->isChecked());
        QVERIFY(record->deleteButton()->isEnabled());
    }

    void deletingTickedEntriesIsAllOrNothing() {
        AppFixture app;
        for (const char* name : {"a", "b", "c"}) {
            QVERIFY(saveTitled(app.db(), name));
        }
        app.window().fillHistory();
        app::RecordPanel* record = app.panel().recordPanel();
        QTest::mouseClick(record->selectAll(), Qt::LeftButton);
        // The middle row will not go (a trigger stands for a full disk): none goes, and the
        // list keeps every entry.
        QVERIFY(app.db()
                    .prepare("CREATE TRIGGER keep BEFORE DELETE ON wnx_table WHEN old._id = 2 "
                             "BEGIN SELECT RAISE(ABORT, 'kept'); END;")
                    .step() == store::StepResult::Done);
        app::MessageBox::setNextAnswer(true);
        QTest::mouseClick(record->deleteButton(), Qt::LeftButton);
        QCOMPARE(app.status(), QStringLiteral("删除失败"));
        QCOMPARE(record->historyList()->count(), 3);
        QCOMPARE(store::listRecords(app.db())->size(), 3u);

        QVERIFY(app.db().prepare("DROP TRIGGER keep;").step() == store::StepResult::Done);
        app::MessageBox::setNextAnswer(true);
        QTest::mouseClick(record->deleteButton(), Qt::LeftButton);
        QCOMPARE(record->historyList()->count(), 0);
        QVERIFY(store::listRecords(app.db())->empty());
    }

    void anUnreadableHistorySaysSoInTheStatusBar() {
        AppFixture app;
        QVERIFY(saveTitled(app.db(), "旧"));
        // An editor dropped a column: the row is there, but the history cannot be read.
        QVERIFY(app.db().prepare("ALTER TABLE wnx_table DROP COLUMN uinfo;").step() ==
                store::StepResult::Done);
        app.window().fillHistory();
        QCOMPARE(app.status(), QStringLiteral("历史记录无法读取: wnx_table 表缺少列"));
        QCOMPARE(app.panel().recordPanel()->historyList()->count(), 0);
        app.window().showStatus(QString());
        app.window().review(1);
        QCOMPARE(app.status(), QStringLiteral("历史记录无法读取: wnx_table 表缺少列"));

        // Saving still says only that it failed.
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("5"));
        app.compute();
        app::RecordPanel* record = app.panel().recordPanel();
        record->nameBox()->singleLine()->insert(QStringLiteral("t"));
        QTest::mouseClick(record->saveButton(), Qt::LeftButton);
        QCOMPARE(app.status(), QStringLiteral("保存失败"));

        // Another program holding the file past the busy wait.
        QVERIFY(app.db().prepare("ALTER TABLE wnx_table ADD COLUMN uinfo TEXT;").step() ==
                store::StepResult::Done);
        test::HistoryLock lock(app.folder().toStdString());
        QVERIFY(lock.held());
        app.window().fillHistory();
        QCOMPARE(app.status(), QStringLiteral("历史记录无法读取: 数据库文件被另一个程序锁定"));
    }

    void failedSaveSaysSoAndKeepsTheList() {
        AppFixture app;
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("5"));
        app.compute();
        app.db().close();
        app::RecordPanel* record = app.panel().recordPanel();
        record->notesBox()->setText(QStringLiteral("note"));
        record->nameBox()->singleLine()->insert(QStringLiteral("t"));
        QTest::mouseClick(record->saveButton(), Qt::LeftButton);
        QCOMPARE(app.status(), QStringLiteral("保存失败"));
        QCOMPARE(record->notesText(), QString());
        QCOMPARE(record->historyList()->count(), 0);
    }

    void updateTimerStartsUnlessTodayWasChecked() {
        AppFixture app;
        app.window().start();
        QVERIFY(app.window().updateTimer()->isActive());
        QCOMPARE(app.window().updateTimer()->interval(), 5000);
        QVERIFY(app.panel().refreshTimer()->isActive());
        QCOMPARE(app.panel().refreshTimer()->interval(), 3000);

        app.setConfig(QStringLiteral("update_day"), QStringLiteral("2022年11月7日"));
        app.restart();
        app.window().start();
        QVERIFY(!app.window().updateTimer()->isActive());

        app.setConfig(QStringLiteral("update_day"), QStringLiteral("2022-11-07"));
        app.restart();
        app.window().start();
        QVERIFY(app.window().updateTimer()->isActive());
        int checks = 0;
        app.window().setUpdateCheck([&checks] { ++checks; });
        QTRY_COMPARE_WITH_TIMEOUT(checks, 1, 8000);
        QVERIFY(!app.window().updateTimer()->isActive());
    }

    void helpOpensTheBookBesideTheProgram() {
        AppFixture app;
        QTest::mouseClick(app.panel().recordPanel()->helpButton(), Qt::LeftButton);
        QCOMPARE(app.window().lastHelpUrl(),
                 QUrl::fromLocalFile(app.folder() + QStringLiteral("/help/index.html")).toString());
    }

    void historyIsFilledOnTheFirstActivation() {
        AppFixture app;
        QVERIFY(saveTitled(app.db(), "早"));
        app.restart();
        app.panel().recordPanel()->historyList()->clear();
        app.window().show();
        QVERIFY(QTest::qWaitForWindowActive(&app.window()));
        QTRY_COMPARE(app.panel().recordPanel()->historyList()->count(), 1);
    }
};

std::vector<std::unique_ptr<QObject>> makeMainWinTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<MainWinTest>());
    return tests;
}

#include "MainWinTest.moc"
