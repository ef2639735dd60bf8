// The demo's sample panel, headless: its resource loads with every callback registered and the
// callbacks do what the panel promises.

#include <gtest/gtest.h>

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

TEST_F(SamplePanelTest, AMissingFileIsReportedByName) {
    EXPECT_EQ(sample.Load(rt, "no/such/Sample.json"), UIE_RESOURCE);
    EXPECT_NE(rt.LastError().find("no/such/Sample.json"), std::string::npos);
}

TEST_F(SamplePanelTest, CountsPressesAndClampsTheLevelAfterARedFlash) {
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
}

TEST_F(SamplePanelTest, ChannelsStayExclusiveAndTheClockTicks) {
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

TEST_F(SamplePanelTest, KeysMenusAndTheCloseBox) {
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
    const int bar = rt.GetPanelMenuBar(panel);
    EXPECT_EQ(rt.UserMenuSelect(bar, rt.FindMenuItem(bar, "ABOUT")), 0);
    EXPECT_EQ(fe.Popups().size(), 2u);
}

}  // namespace
