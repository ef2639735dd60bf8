// One input-calibration step and the relay test of Tarnel against instrument-sim on a
// pseudo-terminal, in real time: what the instrument heard and what it stored.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "models/model_a.h"
#include "tests/support/fixtures.h"

namespace {

class CalibrationOnAPty : public ptytest::ConfiguratorOnAPty {
  protected:
    CalibrationOnAPty() : ConfiguratorOnAPty(conf::ModelA()) {}
    int Toggle(const char* name) { return rt.UserToggle(ctx.gvCAL, Id(ctx.gvCAL, name)); }
    const ui::Control& Cal(const char* name) {
        return *rt.GetControl(ctx.gvCAL, Id(ctx.gvCAL, name));
    }
};

TEST_F(CalibrationOnAPty, AStepAndTheRelayTestReachTheInstrument) {
    RunSimulator("A");
    std::ofstream("COM_Dev_use.txt") << "5\n3\n0\n8\n2\n6802";
    Start();
    ASSERT_EQ(Status(), "Read OK") << SimLog();
    rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1);

    Toggle("IC_B_7");  // "mA.L": the type and unit presets, then readings
    EXPECT_EQ(Status(), "Write OK") << SimLog();
    for (int i = 0; i < 3; ++i)
        rt.TimerTick(ctx.gvCAL, Id(ctx.gvCAL, "ADC_T"));
    EXPECT_EQ(Status(), "Read OK") << SimLog();
    EXPECT_NE(Cal("ADC_I_7_A").number, 0);
    Toggle("IC_B_7");  // stored
    EXPECT_EQ(Status(), "Write OK") << SimLog();
    EXPECT_EQ(Cal("IC_B_7").state, 0);

    Toggle("RELAY_1");
    Toggle("RELAY_1");
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_EQ(child.Stop(), 0);
    const std::string log = SimLog();
    for (const char* line : {"19200 8?2 01 05 00 00 00 0C", "19200 8?2 01 06 00 01 00 02",
                             "19200 8?2 01 03 10 03 00 02", "19200 8?2 01 05 0A 02 00 08",
                             "19200 8?2 01 05 0A 04 00 01", "19200 8?2 01 05 0A 04 00 00"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
}

}  // namespace
