#include "app/panels/InputPanel.h"

#include "AppFixture.h"
#include "app/MainPanel.h"
#include "app/panels/ChartPanel.h"
#include "app/panels/ChoicePicker.h"
#include "app/panels/LineEntryPanel.h"
#include "app/panels/RecordPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

using namespace quenmar;
using namespace quenmar::test;

class InputPanelTest : public QObject {
    Q_OBJECT

private slots:
    void validationTable_data() {
        QTest::addColumn<int>("method");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("lines");
        QTest::addColumn<int>("timeChoice"); // 0: leave the group's default
        QTest::addColumn<int>("zodiac");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");

        QTest::newRow("no method") << 0 << "" << false << 0 << 1 << -1 << "未选择推算条件";
        QTest::newRow("number missing, before the zodiac")
            << 1 << "" << false << 0 << 0 << -2 << "未输入推算数字";
        QTest::newRow("number without zodiac") << 1 << "38" << false << 0 << 0 << -3 << "未选择卦主生肖";
        QTest::newRow("number") << 1 << "38" << false << 0 << 5 << 1 << "按卦主生肖与数字测算";
        QTest::newRow("lines missing, before the zodiac")
            << 2 << "" << false << 0 << 0 << -4 << "未装好线下卦";
        QTest::newRow("lines missing") << 2 << "" << false << 0 << 3 << -4 << "未装好线下卦";
        QTest::newRow("lines without zodiac") << 2 << "" << true << 0 << 0 << -4 << "未选择卦主生肖";
        QTest::newRow("lines") << 2 << "" << true << 0 << 3 << 2 << "按卦主生肖与自己装载线下卦测算";
        QTest::newRow("milliseconds without zodiac") << 3 << "" << false << 0 << 0 << -5 << "未选择卦主生肖";
        QTest::newRow("milliseconds") << 3 << "" << false << 1 << 12 << 3 << "按卦主生肖与超时空毫秒数测算";
    }

    void validationTable() {
        QFETCH(int, method);
        QFETCH(QString, number);
        QFETCH(bool, lines);
        QFETCH(int, timeChoice);
        QFETCH(int, zodiac);
        QFETCH(int, code);
        QFETCH(QString, message);

        AppFixture app;
        app::InputPanel* input = app.panel().inputPanel();
        QSignalSpy validated(input, &app::InputPanel::validated);
        QSignalSpy finished(app.panel().chartPanel(), &app::ChartPanel::chartFinished);
        app.choose(method, zodiac);
        if (method == 1 && !number.isEmpty()) {
            app.typeNumber(number);
        }
        if (lines) {
            input->setHandLines("101", "000", {0, 0, 1, 0, 0, 0}, app.now());
        }
        if (timeChoice > 0) {
            QTest::mouseClick(input->timeButton(timeChoice), Qt::LeftButton);
        }
        app.compute();
        QCOMPARE(validated.count(), 1);
        QCOMPARE(validated.at(0).at(0).toInt(), code);
        QCOMPARE(validated.at(0).at(1).toString(), message);
        QCOMPARE(app.status(), message);
        const auto request = validated.at(0).at(2).value<CastRequest>();
        QCOMPARE(request.invalid, code <= 0);
        // A refused request leaves the chart panel alone; a cast one raises chart finished once,
        // with the chart that the panel keeps.
        QCOMPARE(app.panel().chartPanel()->hasChart(), code > 0);
        QCOMPARE(finished.count(), code > 0 ? 1 : 0);
        if (code > 0) {
            QVERIFY(finished.at(0).at(0).value<Calculation>().run.chart == app.panel().chartPanel()->chart());
        }
    }

    void everyPickerShowsItsLongestItemInFull() {
        // The style's own size hint counts its arrow and frame, which the width of the
        // characters alone leaves out ("选择起卦方式" showed as "选择起卦方").
        AppFixture app;
        app::LineEntryPanel lines(ClockReading{app.now(), -480}, &app.window());
        const QList<QComboBox*> pickers = app.window().findChildren<QComboBox*>();
        QCOMPARE(pickers.size(), 2 + 12);
        for (QComboBox* picker : pickers) {
            QVERIFY2(picker->width() >= picker->sizeHint().width(), qPrintable(picker->itemText(0)));
        }
        // The row still follows the pickers' widths.
        app::InputPanel* input = app.panel().inputPanel();
        QCOMPARE(input->zodiacPicker()->x(), input->methodPicker()->geometry().right() + 1 + 10);
        QCOMPARE(input->methodPicker()->width(), input->methodPicker()->list()->geometry().right() + 1);
    }

    void emptyNumberFocusesTheBox() {
        AppFixture app;
        app.window().show();
        QVERIFY(QTest::qWaitForWindowActive(&app.window()));
        app.choose(1, 1);
        app.panel().inputPanel()->computeButton()->setFocus();
        app.compute();
        QCOMPARE(app.status(), QStringLiteral("未输入推算数字"));
        QTRY_VERIFY(app.panel().inputPanel()->numberBox()->hasFocus());
    }

