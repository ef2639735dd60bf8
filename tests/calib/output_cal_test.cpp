// Output calibration on both pages and the relay test against the simulated instrument.

#include <gtest/gtest.h>

#include "tests/support/fixtures.h"

namespace {

using monitortest::Bytes;
using monitortest::MonitorTest;
using monitortest::Read;
using monitortest::Write;
using transfertest::Sealed;

class OutputCalibrationTest : public MonitorTest {
  protected:
    void OnPage(int page) { rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), page); }
    int Choose(int panel, const char* button) { return rt.UserToggle(panel, Id(panel, button)); }
};

TEST_F(OutputCalibrationTest, ReadAllShowsTheValuesOnBothPagesAndStepsAreWritten) {
    StartWith(104, 8);
    EXPECT_EQ(Cfg("RTS_L").number, Ram(11));
    EXPECT_EQ(Cal("RTS_L_CAL").number, Ram(11));
    EXPECT_EQ(Cal("RTS_H_CAL").number, Ram(12));
    OnPage(1);
    Requests();
    Choose(ctx.gvCAL, "RTS_R_CAL_1");  // high end begin
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Read(0x1F00, 4), Write(5, 0x0A02, 28)}));
    EXPECT_EQ(Cfg("RTS_R_1").state, 1);
    EXPECT_FALSE(Cal("RTS_H_CAL").dimmed);
    EXPECT_TRUE(Cal("RTS_L_CAL").dimmed);
    EXPECT_FALSE(Cfg("RTS_H").dimmed);
    EXPECT_NE(Log().find("OC.PWM.1.H.BEG\n"), std::string::npos);

    // RTS.H changed on the calibration page shows on the configuration page.
    rt.UserSetValue(ctx.gvCAL, Id(ctx.gvCAL, "RTS_H_CAL"), 20000);
    EXPECT_EQ(Requests().back(), Write(5, 12, 20000));
    EXPECT_EQ(Cfg("RTS_H").number, 20000);
    EXPECT_NE(Log().find("Modbus w RTS.H = 20000\n"), std::string::npos);

    // The end: 0 to EEPROM, both values dimmed on both pages.
    OnPage(0);
    Choose(ctx.gvCFG, "RTS_R_2");
    EXPECT_EQ(Requests().back(), Write(6, 0x0A02, 0));
    for (const char* name : {"RTS_L", "RTS_H"})
        EXPECT_TRUE(Cfg(name).dimmed) << name;
    for (const char* name : {"RTS_L_CAL", "RTS_H_CAL"})
        EXPECT_TRUE(Cal(name).dimmed) << name;
    EXPECT_EQ(Cal("RTS_R_CAL_2").state, 1);
}

TEST_F(OutputCalibrationTest, ArrowKeysStepBySixteenWithinTheRangeAndRelayTwoSwitches) {
    StartWith(104, 8);
    Choose(ctx.gvCFG, "RTS_R_0");  // low end begin
    rt.UserSetValue(ctx.gvCFG, Id(ctx.gvCFG, "RTS_L"), 1000);
    Requests();
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "RTS_L"), ui::VAL_RIGHT_ARROW_VKEY);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Write(5, 11, 1016)}));
    EXPECT_EQ(Cfg("RTS_L").number, 1016);
    EXPECT_EQ(Cal("RTS_L_CAL").number, 1016);
    // At the range's end an arrow stays there.
    rt.UserSetValue(ctx.gvCFG, Id(ctx.gvCFG, "RTS_L"), 32760);
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "RTS_L"), ui::VAL_RIGHT_ARROW_VKEY);
    EXPECT_EQ(Cfg("RTS_L").number, 32767);
    rt.UserSetValue(ctx.gvCFG, Id(ctx.gvCFG, "RTS_L"), 5);
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "RTS_L"), ui::VAL_LEFT_ARROW_VKEY);
    EXPECT_EQ(Cfg("RTS_L").number, 0);
    EXPECT_EQ(Ram(11), 0);
    // Relay 2 switches on and off.
    OnPage(1);
    Requests();
    Choose(ctx.gvCAL, "RELAY_2");
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Read(0x1F00, 4), Write(5, 0x0A05, 1)}));
    EXPECT_NE(Log().find("Modbus toggle Relay A2 to 1\n"), std::string::npos);
    Choose(ctx.gvCAL, "RELAY_2");
    EXPECT_EQ(Requests().back(), Write(5, 0x0A05, 0));
    EXPECT_EQ(Status(), "Write OK");
}

}  // namespace
