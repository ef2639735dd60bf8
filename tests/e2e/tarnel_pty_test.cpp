// Tarnel itself, started as a technician starts it, against instrument-sim on the far side of
// a pseudo-terminal: the link start's requests as the instrument heard them, the trace in
// Tarnel's log.

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <thread>

#include "run_tree.h"

namespace {

using namespace e2etest;

// A run-time tree (bin/Tarnel, gui/, comports/) that is also the runtime directory.
class TarnelOnAPty : public RunTree {
  protected:
    TarnelOnAPty() : RunTree("tarnel_e2e") {
        fs::permissions(root, fs::perms::owner_all);
        for (const char* program : {"Tarnel", "Ombrel"})
            fs::create_symlink(fs::path(SUITE_BIN_DIR) / program, root / "bin" / program);
    }
    // Runs `program` in bin/, headless, until it quits by itself: its exit status, -1 after 30 s.
    int RunProgram(const char* program, const std::string& quitAfter,
                   const std::vector<std::string>& env = {}) {
        const std::string bin = "-C" + (root / "bin").string(), runtime = root.string(),
                          quit = "SUITE_QUIT_AFTER=" + quitAfter;
        std::vector<std::string> argv = {"/usr/bin/env", bin, "QT_QPA_PLATFORM=offscreen", quit,
                                         "XDG_RUNTIME_DIR=" + runtime};
        argv.insert(argv.end(), env.begin(), env.end());
        argv.push_back((root / "bin" / program).string());
        conf_test::Child run;
        const bool spawned = run.Spawn(argv, comDir.string(), (root / "tarnel.err").string());
        return spawned ? run.Wait(30.0) : -1;
    }
    // instrument-sim with `args` on a pseudo-terminal, its log in sim.err.
    void Sim(const std::vector<std::string>& args) { RunSim(sim, args, comDir, root / "sim.err"); }

    conf_test::Child sim;
};

TEST_F(TarnelOnAPty, LinkStartAndRecoveryOfTheSimulatedInstrumentAreTraced) {
    // The scanner's hand-over: the simulator on COM8 at station 1, 19200 8N2.
    std::ofstream(root / "bin" / "COM_Dev_use.txt") << "8\n3\n0\n8\n2\n6802";
    Sim({"--model", "A", "--com", "8", "--log"});
    ASSERT_TRUE(fs::exists(comDir / "COM8"));
    EXPECT_EQ(RunProgram("Tarnel", "3"), 0);
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(comDir / "COM8")));  // link removed

    // The instrument's side: the block read, then station, baud rate and frame format put back,
    // byte for byte with their CRCs, before anything else.
    std::vector<std::string> heard;  // its log lines, without the time in front
    std::istringstream in(Slurp(root / "sim.err"));
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])))
            heard.push_back(line.substr(line.find(' ') + 1));
    const char* expected[] = {
        "19200 8?2 01 03 10 00 00 06 C1 08 -> answered: 01 03 0C 00 01 00 03 ",
        "19200 8?2 01 05 00 0D 00 01 9D C9 -> answered: 01 05 00 0D 00 01 9D C9",
        "19200 8?2 01 05 00 0E 00 03 EC 08 -> answered: 01 05 00 0E 00 03 EC 08",
        "19200 8?2 01 05 00 1D 00 01 9C 0C -> answered: 01 05 00 1D 00 01 9C 0C"};
    ASSERT_GE(heard.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(heard[i].rfind(expected[i], 0), 0u) << heard[i];

    // Tarnel's side, from the first line of its log: no error line at all.
    const std::string log = Slurp(root / "bin" / "log.txt");
    EXPECT_EQ(log.rfind("gvLogYN = 0 \nOpen COM ( P222,   COM8, 19200, 0, 8, 2 ) \tSet Com Time "
                        "(s) : 0.500000\n\n"
                        "\tP222\tMB.Tx\t#01.03 <1000> (0006) {c108}\tRead\n"
                        "\tP222\tMB.Rx\t#01.03 (0c)   [0001][0003]  [",
                        0),
              0u)
        << log;
    for (const char* echo :
         {"<000d> [0001] {9dc9}", "<000e> [0003] {ec08}", "<001d> [0001] {9c0c}"})
        EXPECT_NE(log.find(std::string("\tP222\tMB.Rx\t#01.05 ") + echo + "\tWrite RAM\n"),
                  std::string::npos)
            << log;
    EXPECT_EQ(log.find("\xA1\xB9"), std::string::npos) << log;
}

