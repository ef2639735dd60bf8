// The monitoring tick with its process-value read struck by each fault, both models, recording
// on: the status, the poll's trace, the time, the record file, the timer running on, and the
// next tick on the clean line.

#include <cmath>
#include <sstream>

#include "monitor/pv_record.h"
#include "stage_faults.h"

namespace faulttest {
namespace {

class MonitorFaults : public StageFaults {
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
    StruckTrace(0, "Read NG", "Read OK", "log_PV.txt", "log.txt", [&] { Tick(); });
    // Watching runs on whatever a tick met; no value, no record.
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(Main("MSPV_B").state, 1);
    EXPECT_EQ(Lines(Slurp(path)), Fails() ? 2 : 3);
    AddRow("Monitoring tick (PV read struck)", StatusCell(),
           Fails() ? "record file unchanged (no line for the failed tick)"
                   : "one record line appended",
           "nothing: the failed request ends `log_PV.txt`");

    if (Vanish()) {
        // While the adapter is out every tick fails at once and watching runs on.
        fe.VirtualClock().Advance(1.0);
        EXPECT_LT(Timed([&] { Tick(); }), 0.01);
        ExpectStatus("Read NG", 0xFF0000);
        EXPECT_TRUE(TimerOn());
        EXPECT_EQ(Lines(Slurp(path)), 2);
    }
    ClearLine();
    const int lines = Lines(Slurp(path));
    ExpectCleanRun("log_PV.txt", "Read OK", [&] { Tick(); });
    EXPECT_EQ(Lines(Slurp(path)), lines + 1);
    EXPECT_EQ(Slurp(path).rfind("TIME\tPV\t\n", 0), 0u);  // the title stays first
}

INSTANTIATE_TEST_SUITE_P(Matrix, MonitorFaults, ::testing::ValuesIn(Cells()), CellName);

// Watching with recording on, its ticks falling at .6 of a second: a poll whose answers need
// their retries runs into the next clock second, and the timer's overdue tick follows at once.
class LateTicks : public monitortest::MonitorTest {
  protected:
    void SetUp() override {
        MonitorTest::SetUp();
        StartWith(104, 8);
        // Start watching at .6 of a second: every tick falls there.
        const double now = fe.VirtualClock().Now();
        fe.VirtualClock().Advance(std::ceil(now) + 0.6 - now);
        PressReadPv();
        // The second the first tick falls in.
        first = sys::AddSeconds(fe.VirtualClock().LocalNow(), 1);
        Menu("PV_RECORD");
        fe.AdvanceTime(1.0);
        ASSERT_EQ(Status(), "Read OK");
        inst->TakeLog();
    }
    // The record times, in file order.
    std::vector<std::string> Times() {
        std::istringstream in(Slurp("../PV Record/" + conf::fn_PV_Record_Name(ctx)));
        std::vector<std::string> times;
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line))
            times.push_back(line.substr(0, 8));
        return times;
    }
    // The clock second `n` seconds after the first tick's.
    std::string Second(int n) { return conf::Make_TIME_string(sys::AddSeconds(first, n)); }
    sys::DateTime first;
    // Process-value reads the instrument answered.
    int ValuesRead() {
        int n = 0;
        for (const sim::LogEntry& e : inst->TakeLog())
            if (e.request[2] == 0x10 && e.request[3] == 0x02 &&
                e.outcome == sim::Outcome::kAnswered)
                ++n;
        return n;
    }
};

TEST_F(LateTicks, AValueThatNeededARetryIsStampedWithTheSecondItsPollBegan) {
    // Second tick, at .6: the value's first answer is lost, the retry brings it in the
    // following second.
    inst->AddFault(MakeFault(sim::FaultKind::kSilence, Strike::kOnce, 0));
    fe.AdvanceTime(1.0);
    fe.AdvanceTime(1.0);
    EXPECT_EQ(ValuesRead(), 2);
    EXPECT_EQ(Times(), (std::vector<std::string>{Second(0), Second(1), Second(2)}));
}

TEST_F(LateTicks, AnOverdueTickInTheSecondJustRecordedIsLetGo) {
    // Second tick, at s+1.6: the value comes, the converter read fails on all its attempts,
    // the poll ends after s+3.1; the overdue tick polls at once (second s+3), the one due at
    // s+3.6 would record s+3 again and is let go; s+4.6 records.
    inst->AddFault(MakeFault(sim::FaultKind::kSilence, Strike::kEvery, 1));
    fe.AdvanceTime(1.0);
    EXPECT_EQ(Status(), "Read NG");
    fe.AdvanceTime(0.1);
    EXPECT_EQ(Status(), "Read OK");
    const std::size_t polls = inst->Log().size();
    fe.AdvanceTime(0.5);
    EXPECT_EQ(inst->Log().size(), polls);  // the tick at s+3.6 sent nothing
    fe.AdvanceTime(1.0);
    EXPECT_EQ(ValuesRead(), 3);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(Times(), (std::vector<std::string>{Second(0), Second(1), Second(3), Second(4)}));
}

}  // namespace
}  // namespace faulttest
