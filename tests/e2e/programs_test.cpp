// The programs themselves, started as a technician or a script starts them, against
// instrument-sim on the far side of a pseudo-terminal: their command lines without a display,
// the link start's requests as the instrument heard them, the trace in the program's log, and
// the hand-over between Scan and Tarnel. Then Tarnel's, Ombrel's and Scan's code over the
// programs' serial layer against instrument-sim in another process on a pseudo-terminal or behind
// a serial device server (COM5 in a COM folder of the test's own), in real time: what the
// instrument heard and stored, the trace, and the configurators run as a script runs them,
// compared with what the window's own procedures write on the same instrument. A pseudo-terminal
// carries baud rate and stop bits, so for Scan an instrument at 19200 8N2 is deaf to the first
// probe (8N1) and found by the second.

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "models/model_a.h"
#include "models/registry.h"
#include "platform/serial/com_map.h"
#include "platform/serial/rs232.h"
#include "platform/serial/system_backend.h"
#include "platform/sys/launch.h"
#include "platform/ui/constants.h"
#include "platform/ui/headless.h"
#include "platform/ui/runtime.h"
#include "run_tree.h"
#include "scan/scan_context.h"
#include "scan/scan_dev.h"
#include "scan/shell.h"
#include "tests/support/fixtures.h"
#include "tests/support/net_servers.h"
#include "transfer/param_file.h"

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
    const std::vector<std::string> expected = {
        "19200 8?2 01 03 10 00 00 06 C1 08 -> answered: 01 03 0C 00 01 00 03 ",
        "19200 8?2 01 05 00 0D 00 01 9D C9 -> answered: 01 05 00 0D 00 01 9D C9",
        "19200 8?2 01 05 00 0E 00 03 EC 08 -> answered: 01 05 00 0E 00 03 EC 08",
        "19200 8?2 01 05 00 1D 00 01 9C 0C -> answered: 01 05 00 1D 00 01 9C 0C"};
    // Its first log lines, without the time in front, as long as the ones expected.
    std::vector<std::string> heard;
    std::istringstream in(ReadFile(root / "sim.err"));
    for (std::string line; std::getline(in, line) && heard.size() < expected.size();)
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])))
            heard.push_back(line.substr(line.find(' ') + 1, expected[heard.size()].size()));
    EXPECT_EQ(heard, expected);

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

// --- The configurators' code on the line ---------------------------------------------------------

// Each configurator with the instrument it is made for.
struct ModelCase {
    const char* name;      // the program
    const char* simModel;  // instrument-sim's --model
    // What the instrument must hear: Tarnel's calibration step and relay test; then, after a
    // write-all to station 7 at 9600 baud and the read that follows its power cycle, the station
    // at the old speed, the baud rate at the new station, the rest at 9600.
    std::vector<const char*> heard;
};

const ModelCase kModelCases[] = {
    {"Tarnel",
     "A",
     {"19200 8?2 01 05 00 00 00 0C", "19200 8?2 01 06 00 01 00 02", "19200 8?2 01 03 10 03 00 02",
      "19200 8?2 01 05 0A 02 00 08", "19200 8?2 01 05 0A 04 00 01", "19200 8?2 01 05 0A 04 00 00",
      "19200 8?2 01 05 00 0D 00 07", "19200 8?2 07 05 00 0E 00 02", "9600 8?2 07 05 00 08 00 0C",
      "9600 8?2 07 06 00 1C", "9600 8?2 07 03 00 00 00 1F"}},
    {"Ombrel",
     "B",
     {"19200 8?2 01 05 00 0D 00 07", "19200 8?2 07 05 00 0E 00 02", "9600 8?2 07 05 00 08 00 0C",
      "9600 8?2 07 06 00 1E", "9600 8?2 07 10 10 01 00 02 04", "9600 8?2 07 03 00 00 00 1F",
      "9600 8?2 07 03 10 01 00 12"}},
};

// The scanner's hand-over for `model`'s instrument on COM5 at station 1, 19200 8N2.
void HandOver(const conf::Model& model) {
    std::ofstream("COM_Dev_use.txt") << "5\n3\n0\n8\n2\n"
                                     << std::hex << (model.id.codes[0].code << 8 | 2);
}

