// Chart controls headless: points, gaps, the capacity bound, clearing, attributes, what front
// ends are told, and a trend panel of its own that is shown and hidden as a window.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "test_panel.h"

namespace {

using namespace ui;

// What front ends are told, one entry per Changed call.
class RecordingFrontEnd final : public FrontEnd {
  public:
    void Attach(Runtime&) override {}
    void Changed(Change what, int panel, int control) override {
        changes.emplace_back(what, panel, control);
    }
    int RunLoop() override { return 0; }
    void QuitLoop(int) override {}
    void MessagePopup(const std::string&, const std::string&) override {}
    int ConfirmPopup(const std::string&, const std::string&) override { return 0; }
    int FileSelectPopup(const FileSelectRequest&, std::string*) override {
        return VAL_NO_FILE_SELECTED;
    }
    void BeforeDelay() override {}
    sys::Clock& Clock() override { return clock; }

    std::vector<std::tuple<Change, int, int>> changes;
    sys::VirtualClock clock;
};

// The x of each point, and for each whether it is a gap.
std::vector<std::pair<double, bool>> Shape(const std::vector<ChartPoint>& points) {
    std::vector<std::pair<double, bool>> out;
    for (const auto& p : points)
        out.emplace_back(p.x, p.gap);
    return out;
}

// The trend window loaded beside the main panel, its poll timer reading once a second.
class ChartTest : public uitest::PanelTest {
  protected:
    void SetUp() override {
        uitest::PanelTest::SetUp();
        // The poll: one reading a second, a failed read (an open sensor) as a gap.
        registry.AddControl("evPoll", [this](int, int, int event, void*, int, int) {
            if (event != EVENT_TIMER_TICK) return 0;
            const double x = rt.Clock().Now();
            return sensorOpen ? rt.ChartAddGap(trend, chart, x)
                              : rt.ChartAddPoint(trend, chart, x, std::fmod(x, 50.0));
        });
        trend = rt.LoadPanel(0, file_, "TREND");
        ASSERT_GT(trend, 0) << rt.LastError();
        chart = Id(trend, "LEVEL");
        plain = Id(trend, "PLAIN");
    }
    // The window, capacity and precision of a chart of the trend panel.
    std::tuple<double, int, int> Attributes(int control) {
        std::tuple<double, int, int> a{0, 0, -1};
        EXPECT_EQ(rt.GetCtrlAttribute(trend, control, ATTR_CHART_WINDOW, &std::get<0>(a)), 0);
        EXPECT_EQ(rt.GetCtrlAttribute(trend, control, ATTR_CHART_CAPACITY, &std::get<1>(a)), 0);
        EXPECT_EQ(rt.GetCtrlAttribute(trend, control, ATTR_PRECISION, &std::get<2>(a)), 0);
        return a;
    }
    std::vector<ChartPoint> Points(int control) {
        std::vector<ChartPoint> out;
        EXPECT_EQ(rt.GetChartPoints(trend, control, &out), 0);
        return out;
    }

    bool sensorOpen = false;
    int trend = 0, chart = 0, plain = 0;
};

TEST_F(ChartTest, PointsAndGapsKeepTheirOrderAndAGapBreaksTheLineOnce) {
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 10.0, 1.5), 0);
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 11.0, 2.5), 0);
    EXPECT_EQ(rt.ChartAddGap(trend, chart, 12.0), 0);
    // Further failures only move the break on: a long outage takes one point.
    EXPECT_EQ(rt.ChartAddGap(trend, chart, 13.0), 0);
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 14.0, std::nan("")), 0);  // an open sensor
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 15.0, -3.0), 0);
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 15.0, -4.0), 0);  // the same x is no step back
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 16.0, std::numeric_limits<double>::infinity()), 0);
    const auto points = Points(chart);
    EXPECT_EQ(Shape(points),
              (std::vector<std::pair<double, bool>>{
                  {10, false}, {11, false}, {14, true}, {15, false}, {15, false}, {16, true}}));
    EXPECT_EQ(std::tie(points[0].y, points[1].y, points[4].y), std::make_tuple(1.5, 2.5, -4.0));
    EXPECT_TRUE(std::isnan(points[2].y));  // a gap has no value, not a zero
    int n = 0;
    EXPECT_EQ(rt.GetNumChartPoints(trend, chart, &n), 0);
    EXPECT_EQ(n, 6);
}

