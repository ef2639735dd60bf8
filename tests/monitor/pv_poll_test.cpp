// The process-value poll of both models against the simulated instrument: the requests of a
// start and of a tick, the display's texts and colours, status bits, a failed tick, the button
// and the menu in step, the poll's trace file and the remote value.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "monitor/pv_record.h"
#include "monitor/remote_value.h"
#include "monitor/trend.h"
#include "params/input.h"
#include "params/main_panel.h"
#include "tests/support/fixtures.h"
#include "tests/support/registry_models.h"

namespace {

using monitortest::Bytes;
using monitortest::MonitorTest;
using monitortest::MonitorTestB;
using monitortest::Read;
using transfertest::Sealed;

// The requests a start sends and those of one tick, by model (its program) and firmware.
struct TickCase {
    const char* program;
    int firmware;
    std::vector<Bytes> tick;
};

const TickCase kTicks[] = {
    {"Tarnel", 7, {Read(0x1002, 1), Read(0x1003, 2)}},
    {"Tarnel", 8, {Read(0x1002, 1), Read(0x1003, 2), Read(0x1006, 1)}},
    {"Ombrel", 2, {Read(0x1000, 2), Read(0x100A, 2)}},
    {"Ombrel", 3, {Read(0x1000, 2), Read(0x100A, 2), Read(0x001F, 1)}},
};

void PrintTo(const TickCase& c, std::ostream* os) {
    *os << c.program << " firmware " << c.firmware;
}

class TickRequests : public MonitorTest, public ::testing::WithParamInterface<TickCase> {
  protected:
    TickRequests() : MonitorTest(*conf::ModelOfProgram(GetParam().program)) {}
};

// Every model of the registry has its ticks here.
TEST(TickRequestCases, CoverEveryModel) {
    for (const conf::Model* model : conf_test::RegistryModels())
        EXPECT_TRUE(std::any_of(std::begin(kTicks), std::end(kTicks), [&](const TickCase& c) {
            return conf::ModelOfProgram(c.program) == model;
        })) << model->id.programName;
}

TEST_P(TickRequests, AStartReadsTheDecimalPointAndATickItsPlan) {
    StartWith(conf_test::HardwareCode(ctx.model), GetParam().firmware);
    Requests();
    PressReadPv();
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Read(0x1F00, 4), Read(0x0002, 1)}));
    EXPECT_EQ(PvColour(), 0x0000FF);
    Tick();
    EXPECT_EQ(Requests(), GetParam().tick);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(Main("GICNT").number, 1);
    Tick();
    EXPECT_EQ(Main("GICNT").number, 2);
}

INSTANTIATE_TEST_SUITE_P(Models, TickRequests, ::testing::ValuesIn(kTicks),
                         [](const ::testing::TestParamInfo<TickCase>& param) {
                             return std::string(param.param.program) + "_Fw" +
                                    std::to_string(param.param.firmware);
                         });

TEST_F(MonitorTest, TheDisplayShowsTheInstrumentsFormatAndAnOpenSensorInRed) {
    StartWith(104, 8);
    // A temperature type without decimals drops the tenths.
    conf::TYPE_cfg::SV(ctx, 1);
    conf::DP_cfg::SI(ctx, 0);
    EXPECT_EQ(conf::MSPV_V::to_GUI(ctx, 1234), 0);
    EXPECT_EQ(Pv(), "   123");
    EXPECT_EQ(PvColour(), 0x0000FF);
    // A linear type with two decimals.
    conf::TYPE_cfg::SV(ctx, 12);
    conf::DP_cfg::SI(ctx, 2);
    conf::MSPV_V::to_GUI(ctx, 1234);
    EXPECT_EQ(Pv(), " 12.34");
    conf::MSPV_V::to_GUI(ctx, -5);
    EXPECT_EQ(Pv(), " -0.05");
    // The open sensor.
    EXPECT_EQ(conf::MSPV_V::to_GUI(ctx, 0x7FFF), 1);
    EXPECT_EQ(Pv(), "OPEN");
    EXPECT_EQ(PvColour(), 0xFF0000);
    // Polled: an open sensor shows OPEN in red, the status bits their indicators.
    PressReadPv();
    inst->SetOpenSensor(true);
    Tick();
    EXPECT_EQ(Pv(), "OPEN");
    EXPECT_EQ(PvColour(), 0xFF0000);
    std::int32_t status = 0;
    ASSERT_EQ(inst->ReadValue(0x1006, fe.VirtualClock().Now(), &status), 0);
    EXPECT_EQ(Cal("STATUS_BIT_0").state, status & 1);
    EXPECT_EQ(Cal("STATUS_BIT_1").state, (status >> 1) & 1);
    inst->SetOpenSensor(false);
    Tick();
    EXPECT_NE(Pv(), "OPEN");
    EXPECT_EQ(PvColour(), 0x0000FF);
}

