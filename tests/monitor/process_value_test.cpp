// Watching the process value, both models against the simulated instrument on the virtual
// clock: the requests of a start and of a tick, the display's texts and colours, status bits, a
// failed tick, the button and the menu in step, the poll's trace file, the remote value, the
// hourly record files and their folder, and the trend window's history.

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

namespace fs = std::filesystem;
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

TEST_F(MonitorTest, TheDisplayShowsTheFormatAndAnOpenSensorAFailedTickAndButtonAndMenuInStep) {
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

    // A failed tick leaves the display as it was; the next one reads again.
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
    EXPECT_FALSE(fs::exists("log_PV.txt"));

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

TEST_F(MonitorTestB, RemoteValueAsOneWriteFiveDecimalsAndTheTraceReopenedEveryTwentiethTick) {
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

    // The poll's trace is reopened every twentieth tick and keeps what it had.
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
    EXPECT_FALSE(fs::exists("log_ADC.txt"));
    PressReadPv();
}

// --- Hourly records ---

class RecordTest : public MonitorTest {
  protected:
    // Monitoring and recording on, the local clock at `start` (the virtual time is 0 then).
    void StartRecording(const sys::DateTime& start) {
        fe.VirtualClock().SetLocalStart(start);
        StartWith(104, 8);
        Menu("PV_RECORD");
        ASSERT_EQ(MenuMark("PV_RECORD"), 1);
        PressReadPv();
        ASSERT_TRUE(TimerOn());
    }
    fs::path Dir() { return root_ / "PV Record"; }
    std::string File(const char* name) { return Slurp((Dir() / name).string()); }
    // What the records of a file should hold: the title, then one line per poll.
    static std::string Lines(const std::vector<std::pair<std::string, std::string>>& records) {
        std::string out = "TIME\tPV\t\n";
        for (const auto& [time, text] : records)
            out += time + "\t" + text + "\t\n";
        return out;
    }
};

TEST_F(RecordTest, EachPollAppendsTheDisplayedTextToThisHoursFileAndOpenIsRecordedAsOpen) {
    StartRecording({2013, 5, 31, 23, 59, 57});
    std::vector<std::pair<std::string, std::string>> last;
    const double start = fe.VirtualClock().Now();
    for (int i = 0; i < 2; ++i) {
        fe.AdvanceTime(1.0);
        const int second = 57 + static_cast<int>(fe.VirtualClock().Now() - start);
        last.emplace_back("23:59:" + std::to_string(second), Pv());
    }
    EXPECT_EQ(File("Tarnel_PV_2013-05-31_23.txt"), Lines(last));
    // The next hour, here the next day, starts a file of its own.
    inst->SetOpenSensor(true);
    fe.AdvanceTime(1.0);
    EXPECT_EQ(File("Tarnel_PV_2013-06-01_00.txt"), Lines({{"00:00:00", "OPEN"}}));
    EXPECT_EQ(File("Tarnel_PV_2013-05-31_23.txt"), Lines(last));
}

TEST_F(RecordTest, ARecordThatCannotBeWrittenIsSaidOnceAndAnUncheckedOneNotAtAll) {
    // A file where the folder should be.
    std::ofstream((root_ / "PV Record").string()) << "not a folder";
    StartRecording({2013, 5, 28, 9, 0, 0});
    fe.AdvanceTime(3.0);
    EXPECT_EQ(Status(), conf::kMsgRecordNg);
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_EQ(Main("GICNT").number, 3);  // three polls
    const std::string log = Log(), said = "Tarnel_PV_Record :: cannot write";
    EXPECT_NE(log.find(said), std::string::npos);
    EXPECT_EQ(log.find(said), log.rfind(said));  // once
    // Once the folder can be made, recording resumes and the status line says so.
    fs::remove(root_ / "PV Record");
    fe.AdvanceTime(1.0);
    EXPECT_EQ(Status(), "Read OK");
    const std::string first = Pv();
    EXPECT_EQ(File("Tarnel_PV_2013-05-28_09.txt"), Lines({{"09:00:04", first}}));
    // Unchecked, recording writes nothing; checked again, it takes effect at the next poll.
    Menu("PV_RECORD");
    fe.AdvanceTime(3.0);
    Menu("PV_RECORD");
    fe.AdvanceTime(1.0);
    EXPECT_EQ(File("Tarnel_PV_2013-05-28_09.txt"),
              Lines({{"09:00:04", first}, {"09:00:08", Pv()}}));
}

// Model B records under its own name, and its value has no open-sensor code: 32767 at one
// decimal is a reading like any other, shown in blue and recorded as shown.
TEST_F(MonitorTestB, ModelBRecordsUnderItsOwnNameEveryValueAsANumber) {
    fe.VirtualClock().SetLocalStart({2013, 5, 28, 9, 0, 0});
    StartWith(105, 3);
    Put(2, 1);                                                           // DP
    ASSERT_EQ(conf::fn_Modbus_Device_RW_32(ctx, 16, 0x1000, 32767), 0);  // a remote value
    Menu("PV_RECORD");
    PressReadPv();
    fe.AdvanceTime(1.0);
    EXPECT_EQ(Pv(), "3276.7");
    EXPECT_EQ(PvColour(), 0x0000FF);
    const std::string record =
        Slurp((root_ / "PV Record" / "Ombrel_PV_2013-05-28_09.txt").string());
    EXPECT_EQ(record.rfind("TIME\tPV\t\n09:00:0", 0), 0u) << record;
    EXPECT_NE(record.find("\t3276.7\t\n"), std::string::npos) << record;
    EXPECT_EQ(record.find("OPEN"), std::string::npos);
}

TEST_F(MonitorTest, TheRecordFolderOpensInTheFileManagerAndIsMadeWhenMissing) {
    StartWith(104, 8);
    ASSERT_FALSE(fs::exists(root_ / "PV Record"));
    EXPECT_EQ(Menu("PV_FOLDER"), 0);
    EXPECT_TRUE(fs::is_directory(root_ / "PV Record"));
    const std::string folder = fs::canonical(root_ / "PV Record").string();
    EXPECT_EQ(launcher.calls, (std::vector<sys::RecordingLauncher::Call>{{"xdg-open", {folder}}}));
}

// --- The trend window ---

class TrendTest : public MonitorTest {
  protected:
    std::vector<ui::ChartPoint> Points() {
        std::vector<ui::ChartPoint> points;
        const int chart = rt.FindCtrl(ctx.gvTrend, "TREND_CHART");
        EXPECT_EQ(rt.GetChartPoints(ctx.gvTrend, chart, &points), 0);
        return points;
    }
};

TEST_F(TrendTest, OnePointAPollABreakForAnOpenSensorOrAFailedPollAndABoundedHistory) {
    StartWith(104, 8);
    Menu("PV_TREND");
    ASSERT_GT(ctx.gvTrend, 0);
    EXPECT_TRUE(rt.GetPanel(ctx.gvTrend)->displayed);
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
    // Closing the window keeps the history, and watching goes on.
    rt.UserClosePanel(ctx.gvTrend);
    EXPECT_FALSE(rt.GetPanel(ctx.gvTrend)->displayed);
    EXPECT_EQ(Points().size(), 12u);
    EXPECT_TRUE(TimerOn());
    // Ten hours of polls keep a bounded history (watching started afresh, its count from 0).
    PressReadPv();
    PressReadPv();
    fe.AdvanceTime(10 * 3600.0 + 120.0);
    EXPECT_EQ(Points().size(), 36000u);
    EXPECT_EQ(Main("GICNT").number, 10 * 3600 + 120);
    // A failed poll breaks the line too.
    SilenceFrom(0);
    fe.AdvanceTime(1.0);
    points = Points();
    ASSERT_EQ(points.size(), 36000u);
    EXPECT_TRUE(points.back().gap);
    EXPECT_FALSE(points[points.size() - 2].gap);
}

}  // namespace
