// Chart controls on the desktop: a QChartView whose line segments break at gaps, follow the
// window and the data, and stay few; and a trend panel that is a window of its own.

#include <QCategoryAxis>
#include <QLineSeries>
#include <QValueAxis>

#include <vector>

#include "platform/qt/chart_view.h"
#include "qt_panel_test.h"

namespace {

using namespace ui;

class QtChart : public qttest::QtPanelTest {
  protected:
    void SetUp() override {
        const std::string json = R"({ "panels": [
          { "name": "MAIN", "title": "Main", "width": 200, "height": 100, "controls": [
              { "kind": "numeric", "name": "LEVEL" } ] },
          { "name": "TREND", "title": "Trend", "left": 240, "top": 10, "width": 420,
            "height": 260, "controls": [
              { "kind": "chart", "name": "CHART", "label": "Level", "window": 60,
                "capacity": 100, "precision": 1, "width": 420, "height": 260 } ] } ] })";
        main = LoadFrom(json, "MAIN");
        trend = LoadFrom(json, "TREND");
        ASSERT_GT(trend, 0) << rt.LastError();
        chart = rt.FindCtrl(trend, "CHART");
        view = dynamic_cast<qtfe::ChartView*>(fe.ControlWidget(trend, chart));
        ASSERT_NE(view, nullptr);
    }
    // The points of each segment, as model x (seconds).
    std::vector<std::vector<double>> Xs() const {
        std::vector<std::vector<double>> out;
        for (const QLineSeries* s : view->Segments()) {
            out.emplace_back();
            for (int i = 0; i < s->count(); ++i)
                out.back().push_back(s->at(i).x());
        }
        return out;
    }

    int main = 0, trend = 0, chart = 0;
    qtfe::ChartView* view = nullptr;
};

TEST_F(QtChart, PointsFormSegmentsThatBreakAtAGapAndTheAxesFollow) {
    EXPECT_TRUE(view->Segments().empty());
    EXPECT_EQ(view->chart()->title(), "Level");
    EXPECT_EQ(view->YAxis()->labelFormat(), "%.1f");
    // Before any point: one window from midnight.
    EXPECT_EQ(view->XAxis()->min(), 0);
    EXPECT_EQ(view->XAxis()->max(), 60);

    for (int i = 0; i < 5; ++i)
        rt.ChartAddPoint(trend, chart, 100 + i, 20.0 + i);
    rt.ChartAddGap(trend, chart, 105);
    rt.ChartAddGap(trend, chart, 106);
    rt.ChartAddPoint(trend, chart, 107, 30.0);
    rt.ChartAddPoint(trend, chart, 108, 10.0);
    EXPECT_EQ(Xs(), (std::vector<std::vector<double>>{{100, 101, 102, 103, 104}, {107, 108}}));
    ASSERT_EQ(view->Segments().size(), 2u);
    EXPECT_EQ(view->Segments()[0]->at(4).y(), 24.0);
    // One colour for the whole line, however many segments it has.
    EXPECT_EQ(view->Segments()[0]->pen().color(), view->Segments()[1]->pen().color());
    EXPECT_EQ(view->XAxis()->min(), 108 - 60);
    EXPECT_EQ(view->XAxis()->max(), 108);
    // The time of day at round steps, as many as the width has room for (420 px: 4).
    EXPECT_EQ(view->XAxis()->categoriesLabels(), (QStringList{"00:01:00", "00:01:30"}));
    // y: the data's extent and 5 % of it either side.
    EXPECT_DOUBLE_EQ(view->YAxis()->min(), 9.0);
    EXPECT_DOUBLE_EQ(view->YAxis()->max(), 31.0);
    // The labels' time of day wraps at midnight both ways.
    EXPECT_EQ(qtfe::ChartView::TimeOfDay(9 * 3600 + 5 * 60 + 7.9), "09:05:07");
    EXPECT_EQ(qtfe::ChartView::TimeOfDay(86400 + 5), "00:00:05");
    EXPECT_EQ(qtfe::ChartView::TimeOfDay(-1), "23:59:59");

    // A lone value between two gaps shows as a dot.
    rt.ChartAddGap(trend, chart, 109);
    rt.ChartAddPoint(trend, chart, 110, 15.0);
    ASSERT_EQ(view->Segments().size(), 3u);
    EXPECT_TRUE(view->Segments()[2]->pointsVisible());
    EXPECT_FALSE(view->Segments()[1]->pointsVisible());

    rt.SetCtrlAttribute(trend, chart, ATTR_PRECISION, 3);
    EXPECT_EQ(view->YAxis()->labelFormat(), "%.3f");
    rt.ChartClear(trend, chart);
    EXPECT_TRUE(view->Segments().empty());
}