TEST_F(MonitorTest, AFailedTickRecoversAndButtonAndMenuStayInStep) {
    StartWith(104, 8);
    PressReadPv();
    Tick();
    const std::string before = Pv();
    // The three attempts at the PV read go unanswered.
    inst->AddFault(conf_test::MakeFault(sim::FaultKind::kSilence, 0, 3));
    Requests();
    Tick();
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_EQ(Requests(), (std::vector<Bytes>(3, Read(0x1002, 1))));
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(Pv(), before);
    Tick();
    EXPECT_EQ(Status(), "Read OK");
    // Button and menu stay in step whichever is used (watching was started with the button).
    EXPECT_EQ(MenuMark("PV_READ"), 1);
    EXPECT_TRUE(TimerOn());
    // Off from the menu after it was started with the button.
    Menu("PV_READ");
    EXPECT_EQ(MenuMark("PV_READ"), 0);
    EXPECT_EQ(Main("MSPV_B").state, 0);
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(PvColour(), 0x000000);
    // On from the menu, off with the button.
    Menu("PV_READ");
    EXPECT_EQ(Main("MSPV_B").state, 1);
    EXPECT_TRUE(TimerOn());
    PressReadPv();
    EXPECT_EQ(MenuMark("PV_READ"), 0);
    EXPECT_FALSE(TimerOn());
    // A start that cannot reach the instrument leaves everything off.
    SilenceFrom(0);
    Menu("PV_READ");
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(MenuMark("PV_READ"), 0);
    EXPECT_EQ(Main("MSPV_B").state, 0);
    EXPECT_EQ(Status(), "Read NG");
}

TEST_F(MonitorTest, ThePollsTraceGoesToLogPvOnlyWhenItExists) {
    StartWith(104, 7);
    PressReadPv();
    Tick();
    PressReadPv();
    EXPECT_FALSE(std::filesystem::exists("log_PV.txt"));

    std::ofstream("log_PV.txt") << "an older run\n";
    PressReadPv();
    Tick();
    PressReadPv();  // closes the trace
    const std::string trace = Slurp("log_PV.txt");
    EXPECT_EQ(trace.rfind("Modbus r PV\n\tP222\tMB.Tx\t#01.03 <1002> (0001)", 0), 0u) << trace;
    EXPECT_NE(trace.find("PV = "), std::string::npos);
    EXPECT_NE(trace.find("Modbus r ADC \n\tP222\tMB.Tx\t#01.03 <1003> (0002)"), std::string::npos);
    EXPECT_EQ(trace.find("an older run"), std::string::npos);
    // The status-bit read goes to the event log, not here (and not at firmware 7 at all).
    EXPECT_EQ(trace.find("<1006>"), std::string::npos);
}

TEST_F(MonitorTestB, TheTraceIsReopenedEveryTwentiethTickAndKeepsWhatItHad) {
    StartWith(105, 3);
    std::ofstream("log_PV.txt") << "";
    PressReadPv();
    for (int i = 0; i < 25; ++i)
        Tick();
    // Twenty ticks are on disk already, without the stream being closed.
    const std::string trace = Slurp("log_PV.txt");
    std::size_t reads = 0;
    for (std::size_t at = trace.find("Modbus r PV\n"); at != std::string::npos;
         at = trace.find("Modbus r PV\n", at + 1))
        ++reads;
    EXPECT_GE(reads, 20u);
    EXPECT_NE(trace.find("A0 = "), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("log_ADC.txt"));
    PressReadPv();
}