TEST_F(ChartTest, BadPointsAndOtherControlsAreRefusedAndChangeNothing) {
    rt.ChartAddPoint(trend, chart, 100.0, 1.0);
    const double nan = std::nan("");
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 99.0, 2.0), UIE_INVALID_VALUE);  // x went back
    EXPECT_EQ(rt.ChartAddGap(trend, chart, 99.0), UIE_INVALID_VALUE);
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, nan, 2.0), UIE_INVALID_VALUE);
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, nan, nan), UIE_INVALID_VALUE);
    EXPECT_EQ(rt.ChartAddGap(trend, chart, std::numeric_limits<double>::infinity()),
              UIE_INVALID_VALUE);
    EXPECT_EQ(Shape(Points(chart)), (std::vector<std::pair<double, bool>>{{100, false}}));

    std::vector<ChartPoint> points;
    int n = 0;
    for (auto [panel, control, code] :
         {std::tuple{main, station, UIE_INVALID_CONTROL},
          std::tuple{trend, 999, UIE_INVALID_CONTROL}, std::tuple{999, chart, UIE_INVALID_PANEL}}) {
        EXPECT_EQ(rt.ChartAddPoint(panel, control, 1.0, 1.0), code);
        EXPECT_EQ(rt.ChartAddGap(panel, control, 1.0), code);
        EXPECT_EQ(rt.ChartClear(panel, control), code);
        EXPECT_EQ(rt.GetChartPoints(panel, control, &points), code);
        EXPECT_EQ(rt.GetNumChartPoints(panel, control, &n), code);
    }
}

TEST_F(ChartTest, TwelveHoursOfAOnceASecondPollKeepTheNewest36000) {
    chart = plain;  // the default capacity: ten hours of one point a second
    fe.AdvanceTime(12 * 3600.0);
    const auto points = Points(plain);
    ASSERT_EQ(points.size(), 36000u);
    EXPECT_EQ(points.front().x, 2 * 3600.0 + 1);  // the first tick came at 1 s
    EXPECT_EQ(points.back().x, 12 * 3600.0);
    for (size_t i = 1; i < points.size(); ++i)
        ASSERT_EQ(points[i].x - points[i - 1].x, 1.0) << i;

    // An outage keeps one gap point however long it lasts, and the poll goes on after it.
    sensorOpen = true;
    fe.AdvanceTime(3600.0);
    sensorOpen = false;
    fe.AdvanceTime(2.0);
    const auto after = Points(plain);
    ASSERT_EQ(after.size(), 36000u);
    EXPECT_EQ(Shape({after.end() - 4, after.end()}),
              (std::vector<std::pair<double, bool>>{{12 * 3600.0, false},
                                                    {13 * 3600.0, true},
                                                    {13 * 3600.0 + 1, false},
                                                    {13 * 3600.0 + 2, false}}));
    EXPECT_EQ(after.front().x, 2 * 3600.0 + 4);
}

TEST_F(ChartTest, ALowerCapacityDropsTheOldestAtOnceAndClearEmptiesTheChart) {
    for (int i = 0; i < 10; ++i)
        rt.ChartAddPoint(trend, chart, i, i);
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_CHART_CAPACITY, 4), 0);
    EXPECT_EQ(Shape(Points(chart)), (std::vector<std::pair<double, bool>>{
                                        {6, false}, {7, false}, {8, false}, {9, false}}));
    // A gap counts against the capacity like a point.
    rt.ChartAddGap(trend, chart, 10);
    EXPECT_EQ(Points(chart).front().x, 7);
    EXPECT_EQ(rt.ChartClear(trend, chart), 0);
    EXPECT_TRUE(Points(chart).empty());
    // After a clear the chart starts again anywhere: a new run may begin at an earlier x.
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 0.5, 1.0), 0);
    EXPECT_EQ(Points(chart).size(), 1u);
}

