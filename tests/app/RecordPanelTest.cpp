#include "app/panels/RecordPanel.h"

#include "AppFixture.h"
#include "app/MainPanel.h"

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
using namespace quenmar::testing;

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
        QCOMPARE(picture->geometry(), record->resultsBox()->geometry());
        const QImage image = picture->pixmap().toImage();
        QCOMPARE(image.size(), picture->size());
        // A QR symbol starts with a finder pattern: its top-left module is black, the
        // picture's centre region holds both colours.
        QCOMPARE(image.pixelColor(1, 1), QColor(Qt::black));
        QTest::mouseClick(record->qrButton(), Qt::LeftButton);
        QCOMPARE(record->qrButton()->text(), QStringLiteral("用手机查看"));
        QVERIFY(record->qrPicture() == nullptr);
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
