// The configurators' transfer commands over the termios serial layer against instrument-sim on a
// pseudo-terminal, in real time: the link settings a write-all changes, the port reopened at
// the new speed, and what the instrument still holds after a power cycle.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../shell/tarnel_fixture.h"
#include "../support/child_process.h"
#include "models/model_a.h"
#include "models/model_b.h"
#include "platform/serial/com_map.h"
#include "platform/serial/termios_port.h"

namespace {

namespace fs = std::filesystem;

// One model's run: the simulator's model, the settings file and what the instrument must
// hear after the write-all and the read that follows the power cycle.
struct PtyCase {
    const char* name;
    const conf::Model* model;
    const char* simModel;
    const char* settings;
    std::vector<const char*> heard;
};

const PtyCase kCases[] = {
    {"Tarnel",
     &conf::ModelA(),
     "A",
     "5\n3\n0\n8\n2\n6802",
     {"19200 8?2 01 05 00 0D 00 07", "19200 8?2 07 05 00 0E 00 02", "9600 8?2 07 05 00 08 00 0C",
      "9600 8?2 07 06 00 1C", "9600 8?2 07 03 00 00 00 1F"}},
    {"Ombrel",
     &conf::ModelB(),
     "B",
     "5\n3\n0\n8\n2\n6902",
     {"19200 8?2 01 05 00 0D 00 07", "19200 8?2 07 05 00 0E 00 02", "9600 8?2 07 05 00 08 00 0C",
      "9600 8?2 07 06 00 1E", "9600 8?2 07 10 10 01 00 02 04", "9600 8?2 07 03 00 00 00 1F",
      "9600 8?2 07 03 10 01 00 12"}},
};

class TransferOnAPty : public tarneltest::TarnelTest,
                       public ::testing::WithParamInterface<PtyCase> {
  protected:
    TransferOnAPty() : TarnelTest(*GetParam().model) {}
    void SetUp() override {
        TarnelTest::SetUp();
        comDir = (fs::current_path() / ".." / "comports").lexically_normal().string();
        errFile = (fs::current_path() / ".." / "sim.err").lexically_normal().string();
        real = std::make_unique<serial::Rs232>(termios,
                                               serial::ComMapEnv{comDir, serial::EntryExists});
        ctx.com = real.get();
    }
    void TearDown() override {
        real->CloseCom(222);
        TarnelTest::TearDown();
    }
    void RunSimulator() {
        ASSERT_TRUE(child.Spawn(
            {INSTRUMENT_SIM_PATH, "--model", GetParam().simModel, "--com", "5", "--log"}, comDir,
            errFile));
        ASSERT_EQ(child.FirstLine().rfind("/dev/pts/", 0), 0u) << SimLog();
    }
    std::string SimLog() { return Slurp(errFile); }
    // Waits (in real time: the simulator is another process) for its log to hold `text`.
    bool SimLogShows(const std::string& text) {
        for (int i = 0; i < 200; ++i) {
            if (SimLog().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    std::string Status() {
        std::string s;
        rt.GetCtrlVal(ctx.gvMain, ctx.msgCtrl, &s);
        return s;
    }
    int Press(const char* button) { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, button)); }
    const ui::Control& Main(const char* name) {
        return *rt.GetControl(ctx.gvMain, Id(ctx.gvMain, name));
    }
    const ui::Control& Cfg(const char* name) {
        return *rt.GetControl(ctx.gvCFG, Id(ctx.gvCFG, name));
    }

    std::string comDir, errFile;
    serial::TermiosBackend termios;
    std::unique_ptr<serial::Rs232> real;
    conf_test::Child child;
};

TEST_P(TransferOnAPty, WriteAllMovesTheLinkAndThePowerCycleKeepsIt) {
    RunSimulator();
    std::ofstream("COM_Dev_use.txt") << GetParam().settings;
    Start();
    ASSERT_EQ(Status(), "Read OK") << SimLog();

    // A new station and 9600 baud on the page, then the whole set to the instrument.
    ASSERT_EQ(rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "ID"), 7), 0);
    ASSERT_EQ(rt.SetCtrlIndex(ctx.gvCFG, Id(ctx.gvCFG, "BR"), 2), 0);
    ASSERT_EQ(rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), 12), 0);
    Press("WRITE");
    EXPECT_EQ(Status(), "Write OK") << SimLog();
    EXPECT_EQ(ctx.gr, 0);
    EXPECT_EQ(Main("ID_COMM").number, 7);
    EXPECT_EQ(Main("BR_COMM").index, 2);

    // Off and on again: the instrument comes back as it was written.
    child.Signal(SIGHUP);
    ASSERT_TRUE(SimLogShows("power cycle")) << SimLog();
    Press("READ");
    EXPECT_EQ(Status(), "Read OK") << SimLog();
    EXPECT_EQ(Cfg("ID").number, 7);
    EXPECT_EQ(Cfg("BR").index, 2);
    EXPECT_EQ(Cfg("FILT").number, 12);

    EXPECT_EQ(child.Stop(), 0);
    const std::string log = SimLog();
    // The station at the old speed, the baud rate at the new station, the rest at 9600.
    for (const char* line : GetParam().heard)
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
}

INSTANTIATE_TEST_SUITE_P(Programs, TransferOnAPty, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PtyCase>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
