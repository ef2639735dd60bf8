// Hourly records of the process value, the record folder in the file manager, and the trend
// window's history, on the virtual clock.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "monitor/pv_record.h"
#include "monitor/trend.h"
#include "tests/support/fixtures.h"

namespace {

namespace fs = std::filesystem;
using monitortest::MonitorTest;
using monitortest::MonitorTestB;

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

TEST_F(RecordTest, EachPollAppendsTheDisplayedTextToThisHoursFile) {
    StartRecording({2013, 5, 28, 9, 59, 57});
    std::vector<std::pair<std::string, std::string>> nine;
    const double start = fe.VirtualClock().Now();
    for (int i = 0; i < 2; ++i) {
        fe.AdvanceTime(1.0);
        const int second = 57 + static_cast<int>(fe.VirtualClock().Now() - start);
        nine.emplace_back("09:59:" + std::to_string(second), Pv());
    }
    EXPECT_EQ(File("Tarnel_PV_2013-05-28_09.txt"), Lines(nine));
    // The next hour starts a file of its own.
    fe.AdvanceTime(2.0);
    EXPECT_EQ(File("Tarnel_PV_2013-05-28_10.txt").rfind("TIME\tPV\t\n10:00:0", 0), 0u);
    EXPECT_EQ(File("Tarnel_PV_2013-05-28_09.txt"), Lines(nine));
}

TEST_F(RecordTest, MidnightStartsTheNextDaysFileAndAnOpenSensorIsRecordedAsOpen) {
    StartRecording({2013, 5, 31, 23, 59, 59});
    inst->SetOpenSensor(true);
    fe.AdvanceTime(1.0);
    EXPECT_EQ(File("Tarnel_PV_2013-06-01_00.txt"), Lines({{"00:00:00", "OPEN"}}));
}

TEST_F(RecordTest, UncheckedRecordingWritesNothingAndTakesEffectAtTheNextPoll) {
    StartRecording({2013, 5, 28, 9, 0, 0});
    Menu("PV_RECORD");
    fe.AdvanceTime(3.0);
    EXPECT_FALSE(fs::exists(Dir() / "Tarnel_PV_2013-05-28_09.txt"));
    Menu("PV_RECORD");
    fe.AdvanceTime(1.0);
    EXPECT_EQ(File("Tarnel_PV_2013-05-28_09.txt"), Lines({{"09:00:04", Pv()}}));
}

TEST_F(RecordTest, ARecordThatCannotBeWrittenIsSaidOnceAndPollingGoesOn) {
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
    EXPECT_TRUE(fs::exists(Dir() / "Tarnel_PV_2013-05-28_09.txt"));
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

}  // namespace
