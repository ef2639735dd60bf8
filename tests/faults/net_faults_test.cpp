// The network's own faults for each stage, Tarnel's code against instrument-sim behind its RFC
// 2217 server as COM5, in real time: no server (the connection lost, reopens refused), a reset
// in the middle of an answer, a server that stops answering, 100 ms of network delay, and a
// 0xFF data byte both ways. The status, the trace, and the recovery once the server is back.

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include "../e2e/net_servers.h"
#include "../e2e/pty_fixture.h"
#include "fault_fixture.h"
#include "models/model_a.h"

namespace faulttest {
namespace {

namespace fs = std::filesystem;

enum class NetFault { kNoServer, kReset, kStall, kDelay, kFfByte };

enum class Stage { kLinkStart, kReadAll, kWriteAll, kMonitorTick };

struct NetCell {
    Stage stage;
    NetFault fault;
};

const char* StageName(Stage s) {
    switch (s) {
        case Stage::kLinkStart:
            return "LinkStart";
        case Stage::kReadAll:
            return "ReadAll";
        case Stage::kWriteAll:
            return "WriteAll";
        default:
            return "MonitorTick";
    }
}

const char* FaultName(NetFault f) {
    switch (f) {
        case NetFault::kNoServer:
            return "NoServer";
        case NetFault::kReset:
            return "Reset";
        case NetFault::kStall:
            return "Stall";
        case NetFault::kDelay:
            return "Delay";
        default:
            return "FfByte";
    }
}

std::vector<NetCell> NetCells() {
    std::vector<NetCell> out;
    for (Stage s : {Stage::kLinkStart, Stage::kReadAll, Stage::kWriteAll, Stage::kMonitorTick})
        for (NetFault f : {NetFault::kNoServer, NetFault::kReset, NetFault::kStall,
                           NetFault::kDelay, NetFault::kFfByte})
            out.push_back({s, f});
    return out;
}

class NetFaults : public ptytest::ConfiguratorOnAPty,
                  public ::testing::WithParamInterface<NetCell> {
  protected:
    NetFaults() : ConfiguratorOnAPty(conf::ModelA()) {}

    Stage TheStage() const { return GetParam().stage; }
    NetFault Fault() const { return GetParam().fault; }

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
    int Menu(const char* item) {
        const int bar = rt.GetPanelMenuBar(ctx.gvMain);
        return rt.UserMenuSelect(bar, rt.FindMenuItem(bar, item));
    }
    std::string Log() {
        ctx.gpLog.Flush();
        return Slurp("log.txt");
    }
    void RunStage() {
        switch (TheStage()) {
            case Stage::kLinkStart:
                Press("UART");
                break;
            case Stage::kReadAll:
                Press("READ");
                break;
            case Stage::kWriteAll:
                Press("WRITE");
                break;
            case Stage::kMonitorTick:
                fe.VirtualClock().Advance(1.0);
                rt.TimerTick(ctx.gvMain, Id(ctx.gvMain, "MSPV_T"));
                break;
        }
    }

    std::unique_ptr<nettest::NetInstrument> inst;
};

TEST_P(NetFaults, TheStageAndItsRecovery) {
    std::vector<std::string> extra;
    if (Fault() == NetFault::kDelay) extra = {"--net-delay", "100"};
    if (Fault() == NetFault::kFfByte) extra = {"--serial", "0xFF000000"};
    Serve(extra);
    std::ofstream("COM_Dev_use.txt") << "5\n3\n0\n8\n2\n6802";
    Start();
    ASSERT_EQ(Status(), "Read OK") << SimLog();
    if (TheStage() == Stage::kMonitorTick) Menu("PV_READ");
    if (Fault() == NetFault::kFfByte)
        ASSERT_EQ(rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "ID"), 255), 0);

    if (Fault() == NetFault::kNoServer) inst->sim.Stop();
    if (Fault() == NetFault::kStall) {
        inst->sim.Signal(SIGUSR2);
        ASSERT_TRUE(SimLogShows("connection stalled")) << SimLog();
    }
    const int answeredBefore = Count(SimLog(), "-> answered");
    const std::size_t mark = Log().size();
    const auto start = std::chrono::steady_clock::now();
    RunStage();
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string trace = Log().substr(mark);
    std::printf("BEFORE %d\n", answeredBefore);
    std::printf("STAGE %s FAULT %s status=\"%s\" colour=%06x took=%.2f\n%s\n---\n%s\n====\n",
                StageName(TheStage()), FaultName(Fault()), Status().c_str(), 0, took, trace.c_str(),
                SimLog().c_str());
}

INSTANTIATE_TEST_SUITE_P(Matrix, NetFaults, ::testing::ValuesIn(NetCells()),
                         [](const ::testing::TestParamInfo<NetCell>& info) {
                             return std::string(StageName(info.param.stage)) + "_" +
                                    FaultName(info.param.fault);
                         });

}  // namespace
}  // namespace faulttest
