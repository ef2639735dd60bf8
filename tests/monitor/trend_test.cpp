// The trend window's history as the polls leave it: one point a poll in the displayed value,
// a break where the sensor was open or a poll failed, a bounded history over hours.

#include <gtest/gtest.h>

#include "monitor/trend.h"
#include "tests/support/fixtures.h"

namespace {

using monitortest::MonitorTest;

class TrendTest : public MonitorTest {
  protected:
    std::vector<ui::ChartPoint> Points() {
        std::vector<ui::ChartPoint> points;
        const int chart = rt.FindCtrl(ctx.gvTrend, "TREND_CHART");
        EXPECT_EQ(rt.GetChartPoints(ctx.gvTrend, chart, &points), 0);
        return points;
    }
};

TEST_F(TrendTest, TenPollsGiveTenPointsAndAnOpenSensorOrAFailedPollABreak) {
    StartWith(104, 8);
    PressReadPv();
    std::vector<double> shown;
    for (int i = 0; i < 10; ++i) {
        fe.AdvanceTime(1.0);
        shown.push_back(std::stod(Pv()));
    }
    std::vector<ui::ChartPoint> points = Points();
    ASSERT_EQ(points.size(), 10u);
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_FALSE(points[i].gap);
        EXPECT_NEAR(points[i].y, shown[i], 1e-6);  // the display's value, decimals and all
        if (i > 0) {
            EXPECT_NEAR(points[i].x - points[i - 1].x, 1.0, 1e-9);
        }
    }
    inst->SetOpenSensor(true);
    fe.AdvanceTime(1.0);
    inst->SetOpenSensor(false);
    fe.AdvanceTime(1.0);
    points = Points();
    ASSERT_EQ(points.size(), 12u);
    EXPECT_TRUE(points[10].gap);
    EXPECT_FALSE(points[11].gap);
    // A failed poll breaks the line too.
    SilenceFrom(0);
    fe.AdvanceTime(1.0);
    points = Points();
    ASSERT_EQ(points.size(), 13u);
    EXPECT_TRUE(points[12].gap);
}

TEST_F(TrendTest, TheMenuShowsTheWindowClosingItKeepsTheHistoryWhichStaysBounded) {
    StartWith(104, 8);
    Menu("PV_TREND");
    ASSERT_GT(ctx.gvTrend, 0);
    EXPECT_TRUE(rt.GetPanel(ctx.gvTrend)->displayed);
    PressReadPv();
    fe.AdvanceTime(3.0);
    rt.UserClosePanel(ctx.gvTrend);
    EXPECT_FALSE(rt.GetPanel(ctx.gvTrend)->displayed);
    EXPECT_EQ(Points().size(), 3u);
    EXPECT_TRUE(TimerOn());
    // Ten hours of polls keep a bounded history (watching started afresh, its count from 0).
    PressReadPv();
    PressReadPv();
    fe.AdvanceTime(10 * 3600.0 + 120.0);
    EXPECT_EQ(Points().size(), 36000u);
    EXPECT_EQ(Main("GICNT").number, 10 * 3600 + 120);
}

}  // namespace
