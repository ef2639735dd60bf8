// Read-all (the Read button) with the parameter block's read struck by each fault, both
// models: the status, the trace the struck read leaves, the time it takes, what the pages
// show, and a clean read once the line is clean again.

#include "stage_faults.h"

namespace faulttest {
namespace {

class ReadAllFaults : public StageFaults {};

TEST_P(ReadAllFaults, TheBlockReadStruck) {
    StartInstrument();
    // A filter value the pages do not show yet: it comes with the 16-bit block.
    Put(8, 9);
    inst->TakeLog();
    // Model A: device check, display setup, the block. Model B: device check, serial
    // number, display setup, polarity, the 16-bit block, then the 32-bit values.
    const std::string trace =
        StruckTrace(IsB() ? 5 : 2, "Read NG", "Read OK", "log.txt", [&] { PressRead(); });
    if (Fails()) {
        EXPECT_LT(ctx.gr, 0);
        // What came before the failure stays on the pages, nothing after it is applied.
        EXPECT_EQ(Cfg("FILT").number, IsB() ? 9 : 5);
        EXPECT_EQ(Count(trace, "Modbus r RS485"), 0);
    } else {
        EXPECT_EQ(ctx.gr, 0);
        EXPECT_EQ(Cfg("FILT").number, 9);
    }
    AddRow("Read-all (block read struck)", StatusCell(), "none written");

    ClearLine();
    Put(8, 11);
    ExpectCleanRun("log.txt", "Read OK", [&] { PressRead(); });
    EXPECT_EQ(Cfg("FILT").number, 11);
}

INSTANTIATE_TEST_SUITE_P(Matrix, ReadAllFaults, ::testing::ValuesIn(Cells()), CellName);

}  // namespace
}  // namespace faulttest
