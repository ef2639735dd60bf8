// Scan's sweep on the headless runtime over the programs' serial layer, against instrument-sim
// in another process on a pseudo-terminal or behind a serial device server (COM5 in a COM folder
// of the test's own), in real time. A pseudo-terminal carries baud rate and stop bits, so the
// instrument at 19200 8N2 is deaf to the first probe (8N1) and found by the second, then
// answers at station 1.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/serial/com_map.h"
#include "platform/serial/enumerate.h"
#include "platform/serial/rs232.h"
#include "platform/serial/system_backend.h"
#include "platform/sys/launch.h"
#include "platform/ui/headless.h"
#include "platform/ui/runtime.h"
#include "run_tree.h"
#include "scan/scan_context.h"
#include "scan/scan_dev.h"
#include "scan/shell.h"
#include "tests/support/net_servers.h"

namespace {

using namespace e2etest;

class Names final : public serial::DeviceLister {
  public:
    std::vector<std::string> FriendlyNames() override { return names; }
    std::vector<std::string> PresentDeviceNames() override { return names; }
    std::vector<std::string> names;
};

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
    Names names;
    scan::ScanContext ctx{rt, launcher, com, names};
    conf_test::Child sim;
};

// An echoing adapter (COM5.conf echo=on): the sweep reads every request back before its answer
// and finds the instrument as on any line, moves it to station 1 and starts Tarnel; the one
// garbled echo is a failed attempt, retried.
TEST_F(ScanOnAPty, TheSweepFindsTheInstrumentThroughAnEchoingAdapterAndStartsTarnel) {
    const std::string err = (root / "sim.err").string();
    std::ofstream(comDir / "COM5.conf") << "echo=on\n";
    names.names = {RunSim(sim,
                          {"--model", "A", "--station", "9", "--com", "5", "--echo", "--fault",
                           "echo-garbled", "--log"},
                          comDir, err) +
                   " (COM5)"};
    Sweep("5\n", {-1, 0}, err);  // 8N1: one stop bit too few
    const std::string log = ExpectTarnelStarted('5');
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_TRUE(Holds(log,
                      "Set Com Time (s) : 0.500000\nCOM5: echo=on, each request is read back "
                      "before its answer\n"));
    EXPECT_TRUE(Holds(log,
                      "\tP222\tMB.Rx\t41 03 1f 00 00 01 83 de \n\t\xA1\xB9\xA1\xB9\xA1\xB9 Echo "
                      "NG : 8 of 8 bytes sent came back, not as sent\n\n"));
    const std::string simLog = ReadFile(err);
    EXPECT_TRUE(Holds(simLog, "01 03 1F 00 00 01 83 DE -> fault echo-garbled"));
    ExpectForcedAndAnswered(simLog);
}

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

// A raw TCP gateway cannot follow the probes: it is listed and said in the log, never swept,
// and the next port is swept as usual.
TEST_F(ScanOnAPty, ARawTcpGatewayIsListedButNotSwept) {
    nettest::NetInstrument gateway;
    std::string skip, error;
    const std::string url = gateway.Start(nettest::Server::kSimTcp, {"--model", "A", "--log"},
                                          root.string(), 19200, 2, &skip, &error);
    ASSERT_FALSE(url.empty()) << error;
    fs::create_symlink(url, comDir / "COM5");
    const std::string err = (root / "sim6.err").string();
    const std::string pts =
        RunSim(sim, {"--model", "A", "--station", "7", "--format", "8N1", "--com", "6", "--log"},
               comDir, err);
    names.names = {url + " (COM5)", pts + " (COM6)"};
    Sweep("5\n6\n", {0}, err);
    const std::string log = ExpectTarnelStarted('6');
    EXPECT_TRUE(
        Holds(log, "COM5 " + url +
                       " :: raw TCP gateway at its own line settings, not swept (link it as "
                       "rfc2217:// to sweep it)\n"));
    EXPECT_EQ(gateway.sim.Stop(), 0);
    EXPECT_FALSE(Holds(ReadFile(gateway.simErr), "-> "));
}

}  // namespace
