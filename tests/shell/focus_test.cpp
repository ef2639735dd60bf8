// Enter-key navigation through the three orders of the main panel and its pages.

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/fixtures.h"

namespace {

class FocusOrder : public tarneltest::TarnelTest {
  protected:
    void SetUp() override {
        TarnelTest::SetUp();
        Start();
    }
    // Presses Enter n times and returns where the focus went each time.
    std::vector<std::string> Walk(int n) {
        std::vector<std::string> seen;
        for (int i = 0; i < n; ++i) {
            Enter();
            seen.push_back(Focused());
        }
        return seen;
    }
};

TEST_F(FocusOrder, ConfigurationPageRunsToTheReadButton) {
    // A current input: the voltage and millivolt rows are dimmed and skipped.
    rt.UserToggle(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_12"));
    ASSERT_EQ(rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "ID")), 0);
    EXPECT_EQ(Walk(29), (std::vector<std::string>{
                            "cfg:BR",    "cfg:RTU",     "cfg:TYPE_10", "cfg:DP",      "cfg:CUT",
                            "cfg:FILT",  "cfg:LOLT",    "cfg:HILT",    "cfg:PVOF",    "cfg:MA_L",
                            "cfg:MA_H",  "cfg:SCA_L",   "cfg:SCA_H",   "cfg:DIR_1",   "cfg:RTS_R_0",
                            "cfg:RTS_L", "cfg:RTS_R_1", "cfg:RTS_H",   "cfg:RTS_R_2", "cfg:A1FU",
                            "cfg:A1MD",  "cfg:A1SP",    "cfg:A1HY",    "cfg:A2FU",    "cfg:A2MD",
                            "cfg:A2SP",  "cfg:A2HY",    "cfg:LOCK",    "main:READ"}));
}

// The main panel wraps to the active page; the calibration page runs to the read button.
TEST_F(FocusOrder, MainPanelWrapsToTheActivePageAndTheCalibrationPageRunsToRead) {
    ASSERT_EQ(rt.SetActiveCtrl(ctx.gvMain, Id(ctx.gvMain, "READ")), 0);
    EXPECT_EQ(Walk(7),
              (std::vector<std::string>{"main:WRITE", "main:MSPV_B", "main:RSP", "main:DIGIT",
                                        "main:ALARM_AMOUNT", "main:AGENT_WRITE", "cfg:ID"}));
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), ui::VAL_F2_VKEY);  // calibration page
    rt.SetActiveCtrl(ctx.gvMain, Id(ctx.gvMain, "AGENT_WRITE"));
    EXPECT_EQ(Walk(1), (std::vector<std::string>{"cal:IC_B_0"}));

    ASSERT_EQ(rt.SetActiveCtrl(ctx.gvCAL, Id(ctx.gvCAL, "ICSP_0")), 0);
    EXPECT_EQ(Walk(29), (std::vector<std::string>{
                            "cal:ICSP_1",      "cal:ICSP_3",    "cal:ICSP_4",      "cal:ICSP_5",
                            "cal:ICSP_6",      "cal:ICSP_7",    "cal:ICSP_8",      "cal:IC_B_0",
                            "cal:IC_B_1",      "cal:IC_B_2",    "cal:IC_B_3",      "cal:IC_B_4",
                            "cal:IC_B_5",      "cal:IC_B_6",    "cal:IC_B_7",      "cal:IC_B_8",
                            "cal:RELAY_1",     "cal:RELAY_2",   "cal:RTS_R_CAL_0", "cal:RTS_L_CAL",
                            "cal:RTS_R_CAL_1", "cal:RTS_H_CAL", "cal:RTS_R_CAL_2", "cal:SN_B",
                            "cal:SN_YY",       "cal:SN_MM",     "cal:SN_DD",       "cal:SN_NO",
                            "main:READ"}));
}

// A control outside the orders stays and leaves gr alone, only Enter moves on, dimmed and
// hidden controls are skipped, and a wrap target that refuses leaves the error in gr.
TEST_F(FocusOrder, OnlyEnterMovesAndOnlyToControlsThatTakeTheFocus) {
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "UNIT"));
    ctx.gr = 7;
    EXPECT_EQ(Walk(1), (std::vector<std::string>{"cfg:UNIT"}));
    EXPECT_EQ(ctx.gr, 7);
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "ID"));
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), ui::VAL_DOWN_ARROW_VKEY);
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), ui::VAL_ENTER_VKEY | ui::VAL_SHIFT_MODIFIER);
    EXPECT_EQ(Focused(), "cfg:ID");

    rt.SetCtrlAttribute(ctx.gvCFG, Id(ctx.gvCFG, "DP"), ui::ATTR_DIMMED, 1);
    rt.SetCtrlAttribute(ctx.gvCFG, Id(ctx.gvCFG, "CUT"), ui::ATTR_VISIBLE, 0);
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_10"));
    EXPECT_EQ(Walk(1), (std::vector<std::string>{"cfg:FILT"}));
    EXPECT_EQ(ctx.gr, 0);
    // A wrap target that refuses: the main panel, with nothing focused on it.
    rt.SetCtrlAttribute(ctx.gvMain, Id(ctx.gvMain, "READ"), ui::ATTR_DIMMED, 1);
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "LOCK"));
    Enter();
    EXPECT_EQ(rt.GetActivePanel(), ctx.gvMain);
    EXPECT_EQ(Focused(), "");
    EXPECT_EQ(ctx.gr, ui::UIE_NOT_FOCUSABLE);

    // When every remaining control refuses, the wrap target gets the focus.
    rt.SetCtrlAttribute(ctx.gvMain, Id(ctx.gvMain, "READ"), ui::ATTR_DIMMED, 0);
    for (const char* name : {"A2FU", "A2MD", "A2SP", "A2HY", "LOCK"})
        rt.SetCtrlAttribute(ctx.gvCFG, Id(ctx.gvCFG, name), ui::ATTR_DIMMED, 1);
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "A1HY"));
    EXPECT_EQ(Walk(1), (std::vector<std::string>{"main:READ"}));
}

}  // namespace
