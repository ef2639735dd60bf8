// The demo's sample panel, headless: its resource loads with every callback registered and the
// callbacks do what the panel promises.

#include <gtest/gtest.h>

#include <cmath>

#include "apps/panel-demo/sample_panel.h"
#include "platform/ui/headless.h"

namespace {

using namespace ui;

class SamplePanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        panel = sample.Load(rt, SAMPLE_PANEL_FILE);
        ASSERT_GT(panel, 0) << rt.LastError();
        ASSERT_EQ(rt.GetPanelHandleFromTabPage(panel, Id("TABS"), 1, &readings), 0);
    }
    int Id(const char* name) const { return rt.FindCtrl(panel, name); }
    int Int(const char* name) const {
        int v = 0;
        rt.GetCtrlVal(panel, Id(name), &v);
        return v;
    }
    std::string Text(const char* name) const {
        std::string s;
        rt.GetCtrlVal(panel, Id(name), &s);
        return s;
    }

    CallbackRegistry registry;
    demo::SamplePanel sample{registry};
    HeadlessFrontEnd fe;
    mutable Runtime rt{fe, registry};
    int panel = 0, readings = 0;
};

TEST_F(SamplePanelTest, CountsPressesClampsTheLevelAfterARedFlashAndSaysWhatIsChosen) {
    rt.UserPress(panel, Id("COUNT"));
    rt.UserPress(panel, Id("COUNT"));
    EXPECT_EQ(Int("PRESSES"), 2);

    int colourDuringDelay = -1;
    fe.VirtualClock().SetDelayHook([&](double) {
        rt.GetCtrlAttribute(panel, Id("LEVEL"), ATTR_TEXT_BGCOLOR, &colourDuringDelay);
    });
    rt.UserSetValue(panel, Id("LEVEL"), 300);
    EXPECT_EQ(colourDuringDelay, VAL_RED);
    EXPECT_EQ(fe.VirtualClock().Delays(), std::vector<double>{0.1});
    EXPECT_EQ(Int("LEVEL"), 100);
    int colour = -1;
    rt.GetCtrlAttribute(panel, Id("LEVEL"), ATTR_TEXT_BGCOLOR, &colour);
    EXPECT_EQ(colour, VAL_WHITE);
    EXPECT_EQ(Text("STATUS"), "Level set to 100.");
    rt.UserSetValue(panel, Id("LEVEL"), 60);
    EXPECT_EQ(fe.VirtualClock().Delays().size(), 1u);  // in range: no flash

    // The channels stay exclusive, the mode and the port chosen are said, the clock ticks.
    rt.UserToggle(panel, Id("CHANNEL_B"));
    EXPECT_EQ(Int("CHANNEL_A"), 0);
    EXPECT_EQ(Int("CHANNEL_B"), 1);
    rt.UserSelectIndex(panel, Id("MODE"), 2);
    EXPECT_EQ(Text("STATUS"), "Mode: Fast.");
    fe.AdvanceTime(1.0);
    EXPECT_EQ(Text("CLOCK"), "09:00:01");
    rt.UserSelectTab(panel, Id("TABS"), 1);
    rt.UserSelectIndex(readings, rt.FindCtrl(readings, "PORTS"), 2);
    rt.UserClickUp(readings, rt.FindCtrl(readings, "PORTS"));
    EXPECT_EQ(Text("STATUS"), "Port COM3 chosen.");
}