    void millisecondsWithoutTimeChoiceIsRefused() {
        AppFixture app;
        app.choose(3, 2);
        // The group starts on "开奖时间"; only a request that lost its choice is refused.
        app::InputPanel* input = app.panel().inputPanel();
        QCOMPARE(input->request().timeChoice, TimeChoice::Draw);
        QVERIFY(input->timeButton(2)->isChecked());
        QTest::mouseClick(input->timeButton(1), Qt::LeftButton);
        QCOMPARE(input->request().timeChoice, TimeChoice::Current);
    }

    void numberBoxTakesAsciiDigitsOnly() {
        AppFixture app;
        app.choose(1, 1);
        QLineEdit* box = app.panel().inputPanel()->numberBox();
        QTest::keyClicks(box, QStringLiteral("1a2 -4"));
        box->insert(QStringLiteral("３")); // a full-width digit is no digit to the number rules
        QCOMPARE(app.panel().inputPanel()->numberBox()->text(), QStringLiteral("124"));
        QCOMPARE(app.panel().inputPanel()->request().numberText, std::string("124"));
    }

    void methodControlFollowsTheMethod() {
        AppFixture app;
        app::InputPanel* input = app.panel().inputPanel();
        QVERIFY(input->numberBox() == nullptr);
        app.choose(1, -1);
        QLineEdit* box = input->numberBox();
        QVERIFY(box != nullptr);
        app.typeNumber(QStringLiteral("123"));
        const int zodiacX = input->zodiacPicker()->x();
        app.choose(1, -1); // the same method again keeps the box and its text
        QCOMPARE(input->numberBox(), box);
        QCOMPARE(box->text(), QStringLiteral("123"));
        app.choose(2, -1);
        QVERIFY(input->numberBox() == nullptr);
        QVERIFY(input->handButton() != nullptr);
        // The wider button pushes the zodiac picker and the buttons to the right.
        QVERIFY(input->zodiacPicker()->x() > zodiacX);
        QVERIFY(input->computeButton()->x() > input->zodiacPicker()->geometry().right());
        app.choose(3, -1);
        QVERIFY(input->handButton() == nullptr);
        QVERIFY(input->timeButton(1) != nullptr);
        app.choose(0, -1); // the prompt entry leaves the control in place
        QVERIFY(input->timeButton(1) != nullptr);
        QCOMPARE(input->width(), input->resetButton()->geometry().right() + 1 + 10);
    }

    void resetKeepsTheGridButEmptiesReportResultsAndNotes() {
        AppFixture app;
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("38"));
        app.compute();
        app::RecordPanel* record = app.panel().recordPanel();
        record->notesBox()->setText(QStringLiteral("备注"));
        app::ChartPanel* chart = app.panel().chartPanel();
        QVERIFY(!chart->reportBox()->toPlainText().isEmpty());
        QVERIFY(!app.results().isEmpty());

        QTest::mouseClick(app.panel().inputPanel()->resetButton(), Qt::LeftButton);
        QCOMPARE(chart->reportBox()->toPlainText(), QString());
        QCOMPARE(app.results(), QString());
        QCOMPARE(record->notesText(), QString());
        QCOMPARE(chart->titleLabel()->text(), QStringLiteral("以数字38起卦,卦主生肖:子,日主:甲子,时辰:庚午"));
        QCOMPARE(chart->primaryLabel()->text(), QStringLiteral("本卦: 乾宫 (7) 火地晋 游魂"));
        QCOMPARE(chart->cellText(0, 0), QStringLiteral("玄武"));
        app::InputPanel* input = app.panel().inputPanel();
        QCOMPARE(input->methodPicker()->currentIndex(), 0);
        QCOMPARE(input->zodiacPicker()->currentIndex(), 0);
        QCOMPARE(input->request().method, CastMethod::Cleared);
        QCOMPARE(input->request().zodiac, -1);
        QVERIFY(input->numberBox() != nullptr); // the control of the last method stays
        QCOMPARE(input->numberBox()->text(), QString());
        app.compute();
        QCOMPARE(app.status(), QStringLiteral("未选择推算条件"));
    }

    void choosingAPickerResetsTheResults() {
        AppFixture app;
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("5"));
        app.compute();
        QVERIFY(!app.results().isEmpty());
        app.choose(-1, 2);
        QCOMPARE(app.results(), QString());
        QVERIFY(app.panel().chartPanel()->hasChart());
    }

    void repeatedComputeTakesANewMoment() {
        AppFixture app;
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("38"));
        app.compute();
        QCOMPARE(app.panel().chartPanel()->chart().moment, app.now());
        app.setNow(at(2022, 11, 8, 9, 30));
        app.compute();
        QCOMPARE(app.panel().chartPanel()->chart().moment, at(2022, 11, 8, 9, 30));
        QCOMPARE(app.panel().chartPanel()->chart().dayPillar, std::string("乙丑"));
    }
};

std::vector<std::unique_ptr<QObject>> makeInputPanelTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<InputPanelTest>());
    return tests;
}

#include "InputPanelTest.moc"
