// One probe of Scan's sweep with the model-code read struck by each fault: the probe's time,
// the trace, the status and indices, the settings file, and the instrument found once the line
// is clean (on the next probe, or by a new Auto Scan after the port came back).

#include "fault_fixture.h"

namespace faulttest {
namespace {

class SweepFaults : public scantest::SweepTest, public ::testing::WithParamInterface<Cell> {
  protected:
    sim::FaultKind Kind() const { return GetParam().fault.kind; }
    bool Vanish() const { return faulttest::Vanish(GetParam()); }
    bool Fails() const { return faulttest::Fails(GetParam()); }
    std::string Status() { return Text("STATUS"); }
    int StatusColour() { return Attr("STATUS", ui::ATTR_TEXT_COLOR); }
    std::string StatusCell() { return "\"" + Status() + "\" " + Colour(StatusColour()); }
    // Found and handed over: the settings recorded, Tarnel started, Scan's panel gone.
    void ExpectFound() {
        EXPECT_TRUE(fe.QuitRequested());
        EXPECT_NE(Log().find("Mcode(HW+FW) : 0x6802 \n"), std::string::npos);
        EXPECT_EQ(Slurp("COM_Dev_use.txt"), "5\n3\n0\n8\n2\n6802");
        EXPECT_EQ(launcher.calls, (std::vector<sys::RecordingLauncher::Call>{{"Tarnel.exe", {}}}));
    }
};

// The model-code request of every probe.
const Bytes kMcodeRead{0x01, 0x03, 0x1F, 0x00, 0x00, 0x01, 0x83, 0xDE};

TEST_P(SweepFaults, TheModelCodeReadStruck) {
    // At 19200 8N1, station 7: the first probe's broadcast puts it on 8N2, station 1.
    sim::Instrument& inst = AddInstrument(5, 0x68, 3, 0, 7);
    Start();
    Press("AUTO_SCAN");
    // Broadcasts are never struck: the first request the fault sees is the model-code read.
    inst.AddFault(MakeFault(Kind(), GetParam().strike, 0));
    const std::size_t mark = Log().size();
    const double start = fe.VirtualClock().Now();
    const int result = Tick();
    const double took = fe.VirtualClock().Now() - start;
    const std::string trace = Log().substr(mark);

    // A probe takes the broadcast's time-outs and the read's attempts, nothing more.
    const int struck = Fails() ? (Vanish() ? 1 : kAttempts) : 1;
    const int attempts = Count(trace, "\tMB.Tx\t");
    EXPECT_EQ(Count(trace, "---Broadcast--- "), kAttempts);
    EXPECT_LE(took, StageBound(attempts, struck + kAttempts)) << trace;
    std::string files = "`COM_Dev_use.txt` written, Tarnel started";
    if (Fails()) {
        EXPECT_EQ(result, -1);
        const std::string failed = FailedRequestTrace(Kind(), kMcodeRead);
        ASSERT_GE(trace.size(), failed.size());
        EXPECT_EQ(trace.substr(trace.size() - failed.size()), failed) << trace;
        // No instrument at this combination: on to the next one.
        EXPECT_EQ(Indices(), std::make_pair(3, 1));
        EXPECT_EQ(Status(), "Scanning");
        EXPECT_EQ(StatusColour(), 0x0000FF);
        EXPECT_FALSE(std::filesystem::exists("COM_Dev_use.txt"));
        files = "nothing written";
    } else {
        EXPECT_EQ(result, 0);
        EXPECT_NE(trace.find(RetriedRequestTrace(Kind(), kMcodeRead)), std::string::npos) << trace;
        ExpectFound();
    }
    Record({"Sweep probe (model-code read struck)", "Scan", StrikeName(GetParam()),
            Fails() ? StatusCell() + (Vanish() ? ", indices on; the next probe cannot open the "
                                                 "port: popup `Open COM NG :: err code : ..`, "
                                                 "sweep stopped"
                                               : ", indices on to the next probe")
                    : "found: `Tarnel.exe` started, Scan closes",
            ErrorLabel(Kind(), GetParam().strike), files,
            Fails() ? "nothing: the failed request ends the log"
                    : "the request again and its answer; the hand-over"});
    if (!Fails()) return;

    if (Vanish()) {
        // The port has gone: the next probe cannot open it and the sweep stops there.
        EXPECT_EQ(Tick(), -1);
        EXPECT_FALSE(TimerOn());
        ASSERT_FALSE(fe.Popups().empty());
        EXPECT_EQ(fe.Popups().back().text.rfind("Open COM NG :: err code : ", 0), 0u);
        // The status keeps what the sweep last said.
        EXPECT_EQ(Status(), "Scanning");
        inst.Replug();
        fe.VirtualClock().Advance(2.0);
        Press("AUTO_SCAN");
    } else {
        fe.VirtualClock().Advance(2.0);
    }
    const std::size_t clean = Log().size();
    EXPECT_EQ(Tick(), 0);
    ExpectFound();
    const std::string after = Log().substr(clean);
    EXPECT_EQ(Count(after, kStars + " COM read Time-out"), kAttempts) << after;  // the broadcast
    EXPECT_NE(after.find(TxLine(kMcodeRead) + "\tP222\tMB.Rx\t#01.03 "), std::string::npos)
        << after;
}

INSTANTIATE_TEST_SUITE_P(Matrix, SweepFaults, ::testing::ValuesIn(Cells({&conf::ModelA()})),
                         CellName);

}  // namespace
}  // namespace faulttest