// The remote value goes to the process-value register after the device check. Outside the display
// range (-1999 ... 9999 here) it is marked red and written as typed; back in range the mark goes.
// No instrument, no mark and no write.
TEST_F(MonitorTest, TheRemoteValueIsWrittenAsTypedAndMarkedOutOfRange) {
    StartWith(104, 8);
    Put(0, 13);
    conf::TYPE_cfg::SV(ctx, 13);
    conf::RSP::Toggle_Dim(ctx);
    ASSERT_FALSE(Main("RSP").dimmed);
    Requests();
    fe.VirtualClock().ClearDelays();
    rt.UserSetValue(ctx.gvMain, Id(ctx.gvMain, "RSP"), 12);
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{Read(0x1F00, 4), Sealed({0x01, 0x05, 0x10, 0x02, 0x00, 0x0C})}));
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_NE(Log().find("Modbus w RSP = 12 \n"), std::string::npos);
    EXPECT_EQ(Main("RSP").textBgColor, 0xFFFFFF);
    rt.UserSetValue(ctx.gvMain, Id(ctx.gvMain, "RSP"), 20000);
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{Read(0x1F00, 4), Sealed({0x01, 0x05, 0x10, 0x02, 0x4E, 0x20})}));
    EXPECT_EQ(Main("RSP").textBgColor, 0xFF0000);
    EXPECT_EQ(Main("RSP").number, 20000.0);
    EXPECT_EQ(Status(), "Write OK");
    const std::vector<double>& delays = fe.VirtualClock().Delays();
    EXPECT_EQ(std::count(delays.begin(), delays.end(), 0.1), 0);  // nothing limited

    rt.UserSetValue(ctx.gvMain, Id(ctx.gvMain, "RSP"), -12);
    EXPECT_EQ(Requests().back(), Sealed({0x01, 0x05, 0x10, 0x02, 0xFF, 0xF4}));
    EXPECT_EQ(Main("RSP").textBgColor, 0xFFFFFF);

    SilenceFrom(0);
    rt.UserSetValue(ctx.gvMain, Id(ctx.gvMain, "RSP"), -5000);
    EXPECT_EQ(Requests(), std::vector<Bytes>(3, Read(0x1F00, 4)));
    EXPECT_EQ(Main("RSP").textBgColor, 0xFFFFFF);
    // Another type dims it.
    conf::TYPE_cfg::SV(ctx, 1);
    conf::RSP::Toggle_Dim(ctx);
    EXPECT_TRUE(Main("RSP").dimmed);
}

TEST_F(MonitorTestB, TheRemoteValueIsOneThirtyTwoBitWriteAndTheDisplayHasFiveDecimals) {
    StartWith(105, 3);
    Requests();
    rt.UserSetValue(ctx.gvMain, Id(ctx.gvMain, "RSP"), 12.5);
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{Read(0x1F00, 4), Sealed({0x01, 0x10, 0x10, 0x00, 0x00, 0x02, 0x04,
                                                           0x00, 0x00, 0x00, 0x7D})}));
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_EQ(Main("RSP").textBgColor, 0xFFFFFF);
    // Beyond the display range: marked, and written as typed all the same.
    rt.UserSetValue(ctx.gvMain, Id(ctx.gvMain, "RSP"), 2000000.0);
    EXPECT_EQ(Requests().back(),
              Sealed({0x01, 0x10, 0x10, 0x00, 0x00, 0x02, 0x04, 0x01, 0x31, 0x2D, 0x00}));
    EXPECT_EQ(Main("RSP").textBgColor, 0xFF0000);
    EXPECT_EQ(Status(), "Write OK");
    // The display shows up to five decimals.
    conf::DP_cfg::SI(ctx, 3);
    conf::MSPV_V::to_GUI(ctx, 1234);
    EXPECT_EQ(Pv(), " 1.234");
    conf::DP_cfg::SI(ctx, 5);
    conf::MSPV_V::to_GUI(ctx, 123456);
    EXPECT_EQ(Pv(), "1.23456");
}

}  // namespace