TEST_F(SamplePanelTest, TheTrendChartsTheSensorWithAGapWhileItIsOpen) {
    const int trend = sample.TrendPanel();
    ASSERT_GT(trend, 0);
    const int chart = rt.FindCtrl(trend, "LEVEL_TREND");
    // Three seconds at ten readings a second; the sensor is open from 1.0 s to 1.5 s.
    fe.AdvanceTime(3.05);
    std::vector<ChartPoint> points;
    ASSERT_EQ(rt.GetChartPoints(trend, chart, &points), 0);
    const double start = 9 * 3600.0;  // x is the time of day: the virtual clock starts at 09:00
    int gaps = 0;
    for (const auto& p : points) {
        const double t = p.x - start;
        if (p.gap) {
            ++gaps;
            EXPECT_GE(t, 1.0 - 1e-9);
            EXPECT_LT(t, 1.5);
            continue;
        }
        EXPECT_FALSE(t > 1.0 + 1e-9 && t < 1.5 - 1e-9) << t;
        // Mode Slow: the level (50) with a wobble of 10 over 4 s.
        EXPECT_NEAR(p.y, 50.0 + 10.0 * std::sin(2.0 * 3.14159265358979 * t / 4.0), 1e-6) << t;
    }
    EXPECT_EQ(gaps, 1);
    EXPECT_NEAR(points.front().x - start, 0.1, 1e-9);
    EXPECT_NEAR(points.back().x - start, 3.0, 1e-6);
    EXPECT_GE(points.size(), 24u);

    // Mode Off: no readings, one gap however long it lasts.
    rt.UserSelectIndex(panel, Id("MODE"), 0);
    fe.AdvanceTime(2.0);
    std::vector<ChartPoint> off;
    rt.GetChartPoints(trend, chart, &off);
    EXPECT_EQ(off.size(), points.size() + 1);
    EXPECT_TRUE(off.back().gap);
}

TEST_F(SamplePanelTest, KeysAndMenusShowTheTrendThePageAndTheAboutBoxCloseBoxesHideOrQuit) {
    const int trend = sample.TrendPanel();
    const int bar = rt.GetPanelMenuBar(panel);
    const int item = rt.FindMenuItem(bar, "SHOW_TREND");
    auto shown = [&] {
        int v = -1, checked = -1;
        rt.GetPanelAttribute(trend, ATTR_VISIBLE, &v);
        rt.GetMenuBarAttribute(bar, item, ATTR_CHECKED, &checked);
        EXPECT_EQ(v, checked);
        return v;
    };
    EXPECT_EQ(shown(), 0);
    EXPECT_EQ(rt.UserKeyPress(panel, Id("LEVEL"), VAL_F3_VKEY), 1);
    EXPECT_EQ(shown(), 1);
    rt.UserClosePanel(trend);
    EXPECT_EQ(shown(), 0);
    EXPECT_FALSE(fe.QuitRequested());  // only the main panel's close box ends the program
    rt.UserMenuSelect(bar, item);
    EXPECT_EQ(shown(), 1);
    EXPECT_EQ(rt.UserKeyPress(trend, 0, VAL_ESC_VKEY), 1);
    EXPECT_EQ(shown(), 0);
    EXPECT_EQ(rt.GetActivePanel(), panel);
    EXPECT_TRUE(fe.Popups().empty());  // Esc on the trend is not the main panel's about box

    // F2 turns the page, Esc and the menu show the about box, the main close box ends the run.
    EXPECT_EQ(rt.UserKeyPress(panel, Id("LEVEL"), VAL_F2_VKEY), 1);
    int page = 0;
    rt.GetActiveTabPage(panel, Id("TABS"), &page);
    EXPECT_EQ(page, 1);
    EXPECT_EQ(rt.UserKeyPress(panel, Id("LEVEL"), VAL_ESC_VKEY), 1);
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "About");
    EXPECT_FALSE(fe.QuitRequested());
    rt.UserClosePanel(panel);
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_EQ(fe.QuitValue(), 0);
    EXPECT_EQ(rt.UserMenuSelect(bar, rt.FindMenuItem(bar, "ABOUT")), 0);
    EXPECT_EQ(fe.Popups().size(), 2u);

    // A missing resource is reported by its name.
    EXPECT_EQ(sample.Load(rt, "no/such/Sample.json"), UIE_RESOURCE);
    EXPECT_NE(rt.LastError().find("no/such/Sample.json"), std::string::npos);
}

}  // namespace
