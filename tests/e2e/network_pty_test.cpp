// Tarnel's and Ombrel's code on the headless runtime with COM5 a network port, against
// instrument-sim behind a serial device server in real time: the simulator's own RFC 2217 and
// raw TCP servers, pyserial's RFC 2217 server and socat as a raw TCP gateway in front of the
// simulator's pseudo-terminal. Reading, writing and watching; over raw TCP, a write-all that
// moves the instrument's baud rate away from the gateway's.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "models/registry.h"
#include "tests/support/fixtures.h"
#include "tests/support/net_servers.h"

namespace {

namespace fs = std::filesystem;
using nettest::Server;

// The instrument of the configurator `program` behind a server; model is the simulator's.
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

std::string CaseName(const ::testing::TestParamInfo<NetCase>& info) {
    return std::string(info.param.program) + "_" + nettest::ServerName(info.param.server);
}

class ConfiguratorOverTheNetwork : public ptytest::ConfiguratorOnAPty,
                                   public ::testing::WithParamInterface<NetCase> {
  protected:
    ConfiguratorOverTheNetwork() : ConfiguratorOnAPty(*conf::ModelOfProgram(GetParam().program)) {}

    // The instrument at 19200 8N2, station 1, behind the case's server as COM5, and the
    // scanner's hand-over for it; false, with *skip saying why, when the server is missing.
    bool StartInstrument(std::string* skip) {
        std::string error;
        const std::string url =
            inst.Start(GetParam().server,
                       {"--model", std::string(1, GetParam().model), "--log", "--no-pacing"},
                       root_.string(), 19200, 2, skip, &error);
        if (!skip->empty()) return false;
        EXPECT_FALSE(url.empty()) << error;
        if (url.empty()) return false;
        fs::create_directories(comDir);
        fs::create_symlink(url, fs::path(comDir) / "COM5");
        gatewayUrl = url;
        errFile = inst.simErr;  // SimLog() reads the simulator of this case
        std::ofstream("COM_Dev_use.txt")
            << "5\n3\n0\n8\n2\n"
            << std::hex << (conf::ModelOfProgram(GetParam().program)->id.codes[0].code << 8 | 2);
        return true;
    }

    nettest::NetInstrument inst;
    std::string gatewayUrl;
};

TEST_P(ConfiguratorOverTheNetwork, ReadsWritesAndWatchesTheInstrument) {
    std::string skip;
    if (!StartInstrument(&skip)) GTEST_SKIP() << skip;
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
    EXPECT_EQ(SimLog().find("-> wrong line settings"), std::string::npos) << SimLog();
    const std::string log = Log();
    EXPECT_NE(log.find("Open COM ( P222,   COM5, 19200, 0, 8, 2 )"), std::string::npos) << log;
    EXPECT_EQ(log.find("\xA1\xB9"), std::string::npos) << log;
    EXPECT_EQ(log.find("raw TCP gateway"), std::string::npos) << log;
}

// A transparent gateway keeps 19200 8N2 while the write-all moves the instrument to 9600: the
// log tells what the gateway must be set to, and the instrument is no longer heard.
class RawGateway : public ConfiguratorOverTheNetwork {};

TEST_P(RawGateway, AWriteAllThatMovesTheBaudRateSilencesIt) {
    std::string skip;
    if (!StartInstrument(&skip)) GTEST_SKIP() << skip;
    Start();
    ASSERT_EQ(Status(), "Read OK") << SimLog();

    ASSERT_EQ(rt.SetCtrlIndex(ctx.gvCFG, Id(ctx.gvCFG, "BR"), 2), 0);
    Press("WRITE");
    EXPECT_EQ(Main("BR_COMM").index, 2);
    const std::string log = Log();
    EXPECT_NE(log.find("COM5 is the raw TCP gateway " + gatewayUrl +
                       ", which keeps its own line settings: set it to 9600 baud 8N2 before the "
                       "line answers again\n"),
              std::string::npos)
        << log;
    // The baud rate was taken at the old speed; what follows is not heard.
    EXPECT_TRUE(SimLogShows("01 05 00 0E 00 02")) << SimLog();
    Press("READ");
    EXPECT_EQ(Status(), "Read NG") << SimLog();
    EXPECT_NE(Log().find("COM read Time-out"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Servers, ConfiguratorOverTheNetwork, ::testing::ValuesIn(kNetCases),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(Servers, RawGateway,
                         ::testing::Values(NetCase{Server::kSimTcp, "Tarnel", 'A'},
                                           NetCase{Server::kSocat, "Tarnel", 'A'}),
                         CaseName);

}  // namespace
