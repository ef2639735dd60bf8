// The network's own faults for each stage, Tarnel's code against instrument-sim behind its RFC
// 2217 server as COM5, in real time: no server (the connection lost, reopens refused), a reset
// in the middle of an answer, a server that stops answering, 100 ms of network delay, and a
// 0xFF data byte both ways. The status, the trace, and the recovery once the server is back.

#include <csignal>
#include <tuple>

#include "fault_fixture.h"
#include "tests/support/net_servers.h"

namespace faulttest {
namespace {

namespace fs = std::filesystem;

enum class NetFault { kNoServer, kReset, kStall, kDelay, kFfByte };

enum class Stage { kLinkStart, kReadAll, kWriteAll, kMonitorTick, kCalibrationStep };

// Indexed by the enums above.
const char* const kStageNames[] = {"LinkStart", "ReadAll", "WriteAll", "MonitorTick",
                                   "CalibrationStep"};
const char* const kFaultNames[] = {"NoServer", "Reset", "Stall", "Delay", "FfByte"};

// Every stage with every fault.
class NetFaults : public ptytest::ConfiguratorOnAPty,
                  public ::testing::WithParamInterface<std::tuple<int, int>> {
  protected:
    NetFaults() : ConfiguratorOnAPty(conf::ModelA()) {}

    Stage TheStage() const { return static_cast<Stage>(std::get<0>(GetParam())); }
    NetFault Fault() const { return static_cast<NetFault>(std::get<1>(GetParam())); }
    // The simulator behind its RFC 2217 server, COM5 linked to it (again).
    void Serve(const std::vector<std::string>& extra) {
        std::vector<std::string> args{"--model", "A", "--log", "--no-pacing"};
        args.insert(args.end(), extra.begin(), extra.end());
        inst = std::make_unique<nettest::NetInstrument>();
        std::string skip, error;
        const std::string url = inst->Start(nettest::Server::kSimRfc2217, args, root_.string(),
                                            19200, 2, &skip, &error);
        ASSERT_FALSE(url.empty()) << error;
        errFile = inst->simErr;
        const fs::path link = fs::path(comDir) / "COM5";
        fs::create_directories(comDir);
        fs::remove(link);
        fs::create_symlink(url, link);
    }
    void RunStage() {
        if (TheStage() == Stage::kMonitorTick) {
            fe.VirtualClock().Advance(1.0);
            rt.TimerTick(ctx.gvMain, Id(ctx.gvMain, "MSPV_T"));
        } else if (TheStage() == Stage::kCalibrationStep) {
            // The first input-calibration step begins: the device check, then its preset.
            rt.UserToggle(ctx.gvCAL, Id(ctx.gvCAL, "IC_B_0"));
        } else {
            Press(TheStage() == Stage::kLinkStart ? "UART"
                  : TheStage() == Stage::kReadAll ? "READ"
                                                  : "WRITE");
        }
    }

    std::unique_ptr<nettest::NetInstrument> inst;
};

TEST_P(NetFaults, TheStageAndItsRecovery) {
    std::vector<std::string> extra;
    if (Fault() == NetFault::kDelay) extra = {"--net-delay", "100"};
    if (Fault() == NetFault::kFfByte) extra = {"--serial", "0xFF000000"};
    // The start-up answers 9 requests, switching monitoring on 2 more: the stage's first is hit.
    if (Fault() == NetFault::kReset)
        extra = {"--fault",
                 "reset,after=" + std::to_string(TheStage() == Stage::kMonitorTick ? 11 : 9)};
    Serve(extra);
    std::ofstream("COM_Dev_use.txt") << "5\n3\n0\n8\n2\n6802";
    Start();
    ASSERT_EQ(Status(), "Read OK") << SimLog();
    if (TheStage() == Stage::kMonitorTick) Menu("PV_READ");
    if (TheStage() == Stage::kCalibrationStep)
        rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1);
    if (Fault() == NetFault::kFfByte) {
        ASSERT_EQ(rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "ID"), 255), 0);
    }

    if (Fault() == NetFault::kNoServer) inst->sim.Stop();
    if (Fault() == NetFault::kStall) {
        inst->sim.Signal(SIGUSR2);
        ASSERT_TRUE(SimLogShows("connection stalled")) << SimLog();
    }
    const std::size_t mark = Log().size();
    RunStage();
    const std::string trace = Log().substr(mark);
    const std::string stageStatus = Status();  // for the table, before any recovery

    const bool fails = Fault() == NetFault::kNoServer || Fault() == NetFault::kReset ||
                       Fault() == NetFault::kStall;
    const bool opens = TheStage() == Stage::kLinkStart;
    std::string label;
    if (!fails) {
        // The 0.5 s answer time-out holds the network's delay too: everything is answered,
        // 0xFF bytes escaped both ways.
        const bool writes = TheStage() == Stage::kWriteAll || TheStage() == Stage::kCalibrationStep;
        EXPECT_EQ(Status(), writes ? "Write OK" : "Read OK") << trace;
        EXPECT_EQ(Count(trace, kStars), 0) << trace;
        EXPECT_EQ(Count(trace, "\tMB.Tx\t"), Count(trace, "\tMB.Rx\t#")) << trace;
        if (Fault() == NetFault::kFfByte && TheStage() == Stage::kReadAll) {
            EXPECT_NE(trace.find("[ff00][0000]"), std::string::npos) << trace;
        }
        if (Fault() == NetFault::kFfByte && TheStage() == Stage::kWriteAll) {
            EXPECT_TRUE(SimLogShows("01 05 00 0D 00 FF")) << SimLog();
        }
        label = "every request answered";
    } else if (opens && Fault() != NetFault::kReset) {
        // The reopen is refused (no server) or finds the server still taken (stalled).
        EXPECT_EQ(Status(), "Open COM NG") << trace;
        EXPECT_NE(trace.find(" Open COM NG :: err code : "), std::string::npos) << trace;
        EXPECT_EQ(Count(trace, "\tMB.Tx\t"), 0) << trace;
        label = "`Open COM NG :: err code`";
    } else {
        EXPECT_EQ(Status(), "Read NG") << trace;
        // The monitoring poll leaves no trace of its requests: only its status tells.
        if (TheStage() == Stage::kMonitorTick) {
            label = "no trace (monitoring poll)";
        } else if (Fault() == NetFault::kStall) {
            EXPECT_EQ(Count(trace, kTimeoutLines), kAttempts) << trace;
            label = "`COM read Time-out` after each of 3 requests";
        } else if (Fault() == NetFault::kReset) {
            // Half an answer, then the connection is gone: the later attempts stop at the flush.
            EXPECT_EQ(Count(trace, "Exception 0930 occured after COM read"), 1) << trace;
            label = "half the answer, `Exception 0930`, then 2 requests with nothing after them";
        } else {
            // The closed connection is seen at the first attempt's queue flush, before any read:
            // three request lines with nothing after them.
            EXPECT_EQ(Count(trace, kStars), 0) << trace;
            label = "3 requests with nothing after them (lost at the queue flush)";
        }
        if (TheStage() != Stage::kMonitorTick) {
            EXPECT_EQ(Count(trace, "\tMB.Tx\t"), kAttempts) << trace;
        }
    }

    std::string recovery = "-";
    if (fails) {
        // The server back (a new one for COM5, or the connection passing again), then the link
        // started anew from the settings file: the instrument answers.
        if (Fault() == NetFault::kStall) {
            inst->sim.Signal(SIGUSR2);
            ASSERT_TRUE(SimLogShows("connection passing")) << SimLog();
        } else {
            Serve({});
        }
        Press("UART");
        Press("READ");
        EXPECT_EQ(Status(), "Read OK") << Log();
        recovery = "link start, then \"Read OK\"";
    }
    Record({kStageNames[std::get<0>(GetParam())], "A",
            std::string("net:") + kFaultNames[std::get<1>(GetParam())], "\"" + stageStatus + "\"",
            label, "none written", recovery});
}

INSTANTIATE_TEST_SUITE_P(Matrix, NetFaults,
                         ::testing::Combine(::testing::Range(0, 5), ::testing::Range(0, 5)),
                         [](const auto& cell) {
                             return std::string(kStageNames[std::get<0>(cell.param)]) + "_" +
                                    kFaultNames[std::get<1>(cell.param)];
                         });

}  // namespace
}  // namespace faulttest