// Ombrel the same way: its recovery block, then the read-all with the 32-bit values, all before
// its window shows.
TEST_F(TarnelOnAPty, OmbrelRecoversFromItsOwnBlockAndReadsItsThirtyTwoBitValues) {
    std::ofstream(root / "bin" / "COM_Dev_use.txt") << "8\n3\n0\n8\n2\n6902";
    std::ofstream(root / "bin" / "YN_log_dbg.txt") << "1 0";
    Sim({"--model", "B", "--com", "8", "--log"});
    EXPECT_EQ(RunProgram("Ombrel", "3"), 0);
    EXPECT_EQ(sim.Stop(), 0);
    const std::string heard = Slurp(root / "sim.err");
    for (const char* request : {"19200 8?2 01 03 10 0C 00 03", "19200 8?2 01 05 00 0D 00 01",
                                "19200 8?2 01 03 1F 02 00 02", "19200 8?2 01 03 0A 08 00 01",
                                "19200 8?2 01 03 10 01 00 12", "19200 8?2 01 03 00 20 00 01"})
        EXPECT_NE(heard.find(request), std::string::npos) << request << "\n" << heard;
    const std::string log = Slurp(root / "bin" / "log.txt");
    EXPECT_EQ(log.find("gvLogYN"), std::string::npos) << log;
    EXPECT_NE(log.find("Modbus r 32-bit Parameter of Dev 9 Dwords \n"), std::string::npos) << log;
    EXPECT_NE(log.find("<1005>\t[1f40]\t   8000   \tA1SP\n"), std::string::npos) << log;
}

// The loop of the suite with the real programs: Scan sweeps COM8, finds the instrument at a
// setting nobody told it, forces it onto station 1, 19200 8N2, writes the settings file and
// starts Tarnel, which reads the instrument.
TEST_F(TarnelOnAPty, ScanFindsTheInstrumentAndStartsTarnelWhichReadsIt) {
    fs::create_symlink(fs::path(SUITE_BIN_DIR) / "Scan", root / "bin" / "Scan");
    std::ofstream(root / "bin" / "YN_log_dbg.txt") << "1 0";
    Sim({"--model", "A", "--com", "8", "--station", "7", "--baud", "9600", "--format", "8N1",
         "--log"});
    EXPECT_EQ(
        RunProgram("Scan", "60",
                   {"SUITE_SCREENSHOT=" + (root / "shot-%p.png").string(),
                    "SUITE_SCREENSHOT_KEYS_Scan=click:AUTO_SCAN", "SUITE_QUIT_AFTER_Tarnel=3"}),
        0);
    // Tarnel runs on after Scan has ended: wait for its read in the log.
    std::string log;
    for (int i = 0; i < 200; ++i) {
        log = Slurp(root / "bin" / "log.txt");
        if (log.find("Modbus r SN") != std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_NE(log.find("=============Read para"), std::string::npos) << log;
    EXPECT_NE(log.find("Modbus r SN"), std::string::npos) << log;
    EXPECT_EQ(Slurp(root / "bin" / "COM_Dev_use.txt"), "8\n3\n0\n8\n2\n6802");
    std::this_thread::sleep_for(std::chrono::seconds(4));  // Tarnel's own end
    EXPECT_EQ(sim.Stop(), 0);
    const std::string heard = Slurp(root / "sim.err");
    EXPECT_NE(heard.find("9600 8?1 00 "), std::string::npos) << heard;  // the forcing broadcast
    EXPECT_NE(heard.find("19200 8?2 01 03 1F 00 00 01"), std::string::npos) << heard;
}

// Start Scan in Tarnel ends Tarnel and starts the sibling Scan, which comes up in the same
// folder (it makes its language file there on its first start).
TEST_F(TarnelOnAPty, StartScanBringsScanBack) {
    std::ofstream(root / "bin" / "COM_Dev_use.txt") << "250\n3\n0\n8\n2\n6802";
    ASSERT_FALSE(fs::exists(root / "bin" / "Language_Selection.txt"));
    EXPECT_EQ(RunProgram("Tarnel", "20",
                         {"SUITE_SCREENSHOT=" + (root / "shot-%p.png").string(),
                          "SUITE_SCREENSHOT_KEYS_Tarnel=Alt+S S", "SUITE_QUIT_AFTER_Scan=2"}),
              0);
    bool scanStarted = false;
    for (int i = 0; i < 200 && !scanStarted; ++i) {
        scanStarted = fs::exists(root / "bin" / "Language_Selection.txt");
        if (!scanStarted) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(scanStarted);
    std::this_thread::sleep_for(std::chrono::seconds(3));  // Scan's own end
}

}  // namespace
