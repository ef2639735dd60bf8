// The programs themselves, started as a technician or a script starts them, against
// instrument-sim on the far side of a pseudo-terminal: their command lines without a display,
// the link start's requests as the instrument heard them, the trace in the program's log, and
// the hand-over between Scan and Tarnel.

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <thread>

#include "run_tree.h"

namespace {

using namespace e2etest;

// A run-time tree (bin/Tarnel, gui/, comports/) that is also the runtime directory (mkdtemp
// makes it private).
class Programs : public RunTree {
  protected:
    Programs() { fs::create_symlink(fs::path(SUITE_BIN_DIR) / "Tarnel", root / "bin" / "Tarnel"); }
    // <program> <args> in bin/ with no display.
    Outcome Run(const std::string& program, const std::vector<std::string>& args) {
        return RunHeadless(SUITE_BIN_DIR "/" + program, args, root / "bin", comDir,
                           root / "err.txt");
    }
    // Runs `program` in bin/ with its window off screen until it quits by itself: its exit
    // status, -1 after 30 s.
    int RunWindow(const char* program, const std::string& quitAfter,
                  const std::vector<std::string>& env = {}) {
        std::vector<std::string> argv = {
            "/usr/bin/env", "-C" + (root / "bin").string(), "QT_QPA_PLATFORM=offscreen",
            "SUITE_QUIT_AFTER=" + quitAfter, "XDG_RUNTIME_DIR=" + root.string()};
        argv.insert(argv.end(), env.begin(), env.end());
        argv.push_back((root / "bin" / program).string());
        conf_test::Child run;
        return run.Spawn(argv, comDir.string(), (root / "tarnel.err").string()) ? run.Wait(30.0)
                                                                                : -1;
    }
    // instrument-sim with `args` on a pseudo-terminal, its log in sim.err.
    void Sim(const std::vector<std::string>& args) { RunSim(sim, args, comDir, root / "sim.err"); }
    // Polls `done` for up to ten seconds: the programs run on by themselves.
    static bool WaitFor(const std::function<bool()>& done) {
        for (int i = 0; i < 200 && !done(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return done();
    }

    conf_test::Child sim;
};

// --help and --version answer on standard output with exit code 0, with no display to open a
// window on and nothing written where the program would run; Scan --find with nothing to find
// is status 1, a wrong option 2, and an instrument found 0.
TEST_F(Programs, CommandLinesAnswerWithoutAWindow) {
    for (const std::string program : {"Tarnel", "Ombrel", "Scan"}) {
        Outcome o = Run(program, {"--version"});
        EXPECT_EQ(o.out, program + " Ver.2013-05-28-A\n");
        EXPECT_EQ(o.code, 0) << program;
        o = Run(program, {"--help"});
        EXPECT_EQ(o.code, 0) << program;
        EXPECT_EQ(o.out.rfind("usage: " + program + " [--help] [--version]\n", 0), 0u) << o.out;
        EXPECT_FALSE(fs::exists(root / "bin" / "log.txt")) << program;
    }

    // A COM number whose device is gone: the sweep stops at once, nothing is written.
    fs::create_symlink("/dev/nonexistent-adapter", comDir / "COM7");
    Outcome o = Run("Scan", {"--find", "--port", "COM7", "--workdir", "../empty"});
    EXPECT_EQ(o.code, 1) << o.err;
    EXPECT_EQ(o.out, "");
    EXPECT_TRUE(Holds(o.err, "Scan: nothing found on COM7"));
    EXPECT_FALSE(fs::exists(root / "empty/COM_Dev_use.txt"));
    o = Run("Scan", {"--find", "--bogus"});
    EXPECT_EQ(o.code, 2);
    EXPECT_EQ(o.err, "Scan: unknown option \"--bogus\" (see Scan --help)\n");

    // Against an instrument at settings nobody told it: found, forced, both files written, one
    // line, and no configurator started.
    Sim({"--model", "B", "--station", "9", "--baud", "19200", "--format", "8N1", "--com", "5"});
    o = Run("Scan", {"--find", "--port", "COM5", "--workdir", "../found"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_TRUE(std::regex_match(o.out, std::regex("COM5 19200 8N1 station 1 model 0x69[0-9a-f]{2} "
                                                   "Ombrel\n")))
        << o.out;
    EXPECT_EQ(ReadFile(root / "found/COM_Dev_use.txt").rfind("5\n3\n0\n8\n2\n69", 0), 0u);
    EXPECT_TRUE(fs::exists(root / "found/COM_Dev_use_COMMENT.txt"));
    // Scan's own log, and nothing of a configurator's start after it.
    const std::string log = ReadFile(root / "found/log.txt");
    EXPECT_TRUE(Holds(log, "Mcode(HW+FW)"));
    EXPECT_FALSE(fs::exists(root / "found/W_para_buff_16.txt"));
}

TEST_F(Programs, TarnelsLinkStartAndRecoveryOfTheSimulatedInstrumentAreTraced) {
    // The scanner's hand-over: the simulator on COM8 at station 1, 19200 8N2.
    std::ofstream(root / "bin" / "COM_Dev_use.txt") << "8\n3\n0\n8\n2\n6802";
    Sim({"--model", "A", "--com", "8", "--log"});
    ASSERT_TRUE(fs::exists(comDir / "COM8"));
    EXPECT_EQ(RunWindow("Tarnel", "3"), 0);
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(comDir / "COM8")));  // link removed

    // The instrument's side: the block read, then station, baud rate and frame format put back,
    // byte for byte with their CRCs, before anything else.
    std::vector<std::string> heard;  // its log lines, without the time in front
    std::istringstream in(ReadFile(root / "sim.err"));
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
    const std::string log = ReadFile(root / "bin" / "log.txt");
    EXPECT_EQ(log.rfind("gvLogYN = 0 \nOpen COM ( P222,   COM8, 19200, 0, 8, 2 ) \tSet Com Time "
                        "(s) : 0.500000\n\n"
                        "\tP222\tMB.Tx\t#01.03 <1000> (0006) {c108}\tRead\n"
                        "\tP222\tMB.Rx\t#01.03 (0c)   [0001][0003]  [",
                        0),
              0u)
        << log;
    for (const char* echo :
         {"<000d> [0001] {9dc9}", "<000e> [0003] {ec08}", "<001d> [0001] {9c0c}"})
        EXPECT_TRUE(Holds(log, std::string("\tP222\tMB.Rx\t#01.05 ") + echo + "\tWrite RAM\n"));
    EXPECT_FALSE(Holds(log, "\xA1\xB9"));
}

// The loop of the suite with the real programs: Scan sweeps COM8, finds the instrument at a
// setting nobody told it, forces it onto station 1, 19200 8N2, writes the settings file and
// starts Tarnel, which reads the instrument.
TEST_F(Programs, ScanFindsTheInstrumentAndStartsTarnelWhichReadsIt) {
    fs::create_symlink(fs::path(SUITE_BIN_DIR) / "Scan", root / "bin" / "Scan");
    std::ofstream(root / "bin" / "YN_log_dbg.txt") << "1 0";
    Sim({"--model", "A", "--com", "8", "--station", "7", "--baud", "9600", "--format", "8N1",
         "--log"});
    EXPECT_EQ(
        RunWindow("Scan", "60",
                  {"SUITE_SCREENSHOT=" + (root / "shot-%p.png").string(),
                   "SUITE_SCREENSHOT_KEYS_Scan=click:AUTO_SCAN", "SUITE_QUIT_AFTER_Tarnel=3"}),
        0);
    // Tarnel runs on after Scan has ended: wait for its read in the log.
    std::string log;
    EXPECT_TRUE(WaitFor([&] {
        log = ReadFile(root / "bin" / "log.txt");
        return log.find("Modbus r SN") != std::string::npos;
    })) << log;
    EXPECT_TRUE(Holds(log, "=============Read para"));
    EXPECT_EQ(ReadFile(root / "bin" / "COM_Dev_use.txt"), "8\n3\n0\n8\n2\n6802");
    std::this_thread::sleep_for(std::chrono::seconds(4));  // Tarnel's own end
    EXPECT_EQ(sim.Stop(), 0);
    const std::string heard = ReadFile(root / "sim.err");
    EXPECT_TRUE(Holds(heard, "9600 8?1 00 "));  // the forcing broadcast
    EXPECT_TRUE(Holds(heard, "19200 8?2 01 03 1F 00 00 01"));
}

// Start Scan in Tarnel ends Tarnel and starts the sibling Scan, which comes up in the same
// folder (it makes its language file there on its first start).
TEST_F(Programs, StartScanInTarnelBringsScanBack) {
    std::ofstream(root / "bin" / "COM_Dev_use.txt") << "250\n3\n0\n8\n2\n6802";
    ASSERT_FALSE(fs::exists(root / "bin" / "Language_Selection.txt"));
    EXPECT_EQ(RunWindow("Tarnel", "20",
                        {"SUITE_SCREENSHOT=" + (root / "shot-%p.png").string(),
                         "SUITE_SCREENSHOT_KEYS_Tarnel=Alt+S S", "SUITE_QUIT_AFTER_Scan=2"}),
              0);
    EXPECT_TRUE(WaitFor([&] { return fs::exists(root / "bin" / "Language_Selection.txt"); }));
    std::this_thread::sleep_for(std::chrono::seconds(3));  // Scan's own end
}

}  // namespace
