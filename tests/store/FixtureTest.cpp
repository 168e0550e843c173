#include "Files.h"
#include "Moments.h"
#include "TempFolder.h"
#include "engine/Casting.h"
#include "engine/ChartRun.h"
#include "engine/Moment.h"
#include "store/RecordStore.h"

#include <gtest/gtest.h>

namespace quenmar::store {
namespace {

using test::at;

// A file written by an earlier quenmar-cli (tests/data/store/README.md says how). The test
// works on a copy: the fixture itself is never opened for writing.
class FixtureTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto folder = m_root.path() / "src" / "data";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(test::testDataFolder() / "store" / "history-v1.db", folder / "wnx.db");
    }

    test::TempFolder m_root;
};

YsModel record(int id, std::string ysname, int ysindex, std::string ysnumber, double ysday, int gzsxid,
               std::string upstr, std::string downstr, std::vector<int> dong, int rot, std::string uinfo) {
    return YsModel{id,
                   std::move(ysname),
                   ysindex,
                   std::move(ysnumber),
                   ysday,
                   gzsxid,
                   std::move(upstr),
                   std::move(downstr),
                   std::move(dong),
                   rot,
                   std::move(uinfo)};
}

TEST_F(FixtureTest, ListsAndLoadsWhatAnEarlierVersionWrote) {
    TableDb db(m_root.path());
    EXPECT_EQ(*listRecords(db), (std::vector<ListRow>{{5, "开奖(2024年5月3日21时30分)"},
                                                      {3, "自己装卦(2024年5月3日)"},
                                                      {2, "毫秒(2024年5月3日14时5分30秒)"},
                                                      {1, "abc(2024年5月3日14时)"}}));
    EXPECT_EQ(*loadRecord(db, 1), record(1, "abc(2024年5月3日14时)", 1, "123", at(2024, 5, 3, 14, 0, 0), 5,
                                         "", "", {0, 0, -1, 0, 0, 0}, 0, "第一条"));
    EXPECT_EQ(*loadRecord(db, 2),
              record(2, "毫秒(2024年5月3日14时5分30秒)", 3, "1714716330123", at(2024, 5, 3, 14, 5, 30, 123),
                     3, "", "", {0, 0, 0, 0, 0, 1}, 1, "当前时间"));
    EXPECT_EQ(*loadRecord(db, 3), record(3, "自己装卦(2024年5月3日)", 2, "", at(2024, 5, 3, 0, 0, 0), 12,
                                         "001", "110", {1, 0, 0, -1, 0, 0}, 0, "两行\n备注"));
    EXPECT_EQ(*loadRecord(db, 4), std::nullopt);
    EXPECT_EQ(*loadRecord(db, 5), record(5, "开奖(2024年5月3日21时30分)", 3, "1714743000456",
                                         at(2024, 5, 3, 21, 30, 0), 7, "", "", {0, 0, 0, 0, 0, -1}, 2, ""));
}

TEST_F(FixtureTest, ReviewsComputeTheSavedCharts) {
    TableDb db(m_root.path());
    struct Expected {
        int id;
        std::string title;
        std::string primary;
        std::string changed;
    };
    const std::vector<Expected> charts{
        // By number the hour of the review counts, but three digits do not use it.
        {1, "以数字123起卦,卦主生肖:辰,日主:庚午,时辰:壬午", "天泽履", "乾为天"},
        {2, "以超时空毫秒起卦,卦主生肖:寅,日主:丁卯,时辰:丁未", "风泽中孚游魂", "水泽节"},
        {3, "以自己装卦,卦主生肖:亥,日主:丙寅,时辰:戊子", "山泽损", "火水未济"},
        {5, "以超时空毫秒起卦,卦主生肖:午,日主:丁卯,时辰:辛亥", "地泽临", "山泽损"},
    };
    const ClockReading later{at(2025, 1, 1, 12, 0, 0), -480};
    for (const Expected& e : charts) {
        CastRequest request = requestFromModel(**loadRecord(db, e.id));
        prepareRequest(request, kGameHappy8, later);
        const ChartRun run = runChart(request);
        const ChartResult& chart = run.chart;
        ASSERT_TRUE(run.charted) << e.id;
        EXPECT_EQ(run.view.title, e.title) << e.id;
        EXPECT_EQ(chart.primaryName, e.primary) << e.id;
        EXPECT_EQ(chart.changedName, e.changed) << e.id;
    }
}

TEST_F(FixtureTest, NewRecordsFollowTheOldOnesWithoutReusingADeletedId) {
    {
        TableDb db(m_root.path());
        YsModel model = **loadRecord(db, 3);
        model._id = 0;
        ASSERT_TRUE(saveRecord(db, model));
    }
    TableDb db(m_root.path());
    const auto rows = *listRecords(db);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows.front(), (ListRow{6, "自己装卦(2024年5月3日)"}));
}

} // namespace
} // namespace quenmar::store
