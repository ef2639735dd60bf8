// Link start and recovery (the UART button) with each fault, both models: struck on the read of
// the link's second values, and struck on the baud-rate write of the recovery. The status, the
// trace, the time, the link controls and the port, and a clean start once the line is clean.

#include "configurator_faults.h"
#include "platform/serial/rs232.h"

namespace faulttest {
namespace {

class LinkFaults : public ConfiguratorFaults {
  protected:
    int PressUart() { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, "UART")); }
    int Number(const char* name) { return static_cast<int>(Main(name).number); }
    int Index(const char* name) {
        int index = -1;
        rt.GetCtrlIndex(ctx.gvMain, Id(ctx.gvMain, name), &index);
        return index;
    }
    // With the adapter still out, a start cannot open the port: said at once, nothing waits.
    void ExpectStartWhileGone() {
        const std::size_t mark = Size("log.txt");
        const double took = Timed([&] { PressUart(); });
        EXPECT_LT(took, 0.01);
        ExpectStatus("Open COM NG", 0xFF0000);
        const std::string log = Since("log.txt", mark);
        EXPECT_NE(log.find(kStars + " " + ctx.Source("__UART") + " :: 22881363 \n" + kStars +
                           " Open COM NG :: err code : "),
                  std::string::npos)
            << log;
        EXPECT_EQ(Count(log, "\tMB.Tx\t"), 0) << log;
    }
    // A start on the clean line: the whole recovery, the port at the instrument's settings.
    void ExpectCleanStart() {
        const std::size_t clean = Size("log.txt");
        PressUart();
        const std::string trace = Since("log.txt", clean);
        ExpectClean(trace);
        EXPECT_NE(trace.find("Recover RTU\n"), std::string::npos) << trace;
        EXPECT_TRUE(com.IsOpen(222));
        EXPECT_EQ(Number("ID_COMM"), 1);
        EXPECT_EQ(Index("BR_COMM"), 3);
        EXPECT_EQ(Index("RTU_COMM"), 1);
        // The port follows the controls: the next request is answered.
        const std::size_t after = Size("log.txt");
        PressRead();
        ExpectStatus("Read OK", 0x008000);
        ExpectClean(Since("log.txt", after));
    }
};

TEST_P(LinkFaults, TheSecondValuesReadStruck) {
    StartInstrument();
    const std::string before = Status();
    Arm(0);
    const std::size_t mark = Size("log.txt");
    const double took = Timed([&] { PressUart(); });
    const std::string trace = Since("log.txt", mark);

    ExpectStruckTrace(trace);
    ExpectWithinTimeouts(took, trace);
    if (Fails()) {
        ExpectStatus("Read NG", 0xFF0000);
        ExpectTraceEndsWithFailure(trace);
        // Nothing was recovered: the port stays as the file opened it.
        EXPECT_EQ(Count(trace, "Recover ID"), 0);
        EXPECT_EQ(Count(trace, "Open COM ("), 1);
    } else {
        // A start that succeeds says nothing on the status line.
        EXPECT_EQ(Status(), before);
        EXPECT_EQ(Count(trace, "Recover RTU\n"), 1);
        EXPECT_EQ(Count(trace, "Open COM ("), 3);
    }
    AddRow("Link start (second values read struck)", Fails() ? StatusCell() : "unchanged",
           "none written");

    if (Vanish()) ExpectStartWhileGone();
    ClearLine();
    ExpectCleanStart();
}

TEST_P(LinkFaults, TheRecoveryBaudRateWriteStruck) {
    StartInstrument();
    const std::string before = Status();
    // The block read, the station write, then the baud rate.
    Arm(2);
    const std::size_t mark = Size("log.txt");
    const double took = Timed([&] { PressUart(); });
    const std::string trace = Since("log.txt", mark);

    ExpectStruckTrace(trace);
    ExpectWithinTimeouts(took, trace);
    EXPECT_EQ(Number("ID_COMM"), 1);
    if (Fails()) {
        ExpectStatus("Write NG", 0xFF0000);
        ExpectTraceEndsWithFailure(trace);
        // The station was recovered, the baud rate was not: the port is not reopened.
        EXPECT_EQ(Count(trace, "Recover RTU"), 0);
        EXPECT_EQ(Count(trace, "Open COM ("), 1);
        if (!Vanish()) {
            EXPECT_TRUE(com.IsOpen(222));
        }
    } else {
        EXPECT_EQ(Status(), before);
        EXPECT_EQ(Count(trace, "Open COM ("), 3);
    }
    AddRow("Link recovery (baud-rate write struck)", Fails() ? StatusCell() : "unchanged",
           "none written");

    if (Vanish()) ExpectStartWhileGone();
    ClearLine();
    ExpectCleanStart();
}

INSTANTIATE_TEST_SUITE_P(Matrix, LinkFaults, ::testing::ValuesIn(Cells()), CellName);

}  // namespace
}  // namespace faulttest