class OnAPty : public ptytest::ConfiguratorOnAPty, public ::testing::WithParamInterface<ModelCase> {
  protected:
    OnAPty() : ConfiguratorOnAPty(*conf::ModelOfProgram(GetParam().name)) {}
    // instrument-sim on COM5 with `simArgs`, the scanner's hand-over for it, and the start-up.
    void StartOnSim(const std::vector<std::string>& simArgs = {}) {
        RunSimulator(GetParam().simModel, simArgs);
        HandOver(ctx.model);
        Start();
    }
    // Starts the program with `args` in the test's folder, in the background.
    void Spawn(conf_test::Child& run, const std::vector<std::string>& args,
               const std::string& err) {
        ASSERT_TRUE(e2etest::SpawnHeadless(run, Program(), args, fs::current_path(), comDir, err));
    }
    Outcome Run(const std::vector<std::string>& args) {
        return e2etest::RunHeadless(Program(), args, fs::current_path(), comDir, Abs("batch.err"));
    }
    std::string Program() { return (fs::path(SUITE_BIN_DIR) / GetParam().name).string(); }
    // The window's save of its page to `name`.
    void SaveInTheWindow(const std::string& name) {
        fe.AnswerFile(ui::VAL_NEW_FILE_SELECTED, Abs(name));
        ASSERT_EQ(conf::evParaToFile(ctx, 0, 0, nullptr, ctx.gvMain), 0);
    }
    std::string Abs(const std::string& name) { return (fs::current_path() / name).string(); }
};

// --- The instrument's pages and the link a write-all moves, through an echoing adapter -----------

// Big5 "★★★", the mark of an error line.
const std::string kStars = "\xA1\xB9\xA1\xB9\xA1\xB9";

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Tarnel's input-calibration step and relay test; then a write-all that reopens the port at the
// new speed, and the instrument still holds the set after a power cycle. All of it through an
// adapter that hears its own transmission (instrument-sim --echo, COM5.conf echo=on): every
// request comes back ahead of its answer. The setting file's unknown key is said at each open,
// once; the one garbled echo costs one attempt with its own trace lines, and the second attempt
// goes through.
TEST_P(OnAPty, CalibrationAndAWriteAllThatMovesTheLinkGoThroughAnEchoingAdapter) {
    fs::create_directories(comDir);
    std::ofstream(fs::path(comDir) / "COM5.conf") << "# half-duplex adapter\necho=on\nspeed=fast\n";
    StartOnSim({"--echo", "--fault", "echo-garbled"});
    ASSERT_EQ(Status(), "Read OK") << SimLog();
    if (&ctx.model == &conf::ModelA()) {
        rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1);
        const int step = Id(ctx.gvCAL, "IC_B_7"), relay = Id(ctx.gvCAL, "RELAY_1");
        rt.UserToggle(ctx.gvCAL, step);  // "mA.L": the type and unit presets, then readings
        EXPECT_EQ(Status(), "Write OK") << SimLog();
        for (int i = 0; i < 3; ++i)
            rt.TimerTick(ctx.gvCAL, Id(ctx.gvCAL, "ADC_T"));
        EXPECT_EQ(Status(), "Read OK") << SimLog();
        EXPECT_NE(rt.GetControl(ctx.gvCAL, Id(ctx.gvCAL, "ADC_I_7_A"))->number, 0);
        rt.UserToggle(ctx.gvCAL, step);  // stored
        EXPECT_EQ(Status(), "Write OK") << SimLog();
        EXPECT_EQ(rt.GetControl(ctx.gvCAL, step)->state, 0);
        rt.UserToggle(ctx.gvCAL, relay);
        rt.UserToggle(ctx.gvCAL, relay);
        EXPECT_EQ(Status(), "Write OK");
    }
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
    EXPECT_EQ(std::make_tuple(Cfg("ID").number, Cfg("BR").index, Cfg("FILT").number),
              std::make_tuple(7, 2, 12));
    EXPECT_EQ(child.Stop(), 0);
    for (const char* line : GetParam().heard)
        EXPECT_TRUE(Holds(SimLog(), line));
    EXPECT_EQ(Count(SimLog(), "-> fault"), 1) << SimLog();
    EXPECT_TRUE(Holds(SimLog(), "-> fault echo-garbled"));
    const std::string log = Log();
    const int opens = Count(log, "Open COM ( P222,   COM5, ");
    EXPECT_GE(opens, 2);  // the start and the reopen at the new speed
    EXPECT_EQ(Count(log,
                    "Set Com Time (s) : 0.500000\n\nCOM5.conf line 3: unknown key \"speed\", "
                    "ignored\n\nCOM5: echo=on, each request is read back before its "
                    "answer\n\n"),
              opens)
        << log;
    ASSERT_EQ(Count(log, kStars), 1) << log;
    // The first request the instrument answers is struck: its station byte comes back wrong.
    const std::string first = &ctx.model == &conf::ModelA()
                                  ? "\tP222\tMB.Tx\t#01.03 <1000> (0006) {c108}\tRead\n"
                                    "\tP222\tMB.Rx\t41 03 10 00 00 06 c1 08 \n"
                                  : "\tP222\tMB.Tx\t#01.03 <100c> (0003) {c108}\tRead\n"
                                    "\tP222\tMB.Rx\t41 03 10 0c 00 03 c1 08 \n";
    const std::string retried = first.substr(0, first.find('\n') + 1);
    EXPECT_TRUE(Holds(log, first + "\t" + kStars +
                               " Echo NG : 8 of 8 bytes sent came back, not as sent\n\n" + retried +
                               "\tP222\tMB.Rx\t#01.03 "));
}

