// Read-all (the Read button) with the parameter block's read struck by each fault, both
// models: the status, the trace the struck read leaves, the time it takes, what the pages
// show, and a clean read once the line is clean again.

#include "configurator_faults.h"

namespace faulttest {
namespace {

class ReadAllFaults : public ConfiguratorFaults {};

TEST_P(ReadAllFaults, TheBlockReadStruck) {
    StartInstrument();
    // A filter value the pages do not show yet: it comes with the 16-bit block.
    Put(8, 9);
    inst->TakeLog();
    // Model A: device check, display setup, the block. Model B: device check, serial
    // number, display setup, polarity, the 16-bit block, then the 32-bit values.
    Arm(IsB() ? 5 : 2);
    const std::size_t mark = Size("log.txt");
    const double took = Timed([&] { PressRead(); });
    const std::string trace = Since("log.txt", mark);

    ExpectStruckTrace(trace);
    ExpectWithinTimeouts(took, trace);
    if (Fails()) {
        ExpectStatus("Read NG", 0xFF0000);
        EXPECT_LT(ctx.gr, 0);
        ExpectTraceEndsWithFailure(trace);
        // What came before the failure stays on the pages, nothing after it is applied.
        EXPECT_EQ(Cfg("FILT").number, IsB() ? 9 : 5);
        EXPECT_EQ(Count(trace, "Modbus r RS485"), 0);
    } else {
        ExpectStatus("Read OK", 0x008000);
        EXPECT_EQ(ctx.gr, 0);
        EXPECT_EQ(Cfg("FILT").number, 9);
    }
    AddRow("Read-all (block read struck)", StatusCell(), "none written");

    ClearLine();
    Put(8, 11);
    const std::size_t clean = Size("log.txt");
    PressRead();
    ExpectStatus("Read OK", 0x008000);
    EXPECT_EQ(Cfg("FILT").number, 11);
    ExpectClean(Since("log.txt", clean));
}

INSTANTIATE_TEST_SUITE_P(Matrix, ReadAllFaults, ::testing::ValuesIn(Cells()), CellName);

}  // namespace
}  // namespace faulttest