TEST_F(ChartTest, TheResourceGivesAttributesThatAreCheckedAndBelongToCharts) {
    EXPECT_EQ(Attributes(chart), std::make_tuple(60.0, 100, 1));
    EXPECT_EQ(Attributes(plain), std::make_tuple(600.0, 36000, 0));
    const Control* c = rt.GetControl(trend, chart);
    EXPECT_EQ(c->label, "Level");
    EXPECT_EQ(std::tie(c->left, c->top, c->width, c->height), std::make_tuple(10, 20, 400, 200));
    EXPECT_TRUE(Points(chart).empty());
    // A chart shows; it takes neither the focus nor a value.
    EXPECT_EQ(rt.SetActiveCtrl(trend, chart), UIE_NOT_FOCUSABLE);
    EXPECT_EQ(rt.SetCtrlVal(trend, chart, 1.0), UIE_INVALID_VALUE);
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_CHART_WINDOW, 0.5), 0);
    EXPECT_EQ(std::get<0>(Attributes(chart)), 0.5);
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_CHART_WINDOW, 3600), 0);  // int seconds
    for (double bad : {0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_CHART_WINDOW, bad), UIE_INVALID_VALUE)
            << bad;
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_CHART_CAPACITY, 1000000), 0);
    for (int bad : {0, -5, 1000001})
        EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_CHART_CAPACITY, bad), UIE_INVALID_VALUE)
            << bad;
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_PRECISION, 3), 0);
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_PRECISION, 16), UIE_INVALID_VALUE);
    EXPECT_EQ(Attributes(chart), std::make_tuple(3600.0, 1000000, 3));

    double window = 0;
    int capacity = 0;
    EXPECT_EQ(rt.SetCtrlAttribute(main, station, ATTR_CHART_WINDOW, 60.0), UIE_INVALID_ATTRIBUTE);
    EXPECT_EQ(rt.SetCtrlAttribute(main, station, ATTR_CHART_CAPACITY, 10), UIE_INVALID_ATTRIBUTE);
    EXPECT_EQ(rt.GetCtrlAttribute(main, station, ATTR_CHART_WINDOW, &window),
              UIE_INVALID_ATTRIBUTE);
    EXPECT_EQ(rt.GetCtrlAttribute(main, station, ATTR_CHART_CAPACITY, &capacity),
              UIE_INVALID_ATTRIBUTE);
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_INTERVAL, 1.0), UIE_INVALID_ATTRIBUTE);
}

TEST_F(ChartTest, AFrontEndHearsOfEachPointAloneAndOfAllElseAsAControlChange) {
    RecordingFrontEnd told;
    Runtime own{told, registry};
    const int ownMain = own.LoadPanel(0, file_, "MAIN"),
              ownTrend = own.LoadPanel(0, file_, "TREND");
    told.changes.clear();

    own.ChartAddPoint(ownTrend, chart, 1.0, 1.0);
    own.ChartAddGap(ownTrend, chart, 2.0);
    own.ChartAddGap(ownTrend, chart, 3.0);         // the break moved on: shown as it happens
    own.ChartAddPoint(ownTrend, chart, 0.0, 1.0);  // refused: nothing to show
    own.SetCtrlAttribute(ownTrend, chart, ATTR_CHART_WINDOW, 30.0);
    own.SetCtrlAttribute(ownTrend, chart, ATTR_CHART_CAPACITY, 1);
    own.ChartClear(ownTrend, chart);
    using C = std::tuple<Change, int, int>;
    EXPECT_EQ(told.changes, (std::vector<C>{{Change::ChartAppend, ownTrend, chart},
                                            {Change::ChartAppend, ownTrend, chart},
                                            {Change::ChartAppend, ownTrend, chart},
                                            {Change::Control, ownTrend, chart},
                                            {Change::Control, ownTrend, chart},
                                            {Change::Control, ownTrend, chart}}));

    // The trend is a window of its own: shown and hidden apart from the ownMain panel.
    told.changes.clear();
    own.DisplayPanel(ownMain);
    EXPECT_EQ(own.DisplayPanel(ownTrend), 0);
    EXPECT_EQ(own.HidePanel(ownTrend), 0);
    int shown = -1;
    own.GetPanelAttribute(ownTrend, ATTR_VISIBLE, &shown);
    EXPECT_EQ(shown, 0);
    own.GetPanelAttribute(ownMain, ATTR_VISIBLE, &shown);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(own.TopPanel(ownTrend), ownTrend);
    EXPECT_EQ(told.changes, (std::vector<C>{{Change::PanelDisplayed, ownMain, 0},
                                            {Change::PanelDisplayed, ownTrend, 0},
                                            {Change::PanelDisplayed, ownTrend, 0}}));
    // Its chart goes with it.
    EXPECT_EQ(own.DiscardPanel(ownTrend), 0);
    EXPECT_EQ(own.ChartAddPoint(ownTrend, chart, 5.0, 1.0), UIE_INVALID_PANEL);
}

}  // namespace