// --- Without a window, as a script runs them --------------------------------------------------

// The program saves what the window saves, and loads and writes what the window saved; two of
// them run in parallel on two ports, each in its own folder. Each failure has its exit status and
// one line; Ctrl+C ends a watch between transactions with the port closed, and a save stopped
// early leaves no file; a watch prints a line a poll for a live and an open sensor.
TEST_P(OnAPty, ScriptRunsMatchTheWindowTellEachFailureAndHonourCtrlC) {
    StartOnSim();
    ASSERT_EQ(Status(), "Read OK") << SimLog();
    SaveInTheWindow("window.txt");
    // A set that differs from the instrument in its filter, and one with a value out of range.
    ASSERT_EQ(rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), 12), 0);
    SaveInTheWindow("changed.txt");
    ASSERT_EQ(rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), 5000), 0);
    SaveInTheWindow("oor.txt");
    real->CloseCom(222);  // for the program to have the port

    Outcome o = Run({"--port", "COM5", "--workdir", "../work", "--save", "batch.txt"});
    ASSERT_EQ(o.code, 0) << o.err << SimLog();
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(Slurp("batch.txt"), Slurp("window.txt"));
    // The log is in the working folder given, not in the folder the command was given in.
    EXPECT_TRUE(Holds(Slurp("../work/log.txt"), "COM5"));
    EXPECT_EQ(Slurp("../work/COM_Dev_use.txt").rfind("5\n3\n0\n8\n2\n", 0), 0u);

    o = Run({"--port", "5", "--load", "oor.txt", "--write"});
    EXPECT_EQ(o.code, 3) << o.err;
    EXPECT_TRUE(Holds(o.err,
                      "oor.txt: Out of Range: 1 value(s) outside their range (FILT), "
                      "nothing written\n"));

    o = Run({"--port", "5", "--load", "changed.txt", "--write"});
    ASSERT_EQ(o.code, 0) << o.err << SimLog();
    o = Run({"--port", "5", "--save", "after.txt"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(Slurp("after.txt"), Slurp("changed.txt"));

    // Two ports in parallel, each in its own folder.
    conf_test::Child second;
    RunSim(second, {"--model", GetParam().simModel, "--com", "6"}, comDir, errFile + "6");
    conf_test::Child a, b;
    Spawn(a, {"--port", "COM5", "--workdir", "../w5", "--save", "s5.txt"}, Abs("a.err"));
    Spawn(b, {"--port", "COM6", "--workdir", "../w6", "--save", "s6.txt"}, Abs("b.err"));
    ASSERT_EQ(a.Wait(40), 0) << Slurp("a.err");
    ASSERT_EQ(b.Wait(40), 0) << Slurp("b.err");
    EXPECT_EQ(Slurp("s5.txt"), Slurp("after.txt"));
    EXPECT_EQ(Slurp("s6.txt"), Slurp("window.txt"));
    EXPECT_EQ(Slurp("../w5/COM_Dev_use.txt").rfind("5\n", 0), 0u);
    EXPECT_EQ(Slurp("../w6/COM_Dev_use.txt").rfind("6\n", 0), 0u);

    // Each failure of a command line has its exit status and one line.
    std::ofstream("garbage.txt") << "not a parameter file\n";
    const std::string program = GetParam().name;
    struct Row {
        std::vector<std::string> args;
        int code;
        // The start of the last stderr line after "<program>: " and, for a file's trouble (code
        // 3), the file's absolute path.
        std::string err;
    };
    const std::vector<Row> rows = {
        {{"--bogus"}, 2, "unknown option \"--bogus\""},
        {{"--port", "5", "--load", "garbage.txt"}, 2, "--load needs --write"},
        {{"--port", "5", "--save"}, 2, "--save needs a value"},
        {{"--port", "5", "--save", "a.txt", "--watch", "2"}, 2, "--save, --load and --watch"},
        {{"--port", "5", "--watch", "soon"}, 2, "--watch needs a number"},
        {{"--port", "COM300", "--save", "a.txt"}, 1, "port COM300: COM numbers go from 1"},
        {{"--port", "9", "--save", "a.txt"}, 1, "COM9: "},
        {{"--port", "5", "--load", "garbage.txt", "--write"}, 3, "garbage.txt: File format error"},
        {{"--port", "5", "--load", "gone.txt", "--write"}, 3, "gone.txt: Parameter file not read"},
        {{"--port", "5", "--save", "no/dir/a.txt"}, 3, "no/dir/a.txt: Parameter file not saved"},
    };
    for (const Row& row : rows) {
        const Outcome failed = Run(row.args);
        EXPECT_EQ(failed.code, row.code) << row.args[0] << " " << failed.err;
        std::istringstream lines(failed.err);
        std::string line, last;
        while (std::getline(lines, line))
            last = line;
        const std::string err = row.code == 3 ? Abs(row.err) : row.err;
        EXPECT_EQ(last.rfind(program + ": " + err, 0), 0u) << failed.err;
    }
    EXPECT_FALSE(fs::exists("a.txt"));

    // Ctrl+C during a watch.
    conf_test::Child watch;
    Spawn(watch, {"--port", "5", "--watch", "30"}, Abs("watch.err"));
    ASSERT_NE(watch.FirstLine(10), "");
    watch.Signal(SIGINT);
    EXPECT_EQ(watch.Wait(3), 1);
    EXPECT_EQ(Slurp("watch.err"),
              std::string(GetParam().name) + ": stopped (Ctrl+C), port closed\n");

    // A save stopped early leaves no file (also when the signal comes before the program has
    // set its handler and ends it at once); one stopped too late is whole.
    conf_test::Child save;
    Spawn(save, {"--port", "5", "--save", "cut.txt"}, Abs("save.err"));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    save.Signal(SIGINT);
    const int code = save.Wait(10);
    const Outcome whole = Run({"--port", "5", "--save", "whole.txt"});
    ASSERT_EQ(whole.code, 0) << whole.err;  // the port was let go
    if (code == 1 || code == 128 + SIGINT)
        EXPECT_FALSE(fs::exists("cut.txt"));
    else
        EXPECT_EQ(Slurp("cut.txt"), Slurp("whole.txt"));

    // A watch with the hourly records kept.
    o = Run({"--port", "5", "--workdir", "../wd", "--watch", "3", "--record"});
    ASSERT_EQ(o.code, 0) << o.err;
    const std::regex live(R"((\d\d:\d\d:\d\d\t-?[0-9.]+\tRead OK\n){2,4})");
    EXPECT_TRUE(std::regex_match(o.out, live)) << o.out;
    // The hourly records beside the working folder, as the window keeps them.
    ASSERT_TRUE(fs::exists("../PV Record"));
    ASSERT_FALSE(fs::is_empty("../PV Record"));

    // Model B's display shows its open-sensor code as a number, in the window too.
    if (&ctx.model != &conf::ModelA()) return;
    child.Signal(SIGUSR1);  // the sensor opens
    o = Run({"--port", "5", "--workdir", "../wd", "--watch", "2"});
    ASSERT_EQ(o.code, 0) << o.err;
    const std::regex open(R"((\d\d:\d\d:\d\d\tOPEN\tRead OK\n){1,3})");
    EXPECT_TRUE(std::regex_match(o.out, open)) << o.out;
}

INSTANTIATE_TEST_SUITE_P(Models, OnAPty, ::testing::ValuesIn(kModelCases),
                         [](const auto& p) { return std::string(p.param.name); });

// --- Behind a serial device server ------------------------------------------------------------

// The simulator's own RFC 2217 and raw TCP servers, pyserial's RFC 2217 server and socat as a
// raw TCP gateway in front of the simulator's pseudo-terminal, with the instrument of the
// configurator `program` behind; model is the simulator's.
using nettest::Server;
struct NetCase {
    Server server;
    const char* program;
    char model;
};

const NetCase kNetCases[] = {
    {Server::kSimRfc2217, "Tarnel", 'A'}, {Server::kSimTcp, "Tarnel", 'A'},
    {Server::kPyserial, "Tarnel", 'A'},   {Server::kSocat, "Tarnel", 'A'},
    {Server::kSimRfc2217, "Ombrel", 'B'}, {Server::kSocat, "Ombrel", 'B'},
};

class ConfiguratorOverTheNetwork : public ptytest::ConfiguratorOnAPty,
                                   public ::testing::WithParamInterface<NetCase> {
  protected:
    ConfiguratorOverTheNetwork() : ConfiguratorOnAPty(*conf::ModelOfProgram(GetParam().program)) {}
};

// Reading, writing and watching over the connection; over raw TCP, a write-all that moves the
// instrument's baud rate away from the gateway's.
TEST_P(ConfiguratorOverTheNetwork, ReadsWritesAndWatchesTheInstrument) {
    // The instrument at 19200 8N2, station 1, behind the case's server as COM5.
    nettest::NetInstrument server;
    std::string skip, error;
    const std::string url = server.Start(
        GetParam().server, {"--model", std::string(1, GetParam().model), "--log", "--no-pacing"},
        root_.string(), 19200, 2, &skip, &error);
    if (!skip.empty()) GTEST_SKIP() << skip;
    ASSERT_FALSE(url.empty()) << error;
    fs::create_directories(comDir);
    fs::create_symlink(url, fs::path(comDir) / "COM5");
    errFile = server.simErr;  // SimLog() reads the simulator of this case
    HandOver(ctx.model);
    Start();
    ASSERT_EQ(Status(), "Read OK") << SimLog();

    ASSERT_EQ(rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), 12), 0);
    Press("WRITE");
    EXPECT_EQ(Status(), "Write OK") << SimLog();
    ASSERT_EQ(rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), 3), 0);
    Press("READ");
    EXPECT_EQ(Status(), "Read OK") << SimLog();
    EXPECT_EQ(Cfg("FILT").number, 12);

    // A monitoring tick polls the process value over the same connection.
    Menu("PV_READ");
    ASSERT_EQ(Main("MSPV_B").state, 1);
    fe.VirtualClock().Advance(1.0);
    rt.TimerTick(ctx.gvMain, Id(ctx.gvMain, "MSPV_T"));
    EXPECT_EQ(Status(), "Read OK") << SimLog();
    EXPECT_NE(Main("MSPV_V").text, "");
    Menu("PV_READ");

    // The instrument heard the new filter value at its station, and nothing went wrong.
    EXPECT_TRUE(SimLogShows("01 05 00 08 00 0C")) << SimLog();
    EXPECT_FALSE(Holds(SimLog(), "-> wrong line settings"));
    const std::string log = Log();
    EXPECT_TRUE(Holds(log, "Open COM ( P222,   COM5, 19200, 0, 8, 2 )"));
    EXPECT_FALSE(Holds(log, "\xA1\xB9"));
    EXPECT_FALSE(Holds(log, "raw TCP gateway"));

    // A transparent gateway keeps 19200 8N2 while a write-all moves the instrument to 9600: the
    // log tells what the gateway must be set to, and the instrument is no longer heard.
    if (GetParam().server != Server::kSimTcp && GetParam().server != Server::kSocat) return;
    ASSERT_EQ(rt.SetCtrlIndex(ctx.gvCFG, Id(ctx.gvCFG, "BR"), 2), 0);
    Press("WRITE");
    EXPECT_EQ(Main("BR_COMM").index, 2);
    EXPECT_TRUE(
        Holds(Log(), "COM5 is the raw TCP gateway " + url +
                         ", which keeps its own line settings: set it to 9600 baud 8N2 before the "
                         "line answers again\n"));
    // The baud rate was taken at the old speed; what follows is not heard.
    EXPECT_TRUE(SimLogShows("01 05 00 0E 00 02")) << SimLog();
    Press("READ");
    EXPECT_EQ(Status(), "Read NG") << SimLog();
    EXPECT_TRUE(Holds(Log(), "COM read Time-out"));
}

