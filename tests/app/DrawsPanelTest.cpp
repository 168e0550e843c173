#include "app/panels/DrawsPanel.h"

#include "AppFixture.h"
#include "app/MainPanel.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace quenmar;
using namespace quenmar::test;

namespace {

draws::RefreshServices onlineWith(std::string numbers, std::atomic<int>* fetches = nullptr, int delayMs = 0) {
    draws::RefreshServices services;
    services.isOnline = [] {
        return true;
    };
    services.fetchDraw = [numbers, fetches, delayMs](int) {
        if (fetches != nullptr) {
            ++*fetches;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        draws::DrawResult draw;
        draw.name = "快乐8";
        draw.issue = "2024123期";
        draw.date = "2024-05-01";
        draw.mainNumbers = numbers;
        return draw;
    };
    return services;
}

} // namespace

class DrawsPanelTest : public QObject {
    Q_OBJECT

private slots:
    void placeholderSpreadsTheMessageOverTheNumbers() {
        AppFixture app;
        app::DrawsPanel* draws = app.panel().drawsPanel();
        QCOMPARE(draws->lineLabels().at(0)->text(), QStringLiteral("快乐8最新开奖:"));
        QCOMPARE(draws->lineLabels().at(1)->text(), QStringLiteral("开奖最后日期"));
        QCOMPARE(draws->lineLabels().at(2)->text(), QStringLiteral("开奖最后期号"));
        QCOMPARE(draws->numberLabels().size(), 20);
        QCOMPARE(draws->numberLabels().at(0)->text(), QStringLiteral("最 "));
        QCOMPARE(draws->numberLabels().at(10)->text(), QStringLiteral("请 "));
        QCOMPARE(draws->numberLabels().at(19)->text(), QStringLiteral("！"));
        QCOMPARE(draws->refreshButton()->size(), QSize(32, 32));
        QCOMPARE(draws->width(), draws->refreshButton()->geometry().right() + 1 + 10);
    }

    void aDrawStopsTheTimerAndIsShown() {
        AppFixture app(onlineWith("0102030405060708091011121314151617181920"));
        app.window().start();
        app::MainPanel& panel = app.panel();
        QVERIFY(panel.refreshTimer()->isActive());
        QTest::mouseClick(panel.drawsPanel()->refreshButton(), Qt::LeftButton);
        QTRY_VERIFY(!panel.refreshInFlight());
        QVERIFY(!panel.refreshTimer()->isActive());
        QCOMPARE(app.status(),
                 QStringLiteral("开奖数据已更新，与实时开奖数据存在相差两小时左右的误差,此不会影响推演数据，"
                                "本软件不参照历史数据."));
        app::DrawsPanel* draws = panel.drawsPanel();
        QCOMPARE(draws->lineLabels().at(1)->text(), QStringLiteral("2024-05-01"));
        QCOMPARE(draws->lineLabels().at(2)->text(), QStringLiteral("2024123期"));
        QCOMPARE(draws->numberLabels().at(0)->text(), QStringLiteral("01"));
        QCOMPARE(draws->numberLabels().at(19)->text(), QStringLiteral("20"));
        QCOMPARE(draws->numberLabels().at(10)->y(),
                 draws->numberLabels().at(0)->y() + draws->numberLabels().at(0)->height() + 10);
        QVERIFY(draws->numberLabels().at(0)->styleSheet().contains(QStringLiteral("rgb(255, 0, 0)")));
    }

    void offlineSaysSoAndKeepsTrying() {
        AppFixture app;
        app.window().start();
        app::MainPanel& panel = app.panel();
        QTest::mouseClick(panel.drawsPanel()->refreshButton(), Qt::LeftButton);
        QTRY_COMPARE(app.status(), QStringLiteral("未连网"));
        QTRY_VERIFY(!panel.refreshInFlight());
        QVERIFY(panel.refreshTimer()->isActive());
        QCOMPARE(panel.drawsPanel()->numberLabels().at(0)->text(), QStringLiteral("最 "));
    }

    void offlineWaitsUntilTheUsersMessageWasRead() {
        AppFixture app;
        app.window().start(); // the refresh timer ticks every 3 s, offline
        QElapsedTimer age;
        app.compute();
        age.start();
        QCOMPARE(app.status(), QStringLiteral("未选择推算条件"));
        QTRY_VERIFY_WITH_TIMEOUT(age.elapsed() > 3500, 5000); // the first tick came and went
        QCOMPARE(app.status(), QStringLiteral("未选择推算条件"));
        QTRY_COMPARE_WITH_TIMEOUT(app.status(), QStringLiteral("未连网"), 5000);
        // The window's clock started a moment before this one.
        QVERIFY2(age.elapsed() >= app::MainWin::kUserMessageHoldMs - 100,
                 qPrintable(QString::number(age.elapsed())));
        QVERIFY(app.panel().refreshTimer()->isActive());
        QCOMPARE(app.panel().refreshTimer()->interval(), 3000);
    }

    void aClickDuringARefreshStartsNoSecondOne() {
        std::atomic<int> fetches{0};
        AppFixture app(onlineWith("01", &fetches, 300));
        app::MainPanel& panel = app.panel();
        QTest::mouseClick(panel.drawsPanel()->refreshButton(), Qt::LeftButton);
        QVERIFY(panel.refreshInFlight());
        QTest::mouseClick(panel.drawsPanel()->refreshButton(), Qt::LeftButton);
        QTRY_VERIFY(!panel.refreshInFlight());
        QCOMPARE(fetches.load(), 1);
        QTest::mouseClick(panel.drawsPanel()->refreshButton(), Qt::LeftButton);
        QTRY_VERIFY(!panel.refreshInFlight());
        QCOMPARE(fetches.load(), 2);
    }
};

std::vector<std::unique_ptr<QObject>> makeDrawsPanelTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<DrawsPanelTest>());
    return tests;
}

#include "DrawsPanelTest.moc"
