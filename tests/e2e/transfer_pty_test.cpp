// The configurators' transfer commands over the termios serial layer against instrument-sim on a
// pseudo-terminal, in real time: the link settings a write-all changes, the port reopened at
// the new speed, and what the instrument still holds after a power cycle.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model_cases.h"
#include "tests/support/fixtures.h"

namespace {

namespace fs = std::filesystem;

// One model's run, with what the instrument must hear after the write-all and the read that
// follows the power cycle.
struct PtyCase {
    e2etest::ModelCase run;
    std::vector<const char*> heard;
};

const PtyCase kCases[] = {
    {e2etest::kModelCases[0],
     {"19200 8?2 01 05 00 0D 00 07", "19200 8?2 07 05 00 0E 00 02", "9600 8?2 07 05 00 08 00 0C",
      "9600 8?2 07 06 00 1C", "9600 8?2 07 03 00 00 00 1F"}},
    {e2etest::kModelCases[1],
     {"19200 8?2 01 05 00 0D 00 07", "19200 8?2 07 05 00 0E 00 02", "9600 8?2 07 05 00 08 00 0C",
      "9600 8?2 07 06 00 1E", "9600 8?2 07 10 10 01 00 02 04", "9600 8?2 07 03 00 00 00 1F",
      "9600 8?2 07 03 10 01 00 12"}},
};

class TransferOnAPty : public ptytest::ConfiguratorOnAPty,
                       public ::testing::WithParamInterface<PtyCase> {
  protected:
    TransferOnAPty() : ConfiguratorOnAPty(*GetParam().run.model) {}
};

TEST_P(TransferOnAPty, WriteAllMovesTheLinkAndThePowerCycleKeepsIt) {
    RunSimulator(GetParam().run.simModel);
    std::ofstream("COM_Dev_use.txt") << GetParam().run.settings;
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
                         [](const auto& p) { return std::string(p.param.run.name); });

}  // namespace
