#include "AppFixture.h"
#include "app/MainPanel.h"
#include "app/MessageBox.h"
#include "app/panels/GuaWin.h"
#include "app/panels/InputPanel.h"
#include "app/panels/LineEntryPanel.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

using namespace quenmar;
using namespace quenmar::test;

class LineEntryTest : public QObject {
    Q_OBJECT

private:
    // Picker item indexes: 1 yang, 2 yin, 3 moving yang, 4 moving yin.
    static void setLines(app::LineEntryPanel* panel, std::array<int, 6> items) {
        for (int line = 1; line <= 6; ++line) {
            panel->linePicker(line)->setCurrentIndex(items[static_cast<std::size_t>(line - 1)]);
        }
    }

private slots:
    void init() { app::MessageBox::resetRecord(); }

    void startsOnTheCurrentDayAndTime() {
        const ClockReading now{at(2024, 5, 3, 0, 0, 0), -480};
        app::LineEntryPanel panel(now);
        for (int line = 1; line <= 6; ++line) {
            QCOMPARE(panel.linePicker(line)->currentIndex(), 0);
            QCOMPARE(panel.linePicker(line)->currentText(), QStringLiteral("选择爻相"));
        }
        QCOMPARE(panel.timePicker(0)->currentText(), QStringLiteral("2024年"));
        QCOMPARE(panel.timePicker(0)->count(), 2);
        QCOMPARE(panel.timePicker(1)->currentText(), QStringLiteral("5月"));
        QCOMPARE(panel.timePicker(2)->currentText(), QStringLiteral("3日"));
        QCOMPARE(panel.timePicker(3)->currentText(), QStringLiteral("0时"));
        QCOMPARE(panel.timePicker(4)->currentText(), QStringLiteral("0分"));
        QCOMPARE(panel.timePicker(5)->currentText(), QStringLiteral("0秒"));
        QCOMPARE(panel.timePicker(3)->count(), 25);
        QCOMPARE(panel.timePicker(5)->itemText(0), QStringLiteral("秒钟"));
    }

    void checksLinesFromTheBottomRow() {
        app::LineEntryPanel panel(ClockReading{at(2024, 5, 3, 14, 5, 30), -480});
        QSignalSpy accepted(&panel, &app::LineEntryPanel::accepted);
        app::MessageBox::setNextAnswer(true);
        QTest::mouseClick(panel.okButton(), Qt::LeftButton);
        QCOMPARE(app::MessageBox::lastCaption(), QStringLiteral("信息:"));
        QCOMPARE(app::MessageBox::lastText(), QStringLiteral("在第:1爻没有设定!"));
        setLines(&panel, {1, 1, 0, 2, 0, 2});
        app::MessageBox::setNextAnswer(true);
        QTest::mouseClick(panel.okButton(), Qt::LeftButton);
        QCOMPARE(app::MessageBox::lastText(), QStringLiteral("在第:3爻没有设定!"));
        QCOMPARE(accepted.count(), 0);
    }

    void namesTheUnsetTimePicker() {
        app::LineEntryPanel panel(ClockReading{at(2024, 5, 3, 14, 5, 30), -480});
        QSignalSpy accepted(&panel, &app::LineEntryPanel::accepted);
        setLines(&panel, {1, 2, 1, 2, 1, 2});
        panel.timePicker(5)->setCurrentIndex(0);
        app::MessageBox::setNextAnswer(true);
        QTest::mouseClick(panel.okButton(), Qt::LeftButton);
        QCOMPARE(app::MessageBox::lastText(), QStringLiteral("时间的秒种未设定"));
        panel.timePicker(3)->setCurrentIndex(0);
        app::MessageBox::setNextAnswer(true);
        QTest::mouseClick(panel.okButton(), Qt::LeftButton);
        QCOMPARE(app::MessageBox::lastText(), QStringLiteral("时间的小时未设定"));
        QCOMPARE(accepted.count(), 0);
    }

    void turnsChoicesIntoLinesFlagsAndTheTossTime() {
        app::LineEntryPanel panel(ClockReading{at(2024, 5, 3, 14, 5, 30, 777), -480});
        QSignalSpy accepted(&panel, &app::LineEntryPanel::accepted);
        setLines(&panel, {3, 2, 2, 2, 2, 2});
        panel.timePicker(4)->setCurrentIndex(8); // 7分
        QTest::mouseClick(panel.okButton(), Qt::LeftButton);
        QCOMPARE(accepted.count(), 1);
        const auto entry = accepted.at(0).at(0).value<app::HandEntry>();
        QCOMPARE(entry.lowerLines, std::string("100"));
        QCOMPARE(entry.upperLines, std::string("000"));
        QCOMPARE(entry.movingFlags, (std::vector<int>{1, 0, 0, 0, 0, 0}));
        QCOMPARE(entry.moment, at(2024, 5, 3, 14, 7, 30)); // no milliseconds in a toss time

        setLines(&panel, {4, 1, 3, 2, 1, 4});
        QTest::mouseClick(panel.okButton(), Qt::LeftButton);
        const auto second = accepted.at(1).at(0).value<app::HandEntry>();
        QCOMPARE(second.lowerLines, std::string("011"));
        QCOMPARE(second.upperLines, std::string("010"));
        QCOMPARE(second.movingFlags, (std::vector<int>{-1, 0, 1, 0, 0, -1}));
    }

    void okStoresIntoTheRequestAndCancelKeepsIt() {
        AppFixture app;
        app.choose(2, 7);
        app::InputPanel* input = app.panel().inputPanel();
        onNextModal([](QWidget* modal) {
            auto* window = qobject_cast<app::GuaWin*>(modal);
            QVERIFY(window != nullptr);
            setLines(window->panel(), {1, 1, 2, 2, 4, 1});
            QTest::mouseClick(window->panel()->okButton(), Qt::LeftButton);
        });
        QTest::mouseClick(input->handButton(), Qt::LeftButton);
        QCOMPARE(input->request().lowerLines, std::string("110"));
        QCOMPARE(input->request().upperLines, std::string("001"));
        QCOMPARE(input->request().movingFlags, (std::vector<int>{0, 0, 0, 0, -1, 0}));
        QCOMPARE(input->request().moment, app.now());

        onNextModal([](QWidget* modal) {
            auto* window = qobject_cast<app::GuaWin*>(modal);
            setLines(window->panel(), {2, 2, 2, 2, 2, 2});
            QTest::mouseClick(window->panel()->cancelButton(), Qt::LeftButton);
        });
        QTest::mouseClick(input->handButton(), Qt::LeftButton);
        QCOMPARE(input->request().lowerLines, std::string("110"));

        app.compute();
        QCOMPARE(app.status(), QStringLiteral("按卦主生肖与自己装载线下卦测算"));
        QVERIFY(!app.results().isEmpty());
    }
};

std::vector<std::unique_ptr<QObject>> makeLineEntryTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<LineEntryTest>());
    return tests;
}

#include "LineEntryTest.moc"