INSTANTIATE_TEST_SUITE_P(Servers, ConfiguratorOverTheNetwork, ::testing::ValuesIn(kNetCases),
                         [](const auto& p) {
                             return std::string(p.param.program) + "_" +
                                    nettest::ServerName(p.param.server);
                         });

// --- Scan's sweep ------------------------------------------------------------------------------

class ScanOnAPty : public RunTree {
  protected:
    ScanOnAPty() { scan::RegisterCallbacks(ctx, registry); }
    ~ScanOnAPty() override { com.CloseCom(scan::kPort222); }
    // Scan's start and its sweep: the ports found (COM__Exist.txt), then the ticks' results.
    void Sweep(const std::string& found, const std::vector<int>& ticks, const std::string& err) {
        ASSERT_EQ(scan::G1__init(ctx), 0) << rt.LastError();
        ASSERT_EQ(ReadFile("COM__Exist.txt"), found);
        rt.UserPress(ctx.gvtpScan, rt.FindCtrl(ctx.gvtpScan, "AUTO_SCAN"));
        ASSERT_EQ(ReadFile("COM__Exist.txt"), found);  // the same open test again
        const int timer = rt.FindCtrl(ctx.gvtpScan, "TTARNEL");
        for (int expected : ticks)
            ASSERT_EQ(rt.TimerTick(ctx.gvtpScan, timer), expected) << ReadFile(err);
    }
    // The instrument found on COM<port> at station 1, 19200 8N2, Tarnel started: Scan's log.
    std::string ExpectTarnelStarted(char port) {
        EXPECT_EQ(ReadFile("COM_Dev_use.txt"), std::string(1, port) + "\n3\n0\n8\n2\n6802");
        EXPECT_EQ(launcher.calls, (std::vector<sys::RecordingLauncher::Call>{{"Tarnel.exe", {}}}));
        const std::string log = ReadFile("log.txt");
        EXPECT_TRUE(Holds(log, "Mcode(HW+FW) : 0x6802 \n"));
        return log;
    }
    // The simulator's log: the forcing broadcast taken, the model code answered at station 1.
    static void ExpectForcedAndAnswered(const std::string& simLog) {
        EXPECT_TRUE(Holds(simLog, "00 05 0A 07 6C 2E D3 1E"));
        EXPECT_TRUE(Holds(simLog, "01 03 1F 00 00 01 83 DE -> answered"));
    }

