// The program's command line and its fault options.

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "sim/options.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string s; in >> s;)
        w.push_back(s);
    return w;
}

// Parses `line` into *o, which must succeed.
void Parse(const std::string& line, sim::ProgramOptions* o) {
    std::string error;
    ASSERT_EQ(sim::ParseOptions(Words(line), o, &error), 0) << line << ": " << error;
}

TEST(Options, EverySettingIsTaken) {
    sim::ProgramOptions o;
    Parse(
        "--code 0x6B --fw=8 --model B --station 7 --baud 9600 --format 8e1 --serial 42 --com 5 "
        "--force --no-pacing --turnaround 10 --log --device /dev/ttyUSB0 "
        "--fault cut=2,after=1 --fault vanish,count=0",
        &o);
    const sim::InstrumentConfig& c = o.instrument;
    EXPECT_EQ(c.model, sim::Model::kB);
    // Code, firmware, station, baud and format index, COM number.
    EXPECT_EQ(std::tie(c.code, c.firmware, c.station, c.baudIndex, c.formatIndex, o.com),
              std::make_tuple(0x6B, 8, 7, 2, 3, 5));
    EXPECT_EQ(c.serialNumber, 42u);
    EXPECT_DOUBLE_EQ(c.turnaround, 0.010);
    EXPECT_TRUE(!c.paced && !c.openSensor && o.log && o.force);
    EXPECT_EQ(o.device, "/dev/ttyUSB0");
    ASSERT_EQ(o.faults.size(), 2u);
    const sim::Fault &cut = o.faults[0], &vanish = o.faults[1];
    EXPECT_EQ(std::tie(cut.kind, cut.bytes, cut.after),
              std::make_tuple(sim::FaultKind::kCut, 2, 1));
    EXPECT_EQ(std::tie(vanish.kind, vanish.count), std::make_tuple(sim::FaultKind::kVanish, 0));
    // Model B's own code where none is given; a baud index as well as a rate.
    Parse("--model B --baud 1", &o);
    EXPECT_EQ(std::tie(c.code, c.baudIndex), std::make_tuple(105, 1));
    Parse("--open-sensor", &o);
    EXPECT_TRUE(c.openSensor);
    EXPECT_EQ(o.listen, sim::NetProtocol::kNone);
    EXPECT_FALSE(c.echo);
    Parse("--echo --fault echo-garbled,count=2 --fault echo-lost", &o);
    EXPECT_TRUE(c.echo);
    ASSERT_EQ(o.faults.size(), 2u);
    EXPECT_EQ(std::tie(o.faults[0].kind, o.faults[0].count),
              std::make_tuple(sim::FaultKind::kEchoGarbled, 2));
    EXPECT_EQ(o.faults[1].kind, sim::FaultKind::kEchoLost);
}

TEST(Options, TheNetworkSettingsAreTaken) {
    sim::ProgramOptions o;
    Parse(
        "--listen rfc2217:4000 --gateway 9600,7e1 --net-delay 250 --fault reset "
        "--fault stall,after=2",
        &o);
    EXPECT_EQ(std::tie(o.listen, o.listenPort), std::make_tuple(sim::NetProtocol::kRfc2217, 4000));
    EXPECT_EQ(o.gateway, (serial::LineSettings{9600, serial::kParityEven, 7, 1}));
    EXPECT_DOUBLE_EQ(o.netDelay, 0.25);
    ASSERT_EQ(o.faults.size(), 2u);
    EXPECT_EQ(o.faults[1].kind, sim::FaultKind::kStall);
    // Without --gateway the device server is at the instrument's own settings.
    Parse("--listen=tcp:0 --baud 4800 --format 8O1", &o);
    EXPECT_EQ(std::tie(o.listen, o.listenPort), std::make_tuple(sim::NetProtocol::kRawTcp, 0));
    EXPECT_EQ(o.gateway, (serial::LineSettings{4800, serial::kParityOdd, 8, 1}));
}

TEST(Options, MistakesAreNamed) {
    const std::pair<const char*, const char*> bad[] = {
        {"--model C", "--model takes A or B"},
        {"--open-sensor --model B", "--open-sensor plays model A's open sensor"},
        {"--fw 10", "--fw"},
        {"--fw 0", "--fw"},
        {"--station 0", "--station"},
        {"--baud 1200", "--baud"},
        {"--format 8N3", "--format"},
        {"--com 257", "--com"},
        {"--code 256", "--code"},
        {"--station", "needs a value"},
        {"--log=1", "takes no value"},
        {"--force", "--force goes with --com"},
        {"--speed 5", "unknown option --speed"},
        {"COM5", "unexpected argument"},
        {"--fault smoke", "unknown kind"},
        {"--fault late=-1", "late takes"},
        {"--fault silence=2", "takes no value"},
        {"--fault cut=2,every=3", "unknown part"},
        {"--listen udp:5", "--listen"},
        {"--listen tcp:65536", "--listen"},
        {"--listen tcp", "--listen"},
        {"--listen tcp:0 --com 5", "--listen does not go with --com or --device"},
        {"--listen rfc2217:0 --device /dev/ttyUSB0", "does not go with"},
        {"--gateway 9600,8N1", "--gateway goes with --listen"},
        {"--net-delay 5", "--net-delay goes with --listen"},
        {"--fault reset", "fault reset goes with --listen"},
        {"--fault stall,count=0", "fault stall goes with --listen"},
        {"--listen tcp:0 --gateway 9600,8N3", "--gateway"},
        {"--listen tcp:0 --gateway 1200,8N1", "--gateway"},
        {"--listen tcp:0 --gateway 9600,8X1", "--gateway"},
        {"--listen tcp:0 --gateway 9600", "--gateway"},
        {"--listen tcp:0 --net-delay 60001", "--net-delay"},
        {"--echo=on", "takes no value"},
        {"--fault echo-garbled", "fault echo-garbled goes with --echo"},
        {"--fault echo-lost=3 --echo", "takes no value"},
    };
    for (const auto& [line, why] : bad) {
        sim::ProgramOptions o;
        std::string error;
        EXPECT_EQ(sim::ParseOptions(Words(line), &o, &error), -1) << line;
        EXPECT_NE(error.find(why), std::string::npos) << line << ": " << error;
    }
}

}  // namespace
