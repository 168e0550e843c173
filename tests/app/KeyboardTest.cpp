#include "AppFixture.h"
#include "app/MainPanel.h"
#include "app/MessageBox.h"
#include "app/panels/ChartPanel.h"
#include "app/panels/ChoicePicker.h"
#include "app/panels/DrawsPanel.h"
#include "app/panels/GuaWin.h"
#include "app/panels/InputPanel.h"
#include "app/panels/LineEntryPanel.h"
#include "app/panels/RecordPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>
#include <memory>
#include <vector>

using namespace quenmar;
using namespace quenmar::test;

namespace {

// The widgets Tab reaches from `first`, one press at a time; it stops early when focus is
// nowhere (a window not yet active on a busy machine), which the caller's comparison reports.
QList<QWidget*> tabStopsFrom(QWidget* first, qsizetype count) {
    if (first == nullptr) {
        return {};
    }
    first->setFocus();
    QList<QWidget*> reached{QApplication::focusWidget()};
    while (reached.size() < count && reached.back() != nullptr) {
        QTest::keyClick(reached.back(), Qt::Key_Tab);
        reached << QApplication::focusWidget();
    }
    return reached;
}

} // namespace

// The window driven without a mouse.
class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void init() { app::MessageBox::resetRecord(); }

    void tabFollowsTheVisualOrder() {
        AppFixture app;
        QVERIFY(app.showActive());
        app::InputPanel* input = app.panel().inputPanel();
        app::RecordPanel* record = app.panel().recordPanel();
        record->nameBox()->singleLine()->insert(QStringLiteral("n"));
        const QList<QWidget*> rightColumn{record->historyList(),
                                          record->selectAll(),
                                          record->resultsBox()->editor(),
                                          record->qrButton(),
                                          record->notesBox()->editor(),
                                          record->nameBox()->editor(),
                                          record->saveButton(),
                                          record->helpButton(),
                                          app.panel().drawsPanel()->refreshButton()}; // "删除" is disabled
        // Each method puts its own control between the pickers.
        for (int method = 1; method <= 3; ++method) {
            app.choose(method, -1);
            record->showResultText(QStringLiteral("x")); // enables "用手机查看" and "保存"
            QList<QWidget*> controls;
            if (method == 1) {
                controls << input->numberBox();
            } else if (method == 2) {
                controls << input->handButton();
            } else {
                controls << input->timeButton(2); // the group is one stop, at its checked button
            }
            const QList<QWidget*> expected =
                QList<QWidget*>{input->methodPicker()->list()} + controls +
                QList<QWidget*>{input->zodiacPicker()->list(), input->computeButton(), input->resetButton(),
                                app.panel().chartPanel()->reportBox()} +
                rightColumn + QList<QWidget*>{input->methodPicker()->list()};
            QCOMPARE(tabStopsFrom(input->methodPicker()->list(), expected.size()), expected);
        }
    }

    void enterComputesInTheNumberBoxAndSavesInTheNameBox() {
        AppFixture app;
        app::RecordPanel* record = app.panel().recordPanel();
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("38"));
        QTest::keyClick(app.panel().inputPanel()->numberBox(), Qt::Key_Return);
        QCOMPARE(app.status(), QStringLiteral("按卦主生肖与数字测算"));
        QVERIFY(!app.results().isEmpty());

        QTest::keyClicks(record->nameBox()->singleLine(), QStringLiteral("k"));
        QTest::keyClick(record->nameBox()->singleLine(), Qt::Key_Return);
        QCOMPARE(app.status(), QStringLiteral("保存成功"));
        QCOMPARE(record->historyList()->count(), 1);

        // Without results there is nothing to save, by Enter as by the button.
        QTest::mouseClick(app.panel().inputPanel()->resetButton(), Qt::LeftButton);
        QTest::keyClicks(record->nameBox()->singleLine(), QStringLiteral("k"));
        QTest::keyClick(record->nameBox()->singleLine(), Qt::Key_Return);
        QCOMPARE(record->historyList()->count(), 1);
    }

    void tabLeavesTheNotes() {
        AppFixture app;
        QVERIFY(app.showActive());
        app::RecordPanel* record = app.panel().recordPanel();
        record->notesBox()->editor()->setFocus();
        QTest::keyClicks(record->notesBox()->editor(), QStringLiteral("a"));
        QTest::keyClick(record->notesBox()->editor(), Qt::Key_Tab);
        QCOMPARE(record->notesText(), QStringLiteral("a"));
        QCOMPARE(QApplication::focusWidget(), record->nameBox()->editor());
    }

    void shortcutsOfTheButtons() {
        AppFixture app;
        QVERIFY(app.showActive());
        app::RecordPanel* record = app.panel().recordPanel();
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("38"));
        app.compute();
        // Ctrl+S saves, but only while "保存" is enabled.
        QTest::keyClick(&app.window(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(record->historyList()->count(), 0);
        record->nameBox()->singleLine()->insert(QStringLiteral("s"));
        QTest::keyClick(&app.window(), Qt::Key_S, Qt::ControlModifier);
        QTRY_COMPARE(record->historyList()->count(), 1); // a shortcut clicks after a short press

        // In the list, Select All ticks "全选" and Delete asks as "删除" does.
        QListWidget* list = record->historyList();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(record->selectAll()->isChecked());
        app::MessageBox::setNextAnswer(false);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(app::MessageBox::lastCaption(), QStringLiteral("询问:"));
        QCOMPARE(list->count(), 1);
    }

    void lineEntryStartsOnTheBottomLineAndClimbs() {
        AppFixture app;
        QVERIFY(app.showActive());
        app.choose(2, 1);
        QList<QWidget*> reached;
        QList<QWidget*> expected;
        onNextModal([&](QWidget* modal) {
            const auto close = qScopeGuard([modal] { modal->close(); }); // never leave it open
            auto* window = qobject_cast<app::GuaWin*>(modal);
            QVERIFY(window != nullptr && QTest::qWaitForWindowActive(window));
            QTRY_VERIFY(QApplication::focusWidget() != nullptr &&
                        QApplication::focusWidget()->window() == window);
            app::LineEntryPanel* panel = window->panel();
            for (int line = 1; line <= 6; ++line) {
                expected << panel->linePicker(line);
            }
            for (int i = 0; i < 6; ++i) {
                expected << panel->timePicker(i);
            }
            expected << panel->okButton() << panel->cancelButton();
            reached = tabStopsFrom(QApplication::focusWidget(), expected.size());
            // Enter is "确定": it checks the lines from the bottom.
            app::MessageBox::setNextAnswer(true);
            panel->linePicker(1)->setFocus();
            QTest::keyClick(panel->linePicker(1), Qt::Key_Return);
            QCOMPARE(app::MessageBox::lastText(), QStringLiteral("在第:1爻没有设定!"));
            QTest::keyClick(panel->linePicker(1), Qt::Key_Escape);
        });
        QTest::mouseClick(app.panel().inputPanel()->handButton(), Qt::LeftButton);
        QCOMPARE(reached, expected);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

std::vector<std::unique_ptr<QObject>> makeKeyboardTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<KeyboardTest>());
    return tests;
}

#include "KeyboardTest.moc"
