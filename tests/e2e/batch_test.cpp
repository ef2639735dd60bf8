// The configurators without a window, as a script runs them: child processes with no display
// against instrument-sim on pseudo-terminals, compared with what the window's own procedures
// write on the same instrument.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "model_cases.h"
#include "platform/ui/constants.h"
#include "run_tree.h"
#include "tests/support/fixtures.h"
#include "transfer/param_file.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

class BatchOnAPty : public ptytest::ConfiguratorOnAPty,
                    public ::testing::WithParamInterface<e2etest::ModelCase> {
  protected:
    BatchOnAPty() : ConfiguratorOnAPty(*GetParam().model) {}
    // Runs the program with `args` from the test's folder, in the background, with no display:
    // a window would abort.
    void Spawn(conf_test::Child& run, const std::vector<std::string>& args,
               const std::string& errPath) {
        std::vector<std::string> argv{"/usr/bin/env", "-u", "DISPLAY", "QT_QPA_PLATFORM=xcb",
                                      (fs::path(SUITE_BIN_DIR) / GetParam().name).string()};
        argv.insert(argv.end(), args.begin(), args.end());
        ASSERT_TRUE(run.Spawn(argv, comDir, errPath));
    }
    Outcome Run(const std::vector<std::string>& args, double seconds = 40.0) {
        conf_test::Child run;
        const std::string err = (fs::current_path() / "batch.err").string();
        Outcome o;
        Spawn(run, args, err);
        o.out = run.Rest(seconds);
        o.code = run.Wait(seconds);
        o.err = Slurp(err);
        return o;
    }
    // The window's save of its page to `name`.
    void SaveInTheWindow(const std::string& name) {
        fe.AnswerFile(ui::VAL_NEW_FILE_SELECTED, Abs(name));
        ASSERT_EQ(conf::evParaToFile(ctx, 0, 0, nullptr, ctx.gvMain), 0);
    }
    std::string Abs(const std::string& name) { return (fs::current_path() / name).string(); }
};

