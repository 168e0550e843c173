#include "app/panels/RecordPanel.h"

#include "AppFixture.h"
#include "Readback.h"
#include "app/MainPanel.h"
#include "app/MainWin.h"
#include "app/panels/DrawsPanel.h"
#include "app/panels/InputPanel.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

using namespace quenmar;
using namespace quenmar::test;

namespace {

// What a phone reads off the screen: the picture over the results box, decoded; nothing when
// no code is shown.
std::optional<QString> shownCode(app::RecordPanel* record) {
    if (record->qrPicture() == nullptr) {
        return std::nullopt;
    }
    return decodeQr(record->qrPicture()->grab().toImage());
}

// Clicks "用手机查看" and reads the code it shows.
std::optional<QString> showCode(app::RecordPanel* record) {
    if (record->qrButton()->text() != QStringLiteral("用手机查看")) {
        return std::nullopt;
    }
    QTest::mouseClick(record->qrButton(), Qt::LeftButton);
    return shownCode(record);
}

} // namespace

class RecordPanelTest : public QObject {
    Q_OBJECT

private slots:
    void saveIsEnabledOnlyWithResultsAndAName() {
        AppFixture app;
        app::RecordPanel* record = app.panel().recordPanel();
        record->nameBox()->singleLine()->insert(QStringLiteral("名"));
        QVERIFY(!record->saveButton()->isEnabled()); // no results yet
        record->nameBox()->clear();
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("7"));
        app.compute();
        QVERIFY(!record->saveButton()->isEnabled());
        record->nameBox()->singleLine()->insert(QStringLiteral("  "));
        QVERIFY(!record->saveButton()->isEnabled()); // blanks are no name
        record->nameBox()->singleLine()->insert(QStringLiteral("x"));
        QVERIFY(record->saveButton()->isEnabled());
        record->nameBox()->clear();
        QVERIFY(!record->saveButton()->isEnabled());
    }

    void saveFollowsTheResultsBoxToo() {
        AppFixture app;
        app::RecordPanel* record = app.panel().recordPanel();
        record->nameBox()->singleLine()->insert(QStringLiteral("先写名称"));
        QVERIFY(!record->saveButton()->isEnabled());
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("38"));
        app.compute();
        QVERIFY(record->saveButton()->isEnabled()); // the name typed first counts once there are results
        QTest::mouseClick(app.panel().inputPanel()->resetButton(), Qt::LeftButton);
        QCOMPARE(record->nameBox()->text(), QStringLiteral("先写名称"));
        QVERIFY(!record->saveButton()->isEnabled()); // nothing to save after "重设"
    }

    void saveWithoutANameAsksForOne() {
        AppFixture app;
        app::RecordPanel* record = app.panel().recordPanel();
        QSignalSpy saved(record, &app::RecordPanel::saveClicked);
        record->saveButton()->setEnabled(true);
        QTest::mouseClick(record->saveButton(), Qt::LeftButton);
        QCOMPARE(saved.count(), 0);
        QCOMPARE(app.status(), QStringLiteral("状态:"));
    }

    void qrButtonShowsAndHidesTheCode() {
        AppFixture app;
        app::RecordPanel* record = app.panel().recordPanel();
        QVERIFY(!record->qrButton()->isEnabled());
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("38"));
        app.compute();
        QVERIFY(record->qrButton()->isEnabled());
        QCOMPARE(record->qrButton()->text(), QStringLiteral("用手机查看"));
        QTest::mouseClick(record->qrButton(), Qt::LeftButton);
        QCOMPARE(record->qrButton()->text(), QStringLiteral("隐藏二维码"));
        QLabel* picture = record->qrPicture();
        QVERIFY(picture != nullptr);
        // Over the box itself, below its caption.
        app::LabeledEdit* box = record->resultsBox();
        QCOMPARE(picture->geometry(), box->editorRect().translated(box->pos()));
        QVERIFY(!picture->geometry().intersects(box->caption()->geometry().translated(box->pos())));
        const QImage image = picture->pixmap().toImage();
        QCOMPARE(image.size(), picture->size());
        // A QR symbol starts with a finder pattern: its top-left module is black, the
        // picture's centre region holds both colours.
        QCOMPARE(image.pixelColor(1, 1), QColor(Qt::black));
        QTest::mouseClick(record->qrButton(), Qt::LeftButton);
        QCOMPARE(record->qrButton()->text(), QStringLiteral("用手机查看"));
        QVERIFY(record->qrPicture() == nullptr);
    }

    void qrCodeHoldsTheResultsTextOrNothing() {
        AppFixture app;
        app::RecordPanel* record = app.panel().recordPanel();
        app.choose(1, 1);
        app.typeNumber(QStringLiteral("38"));
        app.compute();
        QCOMPARE(showCode(record), std::optional<QString>(app.results()));

        // A new calculation while the code is up takes the old code away.
        const QString first = app.results();
        app.typeNumber(QStringLiteral("7"));
        app.compute();
        QVERIFY(app.results() != first);
        QCOMPARE(shownCode(record), std::nullopt);
        QCOMPARE(showCode(record), std::optional<QString>(app.results()));

        // "重设" empties the box: no code, and the button offers the code again once there is one.
        QTest::mouseClick(app.panel().inputPanel()->resetButton(), Qt::LeftButton);
        QCOMPARE(shownCode(record), std::nullopt);
        QCOMPARE(record->qrButton()->text(), QStringLiteral("用手机查看"));
        QVERIFY(!record->qrButton()->isEnabled());
        app.choose(1, 2);
        app.typeNumber(QStringLiteral("38"));
        app.compute();
        QCOMPARE(showCode(record), std::optional<QString>(app.results()));

        // A review computes the saved calculation anew: the code shown is that of its text.
        QTest::keyClicks(record->nameBox()->singleLine(), QStringLiteral("r"));
        QTest::mouseClick(record->saveButton(), Qt::LeftButton);
        app.setNow(at(2023, 2, 3, 4, 5, 6));
        QVERIFY(shownCode(record).has_value());
        record->historyList()->setCurrentRow(0);
        app.window().review(record->historyList()->item(0)->data(Qt::UserRole).toInt());
        QCOMPARE(shownCode(record), std::nullopt);
        QCOMPARE(showCode(record), std::optional<QString>(app.results()));
    }

    void qrOfATextTooLongForASymbolSaysSo() {
        AppFixture app;
        app::RecordPanel* record = app.panel().recordPanel();
        record->showResultText(QString(700, QChar(0x5366))); // 2100 bytes of UTF-8
        QTest::mouseClick(record->qrButton(), Qt::LeftButton);
        QCOMPARE(record->qrButton()->text(), QStringLiteral("隐藏二维码"));
        QVERIFY(record->qrPicture() != nullptr);
        QVERIFY(record->qrPicture()->pixmap().isNull());
        QCOMPARE(record->qrPicture()->text(), QStringLiteral("演算结果过长,无法生成二维码"));
        QTest::mouseClick(record->qrButton(), Qt::LeftButton);
        QCOMPARE(record->qrButton()->text(), QStringLiteral("用手机查看"));
    }

    void emptyingTheResultsDisablesTheQrButton() {
        AppFixture app;
        app::RecordPanel* record = app.panel().recordPanel();
        record->showResultText(QStringLiteral("x"));
        QVERIFY(record->qrButton()->isEnabled());
        record->showResultText(QStringLiteral("  \n "));
        QVERIFY(!record->qrButton()->isEnabled());
    }

    void buttonsExplainThemselves() {
        AppFixture app;
        app::RecordPanel* record = app.panel().recordPanel();
        app::InputPanel* input = app.panel().inputPanel();
        QCOMPARE(app.panel().drawsPanel()->refreshButton()->toolTip(), QStringLiteral("刷新开奖数据"));
        QCOMPARE(record->historyList()->toolTip(), QStringLiteral("双击复盘查看"));
        QSet<QString> tips;
        for (QWidget* button :
             {static_cast<QWidget*>(input->computeButton()), static_cast<QWidget*>(input->resetButton()),
              static_cast<QWidget*>(record->qrButton()), static_cast<QWidget*>(record->saveButton()),
              static_cast<QWidget*>(record->helpButton())}) {
            QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->objectName()));
            tips.insert(button->toolTip());
        }
        QCOMPARE(tips.size(), 5);
        QVERIFY(record->saveButton()->toolTip().contains(QStringLiteral("Ctrl+S")));
        QVERIFY(record->helpButton()->toolTip().contains(QStringLiteral("F1")));
    }

    void controlsAreLaidOutTopToBottom() {
        AppFixture app;
        app::RecordPanel* record = app.panel().recordPanel();
        QCOMPARE(record->historyList()->pos(), QPoint(0, 0));
        QCOMPARE(record->historyList()->width(), record->width());
        QCOMPARE(record->historyList()->toolTip(), QStringLiteral("双击复盘查看"));
        QCOMPARE(record->selectAll()->y(), record->historyList()->geometry().bottom() + 1 + 10);
        QCOMPARE(record->deleteButton()->x(), record->selectAll()->geometry().right() + 1 + 10);
        QCOMPARE(record->resultsBox()->caption()->text(), QStringLiteral("演算结果:"));
        QCOMPARE(record->qrButton()->geometry().right() + 1,
                 record->resultsBox()->geometry().right() + 1 - 10);
        QVERIFY(record->notesBox()->y() > record->qrButton()->geometry().bottom());
        QVERIFY(record->nameBox()->y() > record->notesBox()->geometry().bottom());
        QVERIFY(record->saveButton()->y() > record->nameBox()->geometry().bottom());
        QCOMPARE(record->helpButton()->y(), record->saveButton()->y());
        // Everything fits above the bottom of the main content area.
        QVERIFY(record->geometry().top() + record->saveButton()->geometry().bottom() < app.panel().height());
    }
};

std::vector<std::unique_ptr<QObject>> makeRecordPanelTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<RecordPanelTest>());
    return tests;
}

#include "RecordPanelTest.moc"
