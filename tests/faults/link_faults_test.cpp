// Link start and recovery (the UART button) with each fault, both models: struck on the read of
// the link's second values, and struck on the baud-rate write of the recovery. The status, the
// trace, the time, the link controls and the port, and a clean start once the line is clean.

#include "platform/serial/rs232.h"
#include "stage_faults.h"

namespace faulttest {
namespace {

class LinkFaults : public StageFaults {
  protected:
    int PressUart() { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, "UART")); }
    int Number(const char* name) { return static_cast<int>(Main(name).number); }
    int Index(const char* name) {
        int index = -1;
        rt.GetCtrlIndex(ctx.gvMain, Id(ctx.gvMain, name), &index);
        return index;
    }
    // Starts the link with request `after` struck; a start that succeeds says nothing on the
    // status line.
    std::string StruckStart(int after, const char* failed) {
        StartInstrument();
        const std::string before = Status();
        const std::string trace =
            StruckTrace(after, failed, nullptr, "log.txt", [&] { PressUart(); });
        if (!Fails()) {
            EXPECT_EQ(Status(), before);
        }
        return trace;
    }
    // The table row, then a start with the adapter still out and one on the clean line.
    void Recover(const std::string& stage) {
        AddRow(stage, Fails() ? StatusCell() : "unchanged", "none written");
        if (Vanish()) ExpectStartWhileGone();
        ClearLine();
        ExpectCleanStart();
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
        EXPECT_EQ(Count(trace, "Recover RTU\n"), 1) << trace;
        EXPECT_TRUE(com.IsOpen(222));
        EXPECT_EQ(Number("ID_COMM"), 1);
        EXPECT_EQ(Index("BR_COMM"), 3);
        EXPECT_EQ(Index("RTU_COMM"), 1);
        // The port follows the controls: the next request is answered.
        ExpectCleanRun("log.txt", "Read OK", [&] { PressRead(); });
    }
};

TEST_P(LinkFaults, TheSecondValuesReadStruck) {
    const std::string trace = StruckStart(0, "Read NG");
    if (Fails()) {
        // Nothing was recovered: the port stays as the file opened it.
        EXPECT_EQ(Count(trace, "Recover ID"), 0);
        EXPECT_EQ(Count(trace, "Open COM ("), 1);
    } else {
        EXPECT_EQ(Count(trace, "Recover RTU\n"), 1);
        EXPECT_EQ(Count(trace, "Open COM ("), 3);
    }
    Recover("Link start (second values read struck)");
}

TEST_P(LinkFaults, TheRecoveryBaudRateWriteStruck) {
    // The block read, the station write, then the baud rate.
    const std::string trace = StruckStart(2, "Write NG");
    EXPECT_EQ(Number("ID_COMM"), 1);
    if (Fails()) {
        // The station was recovered, the baud rate was not: the port is not reopened.
        EXPECT_EQ(Count(trace, "Recover RTU"), 0);
        EXPECT_EQ(Count(trace, "Open COM ("), 1);
        if (!Vanish()) {
            EXPECT_TRUE(com.IsOpen(222));
        }
    } else {
        EXPECT_EQ(Count(trace, "Open COM ("), 3);
    }
    Recover("Link recovery (baud-rate write struck)");
}

INSTANTIATE_TEST_SUITE_P(Matrix, LinkFaults, ::testing::ValuesIn(Cells()), CellName);

}  // namespace
}  // namespace faulttest