TEST_F(QtChart, OnlyTheWindowIsKeptAndAWiderWindowBringsBackWhatTheModelHolds) {
    // Two minutes at one point a second into a one-minute window.
    for (int i = 0; i < 120; ++i)
        rt.ChartAddPoint(trend, chart, i, i < 30 ? 1000.0 : i);
    auto xs = Xs();
    ASSERT_EQ(xs.size(), 1u);
    EXPECT_EQ(xs[0].size(), 61u);  // 59 on the left edge .. 119
    EXPECT_EQ(xs[0].front(), 59);
    // Half a second on, 60 lies left of the window and stays to draw the line into its edge.
    rt.ChartAddPoint(trend, chart, 120.5, 120.0);
    xs = Xs();
    EXPECT_EQ(xs[0].size(), 61u);
    EXPECT_EQ(xs[0].front(), 60);
    EXPECT_EQ(xs[0].back(), 120.5);
    // The 1000s left the view long ago and no longer stretch the y axis.
    EXPECT_LT(view->YAxis()->max(), 130.0);
    EXPECT_GT(view->YAxis()->min(), 50.0);

    // The model keeps its capacity of 100: a ten-minute window shows those, no more.
    rt.SetCtrlAttribute(trend, chart, ATTR_CHART_WINDOW, 600.0);
    xs = Xs();
    ASSERT_EQ(xs.size(), 1u);
    EXPECT_EQ(xs[0].size(), 100u);
    EXPECT_EQ(xs[0].front(), 21);
    EXPECT_EQ(view->XAxis()->min(), 120.5 - 600);
    EXPECT_EQ(view->XAxis()->categoriesLabels(),
              (QStringList{"23:55:00", "00:00:00"}));  // x before 0 is the day before
    EXPECT_DOUBLE_EQ(view->YAxis()->max(), 1000.0 + (1000.0 - 30.0) * 0.05);
    // Past the capacity the view drops what the model dropped.
    rt.ChartAddPoint(trend, chart, 121, 50.0);
    EXPECT_EQ(Xs()[0].front(), 22);
    EXPECT_EQ(Xs()[0].size(), 100u);
}

TEST_F(QtChart, AFlickeringSensorKeepsTheNumberOfSegmentsBounded) {
    rt.SetCtrlAttribute(trend, chart, ATTR_CHART_CAPACITY, 10000);
    rt.SetCtrlAttribute(trend, chart, ATTR_CHART_WINDOW, 100000.0);
    for (int i = 0; i < 1000; ++i) {
        rt.ChartAddPoint(trend, chart, 2 * i, i);
        rt.ChartAddGap(trend, chart, 2 * i + 1);
    }
    EXPECT_EQ(static_cast<int>(view->Segments().size()), qtfe::ChartView::kMaxSegments);
    EXPECT_EQ(Xs().back(), std::vector<double>{1998});
    EXPECT_EQ(view->chart()->series().size(), qtfe::ChartView::kMaxSegments);
    // Shown anew (a new window), the bound holds as well.
    rt.SetCtrlAttribute(trend, chart, ATTR_CHART_WINDOW, 200000.0);
    EXPECT_EQ(view->chart()->series().size(), qtfe::ChartView::kMaxSegments);
    EXPECT_EQ(Xs().back(), std::vector<double>{1998});
}

TEST_F(QtChart, TheTrendIsAWindowOfItsOwnThatShowsAndHides) {
    rt.DisplayPanel(main);
    rt.DisplayPanel(trend);
    QWidget* trendWindow = fe.PanelWindow(trend);
    ASSERT_NE(trendWindow, nullptr);
    ASSERT_NE(trendWindow, fe.PanelWindow(main));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(trendWindow));
    EXPECT_EQ(trendWindow->windowTitle(), "Trend");
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->size(), QSize(420, 260));

    rt.HidePanel(trend);
    EXPECT_FALSE(trendWindow->isVisible());
    EXPECT_TRUE(fe.PanelWindow(main)->isVisible());
    // Points added while it is hidden are there when it shows again.
    rt.ChartAddPoint(trend, chart, 1, 1.0);
    rt.ChartAddPoint(trend, chart, 2, 2.0);
    rt.DisplayPanel(trend);
    EXPECT_TRUE(trendWindow->isVisible());
    EXPECT_EQ(Xs(), (std::vector<std::vector<double>>{{1, 2}}));

    rt.DiscardPanel(trend);
    EXPECT_EQ(fe.PanelWindow(trend), nullptr);
    EXPECT_TRUE(fe.PanelWindow(main)->isVisible());
}

}  // namespace
