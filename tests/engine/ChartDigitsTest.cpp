#include "engine/ChartDigits.h"

#include "Moments.h"
#include "engine/ChartRun.h"

#include <gtest/gtest.h>
#include <string>

namespace quenmar {

namespace {

using test::at;

// The digits taken without the chart's texts are the digits of the chart itself: every
// primary hexagram with every pattern of moving lines (so every changed hexagram) by hand, and
// number and millisecond casts at every hour, on days of all ten stems.
TEST(CastDigits, AreTheDigitsOfTheChartCastChartMakes) {
    const char* lines[] = {"111", "110", "101", "100", "011", "010", "001", "000"};
    int compared = 0;
    const auto expectSame = [&compared](const CastRequest& r) {
        const auto chart = castChart(r);
        ASSERT_TRUE(chart.ok()) << chart.error();
        const auto digits = castDigits(r);
        ASSERT_TRUE(digits.ok()) << digits.error();
        EXPECT_EQ(*digits, chartDigits(*chart)) << compared;
        ++compared;
    };
    for (int hexagram = 0; hexagram < 64; ++hexagram) {
        for (int pattern = 0; pattern < 64; ++pattern) {
            CastRequest r;
            r.method = CastMethod::ByHand;
            r.upperLines = lines[hexagram / 8];
            r.lowerLines = lines[hexagram % 8];
            for (int line = 0; line < 6; ++line) {
                r.movingFlags.push_back((pattern >> line & 1) == 0 ? 0 : (line % 2 == 0 ? 1 : -1));
            }
            r.zodiac = 1 + pattern % 12;
            r.moment = at(2024, 3, 1 + (hexagram + pattern) % 28, pattern % 24, hexagram);
            expectSame(r);
        }
    }
    for (int i = 0; i < 600; ++i) {
        CastRequest r;
        r.method = i % 2 == 0 ? CastMethod::ByNumber : CastMethod::ByMilliseconds;
        r.timeChoice = i % 2 == 0 ? TimeChoice::None : TimeChoice::Draw;
        r.numberText = std::to_string(i % 2 == 0 ? 1 + i * 104'729LL : 1'690'000'000'000LL + i * 7'654'321LL);
        r.zodiac = 1 + i % 12;
        r.moment = at(1990 + i % 60, 1 + i % 12, 1 + i % 28, i % 24, (i * 7) % 60, i % 60);
        expectSame(r);
    }
    EXPECT_EQ(compared, 64 * 64 + 600);

    CastRequest refused;
    refused.method = CastMethod::ByNumber;
    refused.moment = at(2024, 3, 1, 12);
    refused.zodiac = 1;
    EXPECT_EQ(castDigits(refused).error(), castChart(refused).error());
}

} // namespace

} // namespace quenmar
