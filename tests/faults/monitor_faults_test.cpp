// The monitoring tick with its process-value read struck by each fault, both models, recording
// on: the status, the poll's trace, the time, the record file, the timer running on, and the
// next tick on the clean line.

#include "configurator_faults.h"
#include "monitor/pv_record.h"

namespace faulttest {
namespace {

class MonitorFaults : public ConfiguratorFaults {
  protected:
    std::string RecordPath() { return "../PV Record/" + conf::fn_PV_Record_Name(ctx); }
};

TEST_P(MonitorFaults, TheProcessValueReadStruck) {
    std::ofstream("log_PV.txt").close();
    StartInstrument();
    PressReadPv();
    ASSERT_TRUE(TimerOn());
    Menu("PV_RECORD");
    fe.VirtualClock().Advance(1.0);
    Tick();
    ASSERT_EQ(Status(), "Read OK");
    const std::string path = RecordPath();
    ASSERT_EQ(Lines(Slurp(path)), 2);

    fe.VirtualClock().Advance(1.0);
    Arm(0);
    const std::size_t mark = Size("log_PV.txt");
    const std::size_t logMark = Size("log.txt");
    const double took = Timed([&] { Tick(); });
    const std::string trace = Since("log_PV.txt", mark);

    ExpectStruckTrace(trace);
    ExpectWithinTimeouts(took, trace + Since("log.txt", logMark));
    // Watching runs on whatever a tick met.
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(Main("MSPV_B").state, 1);
    std::string files;
    if (Fails()) {
        ExpectStatus("Read NG", 0xFF0000);
        ExpectTraceEndsWithFailure(trace);
        // No value, no record.
        EXPECT_EQ(Lines(Slurp(path)), 2);
        files = "record file unchanged (no line for the failed tick)";
    } else {
        ExpectStatus("Read OK", 0x008000);
        EXPECT_EQ(Lines(Slurp(path)), 3);
        files = "one record line appended";
    }
    AddRow("Monitoring tick (PV read struck)", StatusCell(), files);

    ClearLine();
    const std::size_t clean = Size("log_PV.txt");
    const int lines = Lines(Slurp(path));
    Tick();
    ExpectStatus("Read OK", 0x008000);
    ExpectClean(Since("log_PV.txt", clean));
    EXPECT_EQ(Lines(Slurp(path)), lines + 1);
    // Every record line is a time and the displayed text, in time order.
    const std::string records = Slurp(path);
    EXPECT_EQ(records.rfind("TIME\tPV\t\n", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(Matrix, MonitorFaults, ::testing::ValuesIn(Cells("AB")), CellName);

}  // namespace
}  // namespace faulttest
