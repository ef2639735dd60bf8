// Calibration against the simulated instrument, on the virtual clock. Input calibration steps
// of both models: the requests of a whole step, the stored commands, the trace file, the
// counter, and how a step and process-value watching meet. Output calibration on both pages and
// the relay test.

#include <gtest/gtest.h>

#include <fstream>

#include "calib/input_cal.h"
#include "tests/support/fixtures.h"

namespace {

using monitortest::Bytes;
using monitortest::MonitorTest;
using monitortest::Read;
using monitortest::Write;

class CalibrationTest : public MonitorTest {
  protected:
    explicit CalibrationTest(const conf::Model& model = conf::ModelA()) : MonitorTest(model) {}
    void OnPage(int page) { rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), page); }
    int Choose(int panel, const char* button) { return rt.UserToggle(panel, Id(panel, button)); }
    int Press(int step) {
        return rt.UserToggle(ctx.gvCAL, Id(ctx.gvCAL, ("IC_B_" + std::to_string(step)).c_str()));
    }
    int Button(int step) { return Cal(("IC_B_" + std::to_string(step)).c_str()).state; }
    bool StepTimerOn() { return rt.GetControl(ctx.gvCAL, Id(ctx.gvCAL, "ADC_T"))->enabled; }
    void StepTick() { rt.TimerTick(ctx.gvCAL, Id(ctx.gvCAL, "ADC_T")); }
};

class CalibrationTestB : public CalibrationTest {
  protected:
    CalibrationTestB() : CalibrationTest(conf::ModelB()) {}
};

TEST_F(CalibrationTest, StepsPresetReadStoreAndKeepTheirTraceAndWatchingApart) {
    StartWith(104, 8);
    OnPage(1);
    Requests();
    Press(2);  // "TC.Z"
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Read(0x1F00, 4), Write(5, 0, 1), Write(6, 1, 0)}));
    EXPECT_TRUE(StepTimerOn());
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_EQ(Cal("ADC_I_2_A").textColor, 0x0000FF);
    StepTick();
    StepTick();
    EXPECT_EQ(Requests(), (std::vector<Bytes>(2, Read(0x1003, 2))));
    std::int32_t reading = 0;
    ASSERT_EQ(inst->ReadValue(0x1003, fe.VirtualClock().Now(), &reading), 0);
    EXPECT_NEAR(Cal("ADC_I_2_A").number, reading, 5);  // the reading moves a little in between
    EXPECT_EQ(Main("GICNT").number, 2);
    EXPECT_EQ(Status(), "Read OK");
    Press(2);  // released: stored
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Read(0x1F00, 4), Write(5, 0x0A02, 3)}));
    EXPECT_FALSE(StepTimerOn());
    EXPECT_EQ(Cal("ADC_I_2_A").textColor, 0x000000);
    EXPECT_EQ(Focused(), "cal:IC_B_3");
    EXPECT_NE(LogFrom("===============\n").find("Modbus w TYPE = 1\n"), std::string::npos);
    EXPECT_NE(Log().find("Modbus w SPC.code.ICC.save.TC.Z\t0x0003\n"), std::string::npos);

    // The following step writes no preset; its counter starts at 0 again.
    Press(3);  // "TC.L"
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Read(0x1F00, 4)}));
    EXPECT_EQ(Main("GICNT").number, 0);
    EXPECT_NE(LogFrom("---------------\n").size(), 0u);
    StepTick();
    EXPECT_EQ(Main("GICNT").number, 1);
    Press(3);
    EXPECT_EQ(Requests().back(), Write(5, 0x0A02, 4));

    // The last step stores to EEPROM and the focus goes back to the first.
    Press(8);  // "mA.H"
    Requests();
    Press(8);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Read(0x1F00, 4), Write(6, 0x0A02, 9)}));
    EXPECT_EQ(Focused(), "cal:IC_B_0");

    // The trace holds one step's readings: it is emptied at each begin.
    std::ofstream("log_ADC.txt") << "";
    Press(5);
    StepTick();
    Press(5);
    Press(6);
    StepTick();
    StepTick();
    Press(6);
    const std::string trace = Slurp("log_ADC.txt");
    // Emptied at the second begin: two readings of that step only.
    std::size_t reads = 0;
    for (std::size_t at = trace.find("MB.Tx"); at != std::string::npos;
         at = trace.find("MB.Tx", at + 1))
        ++reads;
    EXPECT_EQ(reads, 2u) << trace;
    EXPECT_NE(trace.find("<1003> (0002)"), std::string::npos);
    // A step stops watching, and watching waits for the step.
    PressReadPv();
    ASSERT_TRUE(TimerOn());
    Press(3);
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(MenuMark("PV_READ"), 0);
    EXPECT_TRUE(StepTimerOn());
    // Watching is refused while the step reads.
    Menu("PV_READ");
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(MenuMark("PV_READ"), 0);
    EXPECT_EQ(Main("MSPV_B").state, 0);
    EXPECT_EQ(Status(), conf::kMsgCalBusy);
    // So is a second step.
    Press(4);
    EXPECT_EQ(Button(4), 0);
    EXPECT_TRUE(StepTimerOn());
    Press(3);
    Menu("PV_READ");
    EXPECT_TRUE(TimerOn());
}

// Every step at both polarity settings: the begin writes the type of steps 0, 2 and 4 to
// EEPROM; the save sends 4 + step (polarity 0) or 10 + step (polarity 1), with code 5 for
// steps 0, 2, 4 and code 6 for steps 1, 3, 5.
TEST_F(CalibrationTestB, StepsWriteTheirTypeToEepromAndStoreByPolarity) {
    StartWith(105, 3);
    OnPage(1);
    const char* names[] = {"mV.L", "mV.H", "V.L", "V.H", "mA.L", "mA.H"};
    for (int polarity : {0, 1}) {
        rt.SetCtrlIndex(ctx.gvCAL, Id(ctx.gvCAL, "POLAR"), polarity);
        for (int step = 0; step < 6; ++step) {
            SCOPED_TRACE(std::string(names[step]) + " polarity " + std::to_string(polarity));
            Requests();
            Press(step);
            std::vector<Bytes> begin{Read(0x1F00, 4)};
            if (step % 2 == 0) begin.push_back(Write(6, 0, step / 2));
            EXPECT_EQ(Requests(), begin);
            StepTick();
            // One 32-bit reading in the step's one indicator.
            EXPECT_EQ(Requests(), (std::vector<Bytes>{Read(0x100A, 2)}));
            Press(step);
            const int command = (polarity ? 10 : 4) + step;
            const int code = step % 2 ? 6 : 5;
            EXPECT_EQ(Requests(),
                      (std::vector<Bytes>{Read(0x1F00, 4), Write(code, 0x0A02, command)}));
            char line[64];
            std::snprintf(line, sizeof line, "Modbus w SPC.code.ICC.save.%s\t0x%04x\n", names[step],
                          command);
            EXPECT_NE(Log().find(line), std::string::npos) << line;
        }
    }
}

TEST_F(CalibrationTest, OutputCalibrationOnBothPagesAndTheRelayTest) {
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
    for (const ui::Control& c : {Cfg("RTS_L"), Cfg("RTS_H"), Cal("RTS_L_CAL"), Cal("RTS_H_CAL")})
        EXPECT_TRUE(c.dimmed) << c.name;
    EXPECT_EQ(Cal("RTS_R_CAL_2").state, 1);

    // The low end: the arrow keys step by sixteen within the range.
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