// The program saves what the window saves, and loads and writes what the window saved.
TEST_P(BatchOnAPty, SaveLoadAndWriteMatchTheWindow) {
    RunSimulator(GetParam().simModel);
    std::ofstream("COM_Dev_use.txt") << GetParam().settings;
    Start();
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
    EXPECT_NE(Slurp("../work/log.txt").find("COM5"), std::string::npos);
    EXPECT_EQ(Slurp("../work/COM_Dev_use.txt").rfind("5\n3\n0\n8\n2\n", 0), 0u);

    o = Run({"--port", "5", "--load", "oor.txt", "--write"});
    EXPECT_EQ(o.code, 3) << o.err;
    EXPECT_NE(o.err.find("oor.txt: Out of Range: 1 value(s) outside their range (FILT), nothing "
                         "written\n"),
              std::string::npos)
        << o.err;

    o = Run({"--port", "5", "--load", "changed.txt", "--write"});
    ASSERT_EQ(o.code, 0) << o.err << SimLog();
    o = Run({"--port", "5", "--save", "after.txt"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(Slurp("after.txt"), Slurp("changed.txt"));
}

TEST_P(BatchOnAPty, EachFailureHasItsStatusAndOneLine) {
    RunSimulator(GetParam().simModel);
    std::ofstream("garbage.txt") << "not a parameter file\n";
    const std::string program = GetParam().name;
    struct Row {
        std::vector<std::string> args;
        int code;
        std::string err;  // the start of the last stderr line after "<program>: "
    };
    const std::vector<Row> rows = {
        {{"--bogus"}, 2, "unknown option \"--bogus\""},
        {{"--port", "5", "--load", "garbage.txt"}, 2, "--load needs --write"},
        {{"--port", "5", "--save"}, 2, "--save needs a value"},
        {{"--port", "5", "--save", "a.txt", "--watch", "2"}, 2, "--save, --load and --watch"},
        {{"--port", "5", "--watch", "soon"}, 2, "--watch needs a number"},
        {{"--port", "COM300", "--save", "a.txt"}, 1, "port COM300: COM numbers go from 1"},
        {{"--port", "9", "--save", "a.txt"}, 1, "COM9: "},
        {{"--port", "5", "--load", "garbage.txt", "--write"},
         3,
         Abs("garbage.txt") + ": File format error"},
        {{"--port", "5", "--load", "missing.txt", "--write"},
         3,
         Abs("missing.txt") + ": Parameter file not read"},
        {{"--port", "5", "--save", "no/such/folder/a.txt"},
         3,
         Abs("no/such/folder/a.txt") + ": Parameter file not saved"},
    };
    for (const Row& row : rows) {
        const Outcome o = Run(row.args);
        EXPECT_EQ(o.code, row.code) << row.args[0] << " " << o.err;
        std::istringstream lines(o.err);
        std::string line, last;
        while (std::getline(lines, line))
            last = line;
        EXPECT_EQ(last.rfind(program + ": " + row.err, 0), 0u) << o.err;
    }
    EXPECT_FALSE(fs::exists("a.txt"));
}

TEST_P(BatchOnAPty, TwoPortsInParallelEachInItsOwnFolder) {
    RunSimulator(GetParam().simModel);
    conf_test::Child second;
    e2etest::RunSim(second, {"--model", GetParam().simModel, "--com", "6"}, comDir, errFile + "6");
    conf_test::Child a, b;
    Spawn(a, {"--port", "COM5", "--workdir", "../w5", "--save", "s5.txt"}, Abs("a.err"));
    Spawn(b, {"--port", "COM6", "--workdir", "../w6", "--save", "s6.txt"}, Abs("b.err"));
    ASSERT_EQ(a.Wait(40), 0) << Slurp("a.err");
    ASSERT_EQ(b.Wait(40), 0) << Slurp("b.err");
    EXPECT_EQ(Slurp("s5.txt"), Slurp("s6.txt"));
    EXPECT_NE(Slurp("s5.txt"), "");
    EXPECT_EQ(Slurp("../w5/COM_Dev_use.txt").rfind("5\n", 0), 0u);
    EXPECT_EQ(Slurp("../w6/COM_Dev_use.txt").rfind("6\n", 0), 0u);
}

TEST_P(BatchOnAPty, WatchPrintsALineAPollForALiveAndAnOpenSensor) {
    RunSimulator(GetParam().simModel);
    Outcome o = Run({"--port", "5", "--workdir", "../wd", "--watch", "3", "--record"});
    ASSERT_EQ(o.code, 0) << o.err;
    const std::regex live(R"((\d\d:\d\d:\d\d\t-?[0-9.]+\tRead OK\n){2,4})");
    EXPECT_TRUE(std::regex_match(o.out, live)) << o.out;
    // The hourly records beside the working folder, as the window keeps them.
    ASSERT_TRUE(fs::exists("../PV Record"));
    ASSERT_FALSE(fs::is_empty("../PV Record"));

    // Model B's display shows its open-sensor code as a number, in the window too.
    if (conf::ModelOfProgram(GetParam().name) != &conf::ModelA()) return;
    child.Signal(SIGUSR1);  // the sensor opens
    o = Run({"--port", "5", "--workdir", "../wd", "--watch", "2"});
    ASSERT_EQ(o.code, 0) << o.err;
    const std::regex open(R"((\d\d:\d\d:\d\d\tOPEN\tRead OK\n){1,3})");
    EXPECT_TRUE(std::regex_match(o.out, open)) << o.out;
}

TEST_P(BatchOnAPty, CtrlCEndsBetweenTransactionsWithThePortClosedAndNoHalfFile) {
    RunSimulator(GetParam().simModel);
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
}

INSTANTIATE_TEST_SUITE_P(Models, BatchOnAPty, ::testing::ValuesIn(e2etest::kModelCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace

namespace {

// Scan --find against an instrument at settings nobody told it: found, forced, both files
// written, one line, and no configurator started.
class ScanFindOnAPty : public e2etest::RunTree {
  protected:
    ScanFindOnAPty() : RunTree("batch_find") {}
    // Scan --find with `args` in bin/, with no display.
    Outcome Find(const std::vector<std::string>& args) {
        const std::string bin = (root / "bin").string(), scan = SUITE_BIN_DIR "/Scan";
        std::vector<std::string> argv{"/usr/bin/env",        "-C", bin,     "-u", "DISPLAY",
                                      "QT_QPA_PLATFORM=xcb", scan, "--find"};
        argv.insert(argv.end(), args.begin(), args.end());
        conf_test::Child run;
        Outcome o;
        if (run.Spawn(argv, comDir.string(), (root / "scan.err").string())) {
            o.out = run.Rest(40);
            o.code = run.Wait(40);
        }
        o.err = e2etest::Slurp(root / "scan.err");
        return o;
    }
};

TEST_F(ScanFindOnAPty, FindsForcesWritesBothFilesAndStartsNothing) {
    conf_test::Child sim;
    e2etest::RunSim(
        sim, {"--model", "B", "--station", "9", "--baud", "19200", "--format", "8N1", "--com", "5"},
        comDir, root / "sim.err");
    const Outcome o = Find({"--port", "COM5", "--workdir", "../found"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_TRUE(std::regex_match(o.out, std::regex("COM5 19200 8N1 station 1 model 0x69[0-9a-f]{2} "
                                                   "Ombrel\n")))
        << o.out;
    EXPECT_EQ(e2etest::Slurp(root / "found/COM_Dev_use.txt").rfind("5\n3\n0\n8\n2\n69", 0), 0u);
    EXPECT_TRUE(fs::exists(root / "found/COM_Dev_use_COMMENT.txt"));
    // Scan's own log, and nothing of a configurator's start after it.
    const std::string log = e2etest::Slurp(root / "found/log.txt");
    EXPECT_NE(log.find("Mcode(HW+FW)"), std::string::npos) << log;
    EXPECT_FALSE(fs::exists(root / "found/W_para_buff_16.txt"));
}

TEST_F(ScanFindOnAPty, NothingToFindIsStatusOneAndUsageIsTwo) {
    // A COM number whose device is gone: the sweep stops at once, nothing is written.
    fs::create_symlink("/dev/nonexistent-adapter", comDir / "COM7");
    Outcome o = Find({"--port", "COM7", "--workdir", "../empty"});
    EXPECT_EQ(o.code, 1) << o.err;
    EXPECT_EQ(o.out, "");
    EXPECT_NE(o.err.find("Scan: nothing found on COM7"), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(root / "empty/COM_Dev_use.txt"));
    o = Find({"--bogus"});
    EXPECT_EQ(o.code, 2);
    EXPECT_EQ(o.err, "Scan: unknown option \"--bogus\" (see Scan --help)\n");
}

}  // namespace