    ui::CallbackRegistry registry;
    ui::HeadlessFrontEnd fe;
    ui::Runtime rt{fe, registry};
    sys::RecordingLauncher launcher;
    serial::SystemBackend backend;
    serial::Rs232 com{backend, serial::ComMapEnv{comDir.string(), serial::EntryExists}};
    conf_test::GivenDevices names;
    scan::ScanContext ctx{rt, launcher, com, names};
    conf_test::Child sim;
};

// Scan's sweep through an RFC 2217 port server, which sets each probe's line: the instrument at
// station 7 and a frame format other than the fixed one is found, forced onto station 1, 19200
// 8N2, and Tarnel is started.
struct NetSweep {
    nettest::Server server;
    const char* format;
    std::vector<int> ticks;  // each probe's result until the instrument answers
};

// Our simulator applies the parity it is told: 8E1 is deaf to 8N1 and 8O1 (and 8N2), found by
// the fourth probe. A pseudo-terminal behind pyserial carries no parity, only baud rate and stop
// bits: the instrument is at 8N1 there, found by the first probe, and heard again at 8N2 only
// because the server set the two stop bits of the fixed settings.
const NetSweep kNetSweeps[] = {
    {nettest::Server::kSimRfc2217, "8E1", {-1, -1, -1, 0}},
    {nettest::Server::kPyserial, "8N1", {0}},
};

