#include "app/ExpertWin.h"

#include "AppFixture.h"
#include "app/ExpertChart.h"
#include "app/UiFont.h"
#include "prediction/Calculation.h"

#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <vector>

using namespace quenmar;
using namespace quenmar::test;
using Chart = app::ExpertChart;

namespace {

constexpr int kBeijingBias = -480;

// A number cast for the querent of the rat, as the input panel completes it.
Calculation castByNumber(const char* number, double moment) {
    CastRequest request;
    request.method = CastMethod::ByNumber;
    request.numberText = number;
    request.zodiac = 1;
    prepareRequest(request, kGameHappy8, ClockReading{moment, kBeijingBias});
    return runCalculation(request);
}

// The worked example: 火地晋 (乾宫, 游魂) → 天地否 by line 5, on 2022-11-07 12:00, a 甲子 day in
// the 戌 month of 寒露.
Calculation workedExample() {
    return castByNumber("38", at(2022, 11, 7, 12));
}

QStringList rowTexts(const Chart* chart, int row) {
    QStringList texts;
    for (int c = 0; c < Chart::ColumnCount; ++c) {
        texts << chart->cellText(row, c);
    }
    return texts;
}

QPoint centre(const QRect& rect) {
    return rect.center();
}

bool anyPixel(const QImage& image, const QRect& logical, qreal scale,
              const std::function<bool(QColor)>& test) {
    const QRect device(QPoint(qRound(logical.left() * scale), qRound(logical.top() * scale)),
                       logical.size() * scale);
    for (int y = device.top(); y <= device.bottom(); ++y) {
        for (int x = device.left(); x <= device.right(); ++x) {
            if (test(image.pixelColor(x, y))) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class ExpertWinTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheCalculationInTheCustomaryLayout() {
        app::ExpertWin window(kBeijingBias, app::uiFont());
        const Chart* chart = window.chart();
        QCOMPARE(window.windowTitle(), QStringLiteral("详细排盘"));
        QVERIFY(!chart->hasChart());
        window.showCalculation(Calculation{}); // a calculation that cast nothing changes nothing
        QVERIFY(!chart->hasChart());

        window.showCalculation(workedExample());
        QVERIFY(chart->hasChart());
        QCOMPARE(chart->headerLine(0), QStringLiteral("以数字38起卦,卦主生肖:子,日主:甲子,时辰:庚午"));
        QCOMPARE(chart->headerLine(1),
                 QStringLiteral("时间: 2022年11月7日12时    节: 寒露 2022-10-08 15:22"));
        QCOMPARE(chart->headerLine(2), QStringLiteral("四柱: 壬寅年 庚戌月 甲子日 庚午时    旬空: 戌亥"));
        QCOMPARE(chart->headerLine(3),
                 QStringLiteral("互卦: 水山蹇    错卦: 水天需    综卦: 地火明夷    卦身: 卯 (三爻)"));
        QCOMPARE(chart->caption(0), QStringLiteral("本卦: 乾宫 (7) 火地晋 游魂"));
        QCOMPARE(chart->caption(1), QStringLiteral("变卦 乾宫 (4) 天地否  六合"));
        // 子孙 is missing from 火地晋 and hides under line 1 (乾为天's 甲子); 卦身 卯 is line 3;
        // on a 甲子 day 壬戌 is void and 壬午 clashes with the day.
        const QString rows[Chart::kRows] = {
            QStringLiteral("玄武||官鬼|己巳|火|1||||父母|壬戌|土|1|空"),
            QStringLiteral("白虎||父母|己未|土|0||×||兄弟|壬申|金|1|"),
            QStringLiteral("腾蛇||兄弟|己酉|金|1|世|||官鬼|壬午|火|1|冲"),
            QStringLiteral("勾陈||妻财|乙卯|木|0|||身|妻财|乙卯|木|0|"),
            QStringLiteral("朱雀||官鬼|乙巳|火|0||||官鬼|乙巳|火|0|"),
            QStringLiteral("青龙|子孙甲子水|父母|乙未|土|0|应|||父母|乙未|土|0|"),
        };
        for (int row = 0; row < Chart::kRows; ++row) {
            QCOMPARE(rowTexts(chart, row).join(QLatin1Char('|')), rows[row]);
        }
    }

    void switchCountsTheChangedRelationsFromEitherPalace() {
        // "5" in the first hour: 风地观 (乾宫, metal) → 风雷益 (巽宫, wood) by line 1.
        app::ExpertWin window(kBeijingBias, app::uiFont());
        window.showCalculation(castByNumber("5", at(2022, 11, 7, 0, 30)));
        const Chart* chart = window.chart();
        const auto changedRelations = [chart] {
            QStringList relations;
            for (int row = 0; row < Chart::kRows; ++row) {
                relations << chart->cellText(row, Chart::ChangedRelation);
            }
            return relations.join(QLatin1Char(' '));
        };
        // 辛卯 辛巳 辛未 庚辰 庚寅 庚子 from the top, as the report counts them from wood ...
        QVERIFY(window.changedPalaceButton()->isChecked());
        QCOMPARE(changedRelations(), QStringLiteral("兄弟 子孙 妻财 妻财 兄弟 父母"));
        // ... and from the primary's metal.
        window.primaryPalaceButton()->click();
        QVERIFY(chart->changedByPrimaryPalace());
        QCOMPARE(changedRelations(), QStringLiteral("妻财 官鬼 父母 父母 妻财 子孙"));
        QCOMPARE(chart->caption(1), QStringLiteral("变卦 巽宫 (4) 风雷益  (六亲按本卦宫)"));
        // The primary half is the same either way, and a new calculation keeps the choice.
        QCOMPARE(chart->cellText(5, Chart::Relation), QStringLiteral("父母"));
        window.showCalculation(castByNumber("5", at(2022, 11, 8, 0, 30)));
        QCOMPARE(changedRelations(), QStringLiteral("妻财 官鬼 父母 父母 妻财 子孙"));
        window.changedPalaceButton()->click();
        QCOMPARE(changedRelations(), QStringLiteral("兄弟 子孙 妻财 妻财 兄弟 父母"));
    }

    void paintsTheSameChartOnAnyDevice_data() {
        QTest::addColumn<qreal>("scale");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("200 %") << 2.0;
    }

    // The chart paints itself onto an image as it would onto a PDF or a printer: the same layout
    // in logical pixels at any resolution, the lines drawn, the CJK texts and the marks in ink.
    void paintsTheSameChartOnAnyDevice() {
        QFETCH(qreal, scale);
        app::ExpertWin window(kBeijingBias, app::uiFont());
        window.showCalculation(workedExample());
        const Chart* chart = window.chart();
        QImage image(chart->sheetSize() * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::gray);
        {
            QPainter painter(&image);
            chart->paintSheet(painter);
        }
        const auto at = [&](const QPoint& logical) {
            return image.pixelColor(logical * scale);
        };
        const auto dark = [](QColor c) {
            return c.lightness() < 100;
        };
        const auto red = [](QColor c) {
            return c.red() > 140 && c.green() < 80 && c.blue() < 80;
        };
        QCOMPARE(at(QPoint(1, 1)), QColor(Qt::white)); // the sheet covers the whole device
        // Line 6 of 火地晋 is yang: one bar through the middle; line 5 is yin: a gap there.
        QVERIFY(dark(at(centre(chart->cellRect(0, Chart::Lines)))));
        QVERIFY(!dark(at(centre(chart->cellRect(1, Chart::Lines)))));
        QVERIFY(anyPixel(image, chart->cellRect(0, Chart::Spirit), scale, dark));      // 玄武
        QVERIFY(anyPixel(image, chart->cellRect(5, Chart::Hidden), scale, dark));      // 子孙甲子水
        QVERIFY(!anyPixel(image, chart->cellRect(4, Chart::Hidden), scale, dark));     // none hides there
        QVERIFY(anyPixel(image, chart->cellRect(0, Chart::ChangedMarks), scale, red)); // 空
        const QFontMetrics metrics(chart->font());
        for (const QChar c : QStringLiteral("玄武子孙甲子水空冲身卦象")) {
            QVERIFY2(metrics.inFont(c), qPrintable(QStringLiteral("no glyph for ") + c));
        }
    }
};

std::vector<std::unique_ptr<QObject>> makeExpertWinTests() {
    std::vector<std::unique_ptr<QObject>> tests;
    tests.push_back(std::make_unique<ExpertWinTest>());
    return tests;
}

#include "ExpertWinTest.moc"