class ScanOverTheNetwork : public ScanOnAPty, public ::testing::WithParamInterface<NetSweep> {};

TEST_P(ScanOverTheNetwork, TheInstrumentIsFoundAndTarnelIsStarted) {
    nettest::NetInstrument inst;
    std::string skip, error;
    const std::string url =
        inst.Start(GetParam().server,
                   {"--model", "A", "--station", "7", "--format", GetParam().format, "--log"},
                   root.string(), 19200, 1, &skip, &error);
    if (!skip.empty()) GTEST_SKIP() << skip;
    ASSERT_FALSE(url.empty()) << error;
    fs::create_symlink(url, comDir / "COM5");
    names.names = {url + " (COM5)"};

    Sweep("5\n", GetParam().ticks, inst.simErr);
    ExpectTarnelStarted('5');
    EXPECT_EQ(inst.sim.Stop(), 0);
    ExpectForcedAndAnswered(ReadFile(inst.simErr));
}

INSTANTIATE_TEST_SUITE_P(Servers, ScanOverTheNetwork, ::testing::ValuesIn(kNetSweeps),
                         [](const auto& p) {
                             return std::string(nettest::ServerName(p.param.server));
                         });

// A raw TCP gateway cannot follow the probes: it is listed and said in the log, never swept. The
// next port is an echoing adapter (COM6.conf echo=on): the sweep reads every request back before
// its answer and finds the instrument as on any line, moves it to station 1 and starts Tarnel;
// the one garbled echo is a failed attempt, retried.
TEST_F(ScanOnAPty, ARawTcpGatewayIsNotSweptAndAnEchoingAdapterIsSweptAsAnyLine) {
    nettest::NetInstrument gateway;
    std::string skip, error;
    const std::string url = gateway.Start(nettest::Server::kSimTcp, {"--model", "A", "--log"},
                                          root.string(), 19200, 2, &skip, &error);
    ASSERT_FALSE(url.empty()) << error;
    fs::create_symlink(url, comDir / "COM5");
    const std::string err = (root / "sim6.err").string();
    std::ofstream(comDir / "COM6.conf") << "echo=on\n";
    const std::string pts = RunSim(sim,
                                   {"--model", "A", "--station", "9", "--com", "6", "--echo",
                                    "--fault", "echo-garbled", "--log"},
                                   comDir, err);
    names.names = {url + " (COM5)", pts + " (COM6)"};
    Sweep("5\n6\n", {-1, 0}, err);  // 8N1: one stop bit too few
    const std::string log = ExpectTarnelStarted('6');
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_TRUE(Holds(log, "COM5 " + url +
                               " :: raw TCP gateway at its own line settings, not swept (link it "
                               "as rfc2217:// to sweep it)\n"));
    EXPECT_TRUE(Holds(log,
                      "Set Com Time (s) : 0.500000\nCOM6: echo=on, each request is read back "
                      "before its answer\n"));
    EXPECT_TRUE(Holds(log,
                      "\tP222\tMB.Rx\t41 03 1f 00 00 01 83 de \n\t\xA1\xB9\xA1\xB9\xA1\xB9 Echo "
                      "NG : 8 of 8 bytes sent came back, not as sent\n\n"));
    const std::string simLog = ReadFile(err);
    EXPECT_TRUE(Holds(simLog, "01 03 1F 00 00 01 83 DE -> fault echo-garbled"));
    ExpectForcedAndAnswered(simLog);
    EXPECT_EQ(gateway.sim.Stop(), 0);
    EXPECT_FALSE(Holds(ReadFile(gateway.simErr), "-> "));
}

}  // namespace
